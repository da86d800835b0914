#include "ui/TForm1.h"

#include <QApplication>
#include <QCloseEvent>
#include <QLabel>
#include <QToolButton>

#include "ui/ErrorHandler.h"
#include "ui/TForm3.h"
#include "ui/WizardStyle.h"

namespace velmora::ui {

namespace {

const QColor kGreen(0x00, 0x80, 0x00);

QFont pixelFont(const QString& family, int pixels, bool italic) {
    QFont font(family);
    font.setPixelSize(pixels);
    font.setBold(true);
    font.setItalic(italic);
    return font;
}

// No background of its own, so the window's colour shows behind the letters
// and the labels may overlap.
void addLabel(QWidget* window, const char* name, const QString& text, const QFont& font,
              QPoint at) {
    auto* label = new QLabel(text, window);
    label->setObjectName(QLatin1String(name));
    label->setFont(font);
    QPalette palette = label->palette();
    palette.setColor(QPalette::WindowText, kGreen);
    label->setPalette(palette);
    label->move(at);
    label->adjustSize();
}

// A speed button: no border until the pointer is over it, and never the
// keyboard focus, so the window is worked with the mouse.
QToolButton* addSpeedButton(QWidget* window, const char* name, const QString& text, QRect at) {
    auto* button = new QToolButton(window);
    button->setObjectName(QLatin1String(name));
    button->setText(text);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    button->setFont(pixelFont(QStringLiteral("MS Sans Serif"), 24, true));
    button->setGeometry(at);
    return button;
}

}  // namespace

TForm1::TForm1(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(QStringLiteral("HTML Velmora 1.3 Ultrapex"));
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowMinimizeButtonHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(377, 171);
    QPalette palette = windowPalette();
    // A hovered speed button rises in the window's colour, not in grey.
    palette.setColor(QPalette::Button, kWindowColour);
    setPalette(palette);
    setAutoFillBackground(true);
    move(266, 186);
    createLabels();
    createButtons();
}

void TForm1::createLabels() {
    addLabel(this, "Label1", QStringLiteral("HTML"),
             pixelFont(QStringLiteral("Times New Roman"), 48, false), QPoint(16, 0));
    addLabel(this, "Label2", QStringLiteral("Velmora"),
             pixelFont(QStringLiteral("System"), 48, true), QPoint(176, 16));
    addLabel(this, "Label3", QStringLiteral("Ultrapex "),
             pixelFont(QStringLiteral("Latin-Wide"), 48, true), QPoint(8, 48));
}

void TForm1::createButtons() {
    QToolButton* start =
        addSpeedButton(this, "SpeedButton2", QStringLiteral("Start"), QRect(128, 104, 121, 65));
    connect(start, &QToolButton::clicked, this,
            [this] { guarded(this, [this] { SpeedButton2Click(); }); });
    QToolButton* end =
        addSpeedButton(this, "SpeedButton3", QStringLiteral("Ende"), QRect(256, 104, 113, 65));
    connect(end, &QToolButton::clicked, this,
            [this] { guarded(this, [this] { SpeedButton3Click(); }); });
}

void TForm1::SpeedButton2Click() {
    if (wizard_ == nullptr) return;
    wizard_->setWindowState(wizard_->windowState() & ~Qt::WindowMinimized);
    wizard_->show();
    wizard_->raise();
    wizard_->activateWindow();
}

void TForm1::SpeedButton3Click() { close(); }

// exit() rather than quit(): quit() first asks every window to close, and
// the wizard answers a close by hiding itself, which must not keep the
// program running.
void TForm1::closeEvent(QCloseEvent* event) {
    event->accept();
    QCoreApplication::exit(0);
}

}  // namespace velmora::ui
