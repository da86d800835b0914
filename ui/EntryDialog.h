// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The small dialog that changes one entry of a list in place: "Link ändern"
// (text and target), "Textzeile ändern" (the line) and "Bild ändern" (file and
// caption, the file with the picture chooser of the other picture fields). Its
// fields hold the entry; "OK", or Return, takes their texts, "Abbrechen", or
// Escape, changes nothing.
#pragma once

#include <QDialog>
#include <QList>
#include <QString>
#include <QStringList>
#include <functional>

#include "wizard/History.h"

class QLineEdit;

namespace velmora::ui {

struct ListWindow;

class EntryDialog : public QDialog {
    Q_OBJECT
public:
    struct Field {
        const char* name;  // the field's object name
        QString label;
        QString text;
        bool picture = false;  // names a picture, chosen with the file dialog
    };

    EntryDialog(QWidget* parent, const QString& title, const QList<Field>& fields,
                const std::function<QString()>& folder);

    /// The dialog for `entry` of `list`: "Link ändern", "Textzeile ändern" or
    /// "Bild ändern". A picture is chosen from the page's folder that
    /// `folder` gives.
    [[nodiscard]] static EntryDialog* forEntry(QWidget* parent, const ListWindow& list,
                                               const Entry& entry,
                                               const std::function<QString()>& folder);

    /// The entry as its fields hold it.
    [[nodiscard]] Entry entry() const;

private:
    QList<QLineEdit*> edits_;
};

}  // namespace velmora::ui
