// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// How the keyboard and a screen reader reach the wizard's controls: the Tab
// order, one Tab stop per group of radio buttons, and the names and
// descriptions a screen reader reads.
#include <QButtonGroup>
#include <QCheckBox>
#include <QLineEdit>
#include <QListView>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTabBar>
#include <QTabWidget>
#include <QToolButton>
#include <initializer_list>

#include "ui/EntryListView.h"
#include "ui/SpinEdit.h"
#include "ui/WizardUi.h"

namespace velmora::ui {
namespace {

// A group of radio buttons is one Tab stop, at its selected button; the others
// still take the focus by a click. The explicit group keeps Qt from counting
// the radio buttons of a nested group box as members. The Tab stop follows the
// group's signal, not the buttons' own: the window shows a value with the
// buttons' signals held, and the group still reports it.
void oneTabStop(std::initializer_list<QRadioButton*> buttons) {
    auto* group = new QButtonGroup(buttons.begin()[0]->parentWidget());
    for (QRadioButton* button : buttons) {
        group->addButton(button);
        button->setFocusPolicy(button->isChecked() ? Qt::StrongFocus : Qt::ClickFocus);
    }
    QObject::connect(group, &QButtonGroup::buttonToggled, group,
                     [](QAbstractButton* button, bool on) {
                         button->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
                     });
}

void chainFocus(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (previous != nullptr) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

}  // namespace

// For a screen reader: names for the fields without a label of their own, for
// the two "Einfügen" buttons, which look alike, and for the finish, whose
// spaced-out caption a reader would spell; the heading a field stands
// under, where several fields share their label's text; and in the fields that
// name a picture, the key that opens the dialog, which the icon shows only to
// the pointer.
void setAccessibleTexts(const WizardUi& ui) {
    ui.Edit6->setAccessibleName(QStringLiteral("Dot-Bild"));
    ui.Edit12->setAccessibleName(QStringLiteral("Neue Textzeile"));
    ui.ListBox1->setAccessibleName(QStringLiteral("Textzeilen"));
    ui.ListBox4->setAccessibleName(QStringLiteral("HTML Code"));
    ui.BitBtn8->setAccessibleName(QStringLiteral("Bild einfügen"));
    ui.BitBtn1->setAccessibleName(QStringLiteral("Link einfügen"));
    ui.SpeedButton9->setAccessibleName(QStringLiteral("Fertig"));
    ui.SpeedButton9->setAccessibleDescription(QStringLiteral("Seite schreiben"));
    const auto describe = [](const QString& heading, std::initializer_list<QWidget*> fields) {
        for (QWidget* field : fields) field->setAccessibleDescription(heading);
    };
    describe(QStringLiteral("Hintergrund"), {ui.Edit1});
    describe(QStringLiteral("Website"), {ui.Edit19});
    describe(QStringLiteral("Farben (RRGGBB)"), {ui.Edit15, ui.Edit16, ui.Edit17, ui.Edit18});
    describe(QStringLiteral("Entfernung zum Bildschirmrand"), {ui.SpinEdit4, ui.SpinEdit5});
    describe(QStringLiteral("Eckbild"), {ui.Edit9});
    describe(QStringLiteral("Link-Hintergrund"), {ui.Edit7});
    describe(QStringLiteral("Bild einfügen"), {ui.Edit13});
    describe(QStringLiteral("Link einfügen"), {ui.Edit22, ui.Edit23});
    const QString key = QStringLiteral("Bild auswählen mit Strg+O");
    for (QLineEdit* field : ui.pictureFields()) {
        const QString heading = field->accessibleDescription();
        field->setAccessibleDescription(heading.isEmpty() ? key
                                                          : heading + QStringLiteral(", ") + key);
    }
}

// Hidden pages drop out of the chain, so Tab runs through the current page
// only, the tab strip first and the finish last. Each flat button stands where
// it stands on its page: an add button after the fields it takes, a delete
// button after its list.
void setWizardTabOrder(const WizardUi& ui) {
    const auto rb = ui.sizeButtons();
    oneTabStop({ui.hgb, ui.hgf});
    oneTabStop({ui.html, ui.htm});
    oneTabStop({rb[0], rb[1], rb[2], rb[3], rb[4], rb[5]});
    chainFocus({ui.PageControl1->tabBar(),
                ui.Edit1,
                ui.Memo1,
                ui.hgb,
                ui.hgf,
                ui.Edit14,
                ui.Edit15,
                ui.Edit16,
                ui.Edit17,
                ui.Edit18,
                ui.fett,
                ui.CSS,
                ui.html,
                ui.htm,
                ui.Edit19,
                ui.SpinEdit4,
                ui.SpinEdit5,
                ui.Edit26,
                ui.Edit27,
                ui.Memo2,
                rb[0],
                rb[1],
                rb[2],
                rb[3],
                rb[4],
                rb[5],
                ui.Edit2,
                ui.Edit5,
                ui.Edit8,
                ui.eck,
                ui.Edit9,
                ui.SpinEdit1,
                ui.Edit20,
                ui.Edit21,
                ui.Memo3,
                ui.Edit3,
                ui.Dots,
                ui.Edit4,
                ui.SpeedButton2,
                ui.ListBox2,
                ui.SpeedButton5,
                ui.Edit6,
                ui.Edit7,
                ui.lh,
                ui.SpinEdit2,
                ui.SpinEdit6,
                ui.strecken,
                ui.zentrieren,
                ui.Memo5,
                ui.Edit12,
                ui.Button1,
                ui.SpeedButton6,
                ui.ListBox1,
                ui.SpeedButton7,
                ui.SpeedButton8,
                ui.Edit13,
                ui.l,
                ui.m,
                ui.r,
                ui.BitBtn8,
                ui.Edit22,
                ui.Edit23,
                ui.BitBtn1,
                ui.Edit24,
                ui.Edit25,
                ui.Edit10,
                ui.ListBox3,
                ui.SpeedButton4,
                ui.Edit11,
                ui.SpeedButton3,
                ui.Memo4,
                ui.SpinEdit3,
                ui.ListBox4,
                ui.SpeedButton9});
}

}  // namespace velmora::ui
