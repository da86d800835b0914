// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QFileDialog>
#include <QLabel>
#include <QSessionManager>
#include <QShortcut>
#include <QToolButton>

#include "ui/Controls.h"
#include "ui/ErrorHandler.h"
#include "ui/PageDrop.h"
#include "ui/Publishing.h"
#include "ui/TForm3.h"
#include "ui/WizardStyle.h"

namespace velmora::ui {

namespace {

// No background of its own, so the window's colour shows behind the letters
// and the labels may overlap.
void addGreenLabel(QWidget* window, const char* name, const QString& text, const QFont& font,
                   QPoint at) {
    QLabel* label = named(addLabel(window, text, at.x(), at.y()), name);
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kGreen);
    label->setPalette(palette);
    label->adjustSize();
}

QToolButton* addSpeedButton(QWidget* window, const char* name, const QString& text, QRect at) {
    QToolButton* button = addFlatButton(window, name, text, at);
    button->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 24, true, true));
    return button;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setUpFixedWindow(this, QStringLiteral("HTML Velmora 1.3 Ultrapex"), {377, 171}, {266, 186});
    QPalette palette = windowPalette();
    // A hovered speed button rises in the window's colour, not in grey.
    palette.setColor(QPalette::Button, kWindowColour);
    setPalette(palette);
    setAutoFillBackground(true);
    createLabels();
    createButtons();
    auto* open = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_O), this);
    connect(open, &QShortcut::activated, this, &TForm1::openPageDialog);
    acceptPageDrops(this, [this](const QString& file) {
        if (wizard_ != nullptr) wizard_->openPage(file, this);
    });
    connect(qApp, &QGuiApplication::commitDataRequest, this, &TForm1::commitData,
            Qt::DirectConnection);
}

void TForm1::createLabels() {
    addGreenLabel(this, "Label1", QStringLiteral("HTML"),
                  pixelFont(QStringLiteral("Times New Roman"), 48, true), QPoint(16, 0));
    addGreenLabel(this, "Label2", QStringLiteral("Velmora"),
                  pixelFont(QStringLiteral("System"), 48, true, true), QPoint(176, 16));
    addGreenLabel(this, "Label3", QStringLiteral("Ultrapex "),
                  pixelFont(QStringLiteral("Latin-Wide"), 48, true, true), QPoint(8, 48));
}

void TForm1::createButtons() {
    QToolButton* start =
        addSpeedButton(this, "SpeedButton2", QStringLiteral("Start"), QRect(128, 104, 121, 65));
    connect(start, &QToolButton::clicked, this,
            [this] { guarded(this, [this] { SpeedButton2Click(); }); });
    start->setFocus();  // Return or Space on a fresh start window opens the wizard
    QToolButton* end =
        addSpeedButton(this, "SpeedButton3", QStringLiteral("Ende"), QRect(256, 104, 113, 65));
    connect(end, &QToolButton::clicked, this,
            [this] { guarded(this, [this] { SpeedButton3Click(); }); });
}

void TForm1::SpeedButton2Click() {
    if (wizard_ != nullptr) wizard_->bringToFront();
}

// The desktop's own dialog where it has one.
void TForm1::openPageDialog() {
    if (wizard_ == nullptr) return;
    const QString file =
        QFileDialog::getOpenFileName(this, QStringLiteral("Seite öffnen"), wizard_->pageFolder(),
                                     QStringLiteral("Seiten (*.html *.htm);;Alle Dateien (*)"));
    if (!file.isEmpty()) wizard_->openPage(file, this);
}

void TForm1::SpeedButton3Click() { close(); }

// A publish is stopped at its question's "Ja", before the next question;
// ending without leave to ask stops it with the dialog.
bool TForm1::mayEnd(const std::function<bool()>& mayAsk) {
    const bool publishing = publishing_ != nullptr && publishing_->busy();
    QStringList questions;
    if (publishing) {
        questions << QStringLiteral("Die Seite wird gerade veröffentlicht. Trotzdem beenden?");
    }
    if (wizard_ != nullptr && wizard_->holdsUnsaved()) {
        questions << QStringLiteral(
            "Die Eingaben im Assistenten sind noch nicht gespeichert. Trotzdem beenden?");
    }
    if (questions.isEmpty() || !mayAsk()) return true;
    for (const QString& question : questions) {
        if (!askYesNo(this, question)) return false;
        if (publishing && question == questions.front()) publishing_->stop();
    }
    return true;
}

bool TForm1::endSession(const std::function<bool()>& mayAsk) {
    sessionEnds_ = mayEnd(mayAsk);
    return sessionEnds_;
}

// The session manager lets the program ask only on X11 (XSMP); where it does
// not, the session ends as it always did.
void TForm1::commitData(QSessionManager& manager) {
    if (!endSession([&manager] { return manager.allowsInteraction(); })) manager.cancel();
}

// exit() rather than quit(): quit() first asks every window to close, and
// the wizard answers a close by hiding itself, which must not keep the
// program running.
void TForm1::closeEvent(QCloseEvent* event) {
    if (!sessionEnds_ && !mayEnd([] { return true; })) {
        event->ignore();
        return;
    }
    event->accept();
    QCoreApplication::exit(0);
}

}  // namespace velmora::ui
