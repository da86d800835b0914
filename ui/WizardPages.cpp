// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Builds the wizard's six pages and its finish button, each control at the
// fixed pixel position of the window's form.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <initializer_list>
#include <utility>

#include "ui/Bindings.h"
#include "ui/Controls.h"
#include "ui/EntryListView.h"
#include "ui/SpinEdit.h"
#include "ui/WizardHelpTexts.h"
#include "ui/WizardStyle.h"
#include "ui/WizardUi.h"

namespace velmora::ui {
namespace {

struct NamedButton {
    const char* name;
    QString caption;
};

struct ListControls {
    EntryListView* list;
    QToolButton* add;
    QToolButton* remove;
};

// "Links" and "Bilder" hold their list alike: under its label, the add button
// beside the label and the delete button under the list's right end. Each
// button shares a pixel row with the list and lies under it, as a button drawn
// on the page does, so it is made first.
ListControls addListWithButtons(QWidget* page, const QString& label, const NamedButton& add,
                                const NamedButton& remove) {
    addLabel(page, label, 16, 80);
    QToolButton* addButton = addFlatButton(page, add.name, add.caption, {152, 72, 97, 25});
    QToolButton* removeButton =
        addFlatButton(page, remove.name, remove.caption, {152, 168, 97, 25});
    auto* list = addList<EntryListView>(page, {16, 96, 233, 73});
    list->setAccessibleName(nameFromLabel(label));
    return {list, addButton, removeButton};
}

void addTitle(QWidget* page, const QString& text) {
    QLabel* title = addLabel(page, text, 16, 8);
    QFont f = pixelFont(QStringLiteral("Times New Roman"), 48, false, true);
    f.setUnderline(true);
    title->setFont(f);
    QPalette p = title->palette();
    p.setColor(QPalette::WindowText, Qt::black);
    title->setPalette(p);
    title->adjustSize();
}

// The hint that tells the user which tab to click next, ending at top 344.
void addHint(QWidget* page, const QStringList& lines) {
    int top = 344 - 16 * static_cast<int>(lines.size() - 1);
    for (const QString& line : lines) {
        addLabel(page, line, 296, top);
        top += 16;
    }
}

QWidget* addPage(QTabWidget* pages, const char* name, const QString& caption) {
    auto* page = named(new QWidget, name);
    page->setAutoFillBackground(true);
    pages->addTab(page, caption);
    return page;
}

QString nextTabHint(const char* tab) {
    return QString::fromUtf8(tab) + QStringLiteral(", um fortzufahren.");
}

QIcon checkMarkIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    QPainterPath tick;
    tick.moveTo(2.5, 8.5);
    tick.lineTo(6.0, 12.5);
    tick.lineTo(13.5, 3.5);
    painter.setPen(QPen(kGreen, 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(tick);
    return QIcon(pixmap);
}

QPushButton* addInsertButton(QWidget* parent, const char* name, int x, int y) {
    static const QIcon tick = checkMarkIcon();
    QPushButton* button = addButton(parent, name, QStringLiteral("Einfügen"), {x, y, 121, 25});
    button->setIcon(tick);
    button->setAutoDefault(true);  // Enter on it runs the insert, not "Hinzufügen"
    return button;
}

void buildGeneralPage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet1 =
        addPage(pages, "TabSheet1", QStringLiteral("Allgemeine Einstellungen"));
    addTitle(p, QStringLiteral("A. Einstellungen"));
    addHint(p,
            {QStringLiteral("Klicken Sie auf die Registrierlasche"), nextTabHint("Überschrift")});
    ui.Memo1 = addHelpText(p, "Memo1", memo1Lines());

    addLabel(p, QStringLiteral("Hintergrund:"), 16, 80);
    ui.hgb = named(addBox<QRadioButton>(p, QStringLiteral("Hintergrundbild"), 16, 96), "hgb");
    ui.hgf = named(addBox<QRadioButton>(p, QStringLiteral("Hintergrundfarbe"), 16, 112), "hgf");
    ui.Edit1 = addEdit(p, QStringLiteral("Dateiname:"), 16, 160, 169);
    ui.Edit14 = addEdit(p, QStringLiteral("Farbe (RRGGBB):"), 16, 208, 169);

    ui.GroupBox1 = named(new QGroupBox(QStringLiteral("Website"), p), "GroupBox1");
    ui.GroupBox1->setGeometry(16, 240, 169, 113);
    ui.GroupBox1->setStyle(wizardFrameStyle());
    QWidget* g = ui.GroupBox1;
    ui.Edit19 = addEdit(g, QStringLiteral("Dateiname:"), 8, 32, 153);
    ui.html = named(addBox<QRadioButton>(g, QStringLiteral("Html"), 96, 64), "html");
    ui.htm = named(addBox<QRadioButton>(g, QStringLiteral("Htm"), 96, 80), "htm");

    addLabel(p, QStringLiteral("CSS Style Sheets:"), 224, 80);
    ui.CSS = addBox<QCheckBox>(p, QStringLiteral("CSS Style sheets verwenden"), 224, 96);
    addLabel(p, QStringLiteral("Farben (RRGGBB):"), 224, 120);
    ui.Edit15 = addEdit(p, QStringLiteral("Link:"), 224, 152, 121);
    ui.Edit16 = addEdit(p, QStringLiteral("Besuchter Link:"), 224, 200, 121);
    ui.Edit17 = addEdit(p, QStringLiteral("Maus überm Link:"), 224, 248, 121);
    ui.Edit18 = addEdit(p, QStringLiteral("Aktiver Link:"), 224, 296, 121);
    ui.fett = addBox<QCheckBox>(p, QStringLiteral("Fett"), 224, 328);

    addLabel(p, QStringLiteral("Entfernung zum Bildschirmrand:"), 384, 16);
    ui.SpinEdit4 = addSpin(p, QStringLiteral("Horizontal:"), 384, 48, 121);
    ui.SpinEdit5 = addSpin(p, QStringLiteral("Vertikal:"), 384, 96, 121);
    ui.Edit26 = addEdit(p, QStringLiteral("Breite der Tabelle:"), 384, 152, 121);
    ui.Edit27 = addEdit(p, QStringLiteral("Höhe der Tabelle:"), 384, 224, 121);
    for (const int top : {152, 224}) {
        QLabel* percent = addLabel(p, QStringLiteral("%"), 504, top);
        percent->setFont(pixelFont(kFontFace, 16, true));
        percent->adjustSize();
        addLabel(p, QStringLiteral("des Bildschirms"), 384, top + 24);
    }
}

void buildHeadingPage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet2 = addPage(pages, "TabSheet2", QStringLiteral("Überschrift"));
    addTitle(p, QStringLiteral("Überschrift"));
    addHint(p, {QStringLiteral("Klicken Sie auf die Registrierlasche"), nextTabHint("Links")});
    ui.Memo2 = addHelpText(p, "Memo2", memo2Lines());

    ui.Edit2 = addEdit(p, QStringLiteral("Überschrift1:"), 16, 96, 233);
    ui.Edit5 = addEdit(p, QStringLiteral("Überschrift2:"), 16, 144, 233);
    addLabel(p, QStringLiteral("Größe (Überschrift 2):"), 16, 184);
    QRadioButton** sizes[] = {&ui.RadioButton1, &ui.RadioButton2, &ui.RadioButton3,
                              &ui.RadioButton4, &ui.RadioButton5, &ui.RadioButton6};
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "RadioButton" + QByteArray::number(i + 1);
        *sizes[i] = named(addBox<QRadioButton>(p, QString::number(i + 1), 16 + 40 * i, 208, 33),
                          name.constData());
    }
    ui.Edit20 = addEdit(p, QStringLiteral("Schriftfarbe (RRGGBB):"), 16, 248, 121);
    ui.Edit21 = addEdit(p, QStringLiteral("Schriftart:"), 16, 296, 121);
    ui.Edit8 = addEdit(p, QStringLiteral("Bild:"), 280, 96, 169);
    ui.eck = addBox<QCheckBox>(p, QStringLiteral("Eckbild"), 280, 128);
    ui.Edit9 = addEdit(p, QStringLiteral("Bild:"), 280, 168, 169);
    ui.SpinEdit1 = addSpin(p, QStringLiteral("Minimale Höhe:"), 280, 216, 169);
}

void buildLinksPage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet3 = addPage(pages, "TabSheet3", QStringLiteral("Links"));
    addTitle(p, QStringLiteral("Links"));
    addHint(p, {QStringLiteral("Klicken Sie auf die Registrierlasche"), nextTabHint("Text")});
    ui.Memo3 = addHelpText(p, "Memo3", memo3Lines());

    const ListControls links = addListWithButtons(p, QStringLiteral("Link:"),
                                                  {"SpeedButton2", QStringLiteral("Neuer Link")},
                                                  {"SpeedButton5", QStringLiteral("Link löschen")});
    ui.ListBox2 = links.list;
    ui.SpeedButton2 = links.add;
    ui.SpeedButton5 = links.remove;
    ui.Edit3 = addEdit(p, QStringLiteral("Verweistext:"), 16, 208, 233);
    ui.Edit4 = addEdit(p, QStringLiteral("Verweisziel:"), 16, 248, 233);
    ui.Dots = addBox<QCheckBox>(p, QStringLiteral("Dots"), 16, 272);
    ui.Edit6 = addEdit(p, 16, 296, 233);

    ui.lh = addBox<QCheckBox>(p, QStringLiteral("Link-Hintergrund"), 272, 72);
    ui.Edit7 = addEdit(p, QStringLiteral("Bild:"), 272, 112, 177);
    ui.SpinEdit2 = addSpin(p, QStringLiteral("Minimalbreite:"), 272, 160, 121);
    ui.SpinEdit6 = addSpin(p, QStringLiteral("Minimalhöhe:"), 272, 208, 121);
    ui.strecken = addBox<QCheckBox>(
        p, QStringLiteral("\"Link-Leiste\" Bis zum unteren Bildschirmrand ziehen"), 272, 248, 273);
    ui.zentrieren = addBox<QCheckBox>(p, QStringLiteral("Links zentrieren"), 272, 280);
}

QToolButton* addToggle(QWidget* parent, const char* name, const QString& caption, int top) {
    QToolButton* toggle = addFlatButton(parent, name, caption, {264, top, 121, 22});
    toggle->setCheckable(true);
    return toggle;
}

void buildTextPage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet4 = addPage(pages, "TabSheet4", QStringLiteral("Text"));
    addTitle(p, QStringLiteral("Text"));
    addHint(p, {QStringLiteral("Klicken Sie auf die Registrierlasche"), nextTabHint("Bilder")});
    ui.Memo5 = addHelpText(p, "Memo5", memo5Lines());

    // "Zeilenumbruch" and "Zeile löschen" share a pixel row with "Hinzufügen"
    // and the list, and lie under them.
    ui.SpeedButton6 =
        addFlatButton(p, "SpeedButton6", QStringLiteral("Zeilenumbruch"), {16, 88, 217, 25});
    ui.Button1 = addButton(p, "Button1", QStringLiteral("Hinzufügen"), {16, 64, 217, 25});
    ui.Button1->setDefault(true);
    ui.Edit12 = addEdit(p, 16, 120, 217);
    ui.SpeedButton7 =
        addFlatButton(p, "SpeedButton7", QStringLiteral("Zeile löschen"), {144, 264, 89, 25});
    ui.ListBox1 = addList<EntryListView>(p, {16, 144, 217, 121});
    ui.SpeedButton8 =
        addFlatButton(p, "SpeedButton8", QStringLiteral("Alles löschen"), {144, 288, 89, 25});
    ui.Edit24 = addEdit(p, QStringLiteral("Schriftfarbe (RRGGBB):"), 16, 288, 121);
    ui.Edit25 = addEdit(p, QStringLiteral("Schriftart:"), 16, 336, 121);

    addLabel(p, QStringLiteral("Bild einfügen:"), 264, 72);
    ui.Edit13 = addEdit(p, QStringLiteral("Bild:"), 264, 112, 121);
    addLabel(p, QStringLiteral("Eigenschaften:"), 264, 144);
    ui.l = addToggle(p, "l", QStringLiteral("Linksbündig"), 160);
    ui.m = addToggle(p, "m", QStringLiteral("Mittig"), 184);
    ui.r = addToggle(p, "r", QStringLiteral("Rechtsbündig"), 208);
    ui.BitBtn8 = addInsertButton(p, "BitBtn8", 264, 240);

    addLabel(p, QStringLiteral("Link einfügen:"), 408, 72);
    ui.Edit22 = addEdit(p, QStringLiteral("Verweistext:"), 408, 112, 121);
    ui.Edit23 = addEdit(p, QStringLiteral("Verweisziel:"), 408, 152, 121);
    ui.BitBtn1 = addInsertButton(p, "BitBtn1", 408, 192);
}

void buildPicturesPage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet5 = addPage(pages, "TabSheet5", QStringLiteral("Bilder"));
    addTitle(p, QStringLiteral("Bilder"));
    addHint(p, {QStringLiteral("Klicken Sie auf Fertig, um den"),
                QStringLiteral("Assistenten zu beenden und ihre"),
                QStringLiteral("Website abzuspeichern.")});
    ui.Memo4 = addHelpText(p, "Memo4", memo4Lines());

    const ListControls pictures = addListWithButtons(
        p, QStringLiteral("Bild:"), {"SpeedButton3", QStringLiteral("Neues Bild")},
        {"SpeedButton4", QStringLiteral("Bild löschen")});
    ui.ListBox3 = pictures.list;
    ui.SpeedButton3 = pictures.add;
    ui.SpeedButton4 = pictures.remove;
    ui.Edit10 = addEdit(p, QStringLiteral("Bild:"), 16, 200, 121);
    ui.Edit11 = addEdit(p, QStringLiteral("Bildtext:"), 16, 248, 121);
    ui.SpinEdit3 = addSpin(p, QStringLiteral("Zeilenumbrüche nach jedem Bild:"), 264, 136, 161);
}

void buildCodePage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet7 = addPage(pages, "TabSheet7", QStringLiteral("HTML Code"));
    ui.ListBox4 = named(addList<QListView>(p, {0, 0, 755, 365}), "ListBox4");
}

void addFinishButton(QWidget* window, WizardUi& ui) {
    ui.SpeedButton9 =
        addFlatButton(window, "SpeedButton9", QStringLiteral("F     E     R     T     I     G"),
                      {0, 400, 761, 30});
    ui.SpeedButton9->setFont(pixelFont(kFontFace, 19, true, true));
    QPalette p = ui.SpeedButton9->palette();
    p.setColor(QPalette::ButtonText, kGreen);
    ui.SpeedButton9->setPalette(p);
}

}  // namespace

void buildWizardUi(QWidget* window, WizardUi& ui) {
    ui.PageControl1 = named(new QTabWidget(window), "PageControl1");
    ui.PageControl1->setStyle(wizardFrameStyle());
    ui.PageControl1->setGeometry(0, 0, 763, 393);
    buildGeneralPage(ui.PageControl1, ui);
    buildHeadingPage(ui.PageControl1, ui);
    buildLinksPage(ui.PageControl1, ui);
    buildTextPage(ui.PageControl1, ui);
    buildPicturesPage(ui.PageControl1, ui);
    buildCodePage(ui.PageControl1, ui);
    addFinishButton(window, ui);
    nameBoundControls(ui);
    setWizardTabOrder(ui);
    setAccessibleTexts(ui);
}

}  // namespace velmora::ui
