// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/EntryDialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include "ui/Bindings.h"
#include "ui/Controls.h"
#include "ui/PictureChoice.h"
#include "ui/Utf8.h"
#include "ui/WizardStyle.h"

namespace velmora::ui {

EntryDialog::EntryDialog(QWidget* parent, const QString& title, const QList<Field>& fields,
                         const std::function<QString()>& folder)
    : QDialog(parent) {
    setWindowTitle(title);
    setPalette(windowPalette());
    setFont(wizardFont());
    auto* form = new QFormLayout(this);
    for (const Field& field : fields) {
        auto* edit = named(new QLineEdit(field.text, this), field.name);
        edit->setMinimumWidth(233);
        edit->setAccessibleName(nameFromLabel(field.label));
        if (field.picture) offerPictureChoice(edit, folder, pictures::Place::PictureRow);
        form->addRow(field.label, edit);
        edits_ << edit;
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("OK"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("Abbrechen"));
    form->addRow(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // typing replaces the entry; the arrow keys keep it
    if (!edits_.isEmpty()) {
        edits_.front()->setFocus();
        edits_.front()->selectAll();
    }
}

EntryDialog* EntryDialog::forEntry(QWidget* parent, const ListWindow& list, const Entry& entry,
                                   const std::function<QString()>& folder) {
    QList<Field> fields{
        {"shown", QString::fromUtf8(list.shownLabel), qs(entry.shown), list.picture}};
    if (list.pairedLabel != nullptr)
        fields.append({"paired", QString::fromUtf8(list.pairedLabel), qs(entry.paired)});
    return new EntryDialog(parent, QString::fromUtf8(list.title), fields, folder);
}

Entry EntryDialog::entry() const {
    Entry result;
    result.shown = edits_.value(0)->text().toStdString();
    if (edits_.size() > 1) result.paired = edits_.value(1)->text().toStdString();
    return result;
}

}  // namespace velmora::ui
