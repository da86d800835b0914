// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Answers every message box from a timer of its own and keeps what each
// showed, so that no test blocks on one, also when the box opens inside
// another timer's slot.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QTest>
#include <QTimer>
#include <functional>

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    Qt::TextFormat format = Qt::AutoText;
    Qt::WindowModality modality = Qt::NonModal;
    QStringList buttons;
    QString defaultButton;
};

class BoxAnswerer : public QObject {
public:
    BoxAnswerer() {
        connect(&timer_, &QTimer::timeout, this, [this] { answer(); });
        timer_.start(5);
    }

    QList<SeenBox> seen;
    /// Runs while each box is open, before it is answered.
    std::function<void()> whileOpen;
    /// The buttons to press, one box after the other ("Escape": the key
    /// instead of a button); a box beyond them gets "OK", or where it has
    /// none, is cancelled.
    QStringList answers;

private:
    void answer() {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box == nullptr || !box->isVisible()) return;
        SeenBox s{box->windowTitle(),    box->text(), box->icon(), box->textFormat(),
                  box->windowModality(), {},          {}};
        for (QAbstractButton* b : box->buttons()) s.buttons << b->text().remove(QLatin1Char('&'));
        if (box->defaultButton() != nullptr)
            s.defaultButton = box->defaultButton()->text().remove(QLatin1Char('&'));
        seen << s;
        if (whileOpen) whileOpen();
        if (!answers.isEmpty()) {
            const QString answer = answers.takeFirst();
            if (answer == QLatin1String("Escape")) {
                QTest::keyClick(box, Qt::Key_Escape);
                return;
            }
            for (QAbstractButton* b : box->buttons()) {
                if (b->text().remove(QLatin1Char('&')) == answer) {
                    b->click();
                    return;
                }
            }
            box->done(QMessageBox::Cancel);  // no such button: the test then fails on what it sees
        } else if (QAbstractButton* ok = box->button(QMessageBox::Ok))
            ok->click();
        else
            box->done(QMessageBox::Cancel);
    }

    QTimer timer_;
};
