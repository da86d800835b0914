// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The controls of the wizard window, named as the window's own forms name
// them. The link targets and the captions are never shown: they live in the
// settings alone. Which control shows which value: Bindings.h.
#pragma once

#include <array>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QListView;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QToolButton;
class QWidget;

namespace velmora::ui {

class EntryListView;
class SpinEdit;

struct WizardUi {
    QTabWidget* PageControl1 = nullptr;
    QToolButton* SpeedButton9 = nullptr;

    // "Allgemeine Einstellungen"
    QWidget* TabSheet1 = nullptr;
    QPlainTextEdit* Memo1 = nullptr;
    QRadioButton* hgb = nullptr;
    QRadioButton* hgf = nullptr;
    QLineEdit* Edit1 = nullptr;
    QLineEdit* Edit14 = nullptr;
    QGroupBox* GroupBox1 = nullptr;
    QLineEdit* Edit19 = nullptr;
    QRadioButton* html = nullptr;
    QRadioButton* htm = nullptr;
    QCheckBox* CSS = nullptr;
    QLineEdit* Edit15 = nullptr;
    QLineEdit* Edit16 = nullptr;
    QLineEdit* Edit17 = nullptr;
    QLineEdit* Edit18 = nullptr;
    QCheckBox* fett = nullptr;
    SpinEdit* SpinEdit4 = nullptr;
    SpinEdit* SpinEdit5 = nullptr;
    QLineEdit* Edit26 = nullptr;
    QLineEdit* Edit27 = nullptr;

    // "Überschrift"
    QWidget* TabSheet2 = nullptr;
    QPlainTextEdit* Memo2 = nullptr;
    QLineEdit* Edit2 = nullptr;
    QLineEdit* Edit5 = nullptr;
    QRadioButton* RadioButton1 = nullptr;  // heading sizes 1 … 6
    QRadioButton* RadioButton2 = nullptr;
    QRadioButton* RadioButton3 = nullptr;
    QRadioButton* RadioButton4 = nullptr;
    QRadioButton* RadioButton5 = nullptr;
    QRadioButton* RadioButton6 = nullptr;
    QLineEdit* Edit20 = nullptr;
    QLineEdit* Edit21 = nullptr;
    QLineEdit* Edit8 = nullptr;
    QCheckBox* eck = nullptr;
    QLineEdit* Edit9 = nullptr;
    SpinEdit* SpinEdit1 = nullptr;

    // "Links"
    QWidget* TabSheet3 = nullptr;
    QPlainTextEdit* Memo3 = nullptr;
    EntryListView* ListBox2 = nullptr;
    QToolButton* SpeedButton2 = nullptr;
    QToolButton* SpeedButton5 = nullptr;
    QLineEdit* Edit3 = nullptr;
    QLineEdit* Edit4 = nullptr;
    QCheckBox* Dots = nullptr;
    QLineEdit* Edit6 = nullptr;
    QCheckBox* lh = nullptr;
    QLineEdit* Edit7 = nullptr;
    SpinEdit* SpinEdit2 = nullptr;
    SpinEdit* SpinEdit6 = nullptr;
    QCheckBox* strecken = nullptr;
    QCheckBox* zentrieren = nullptr;

    // "Text"
    QWidget* TabSheet4 = nullptr;
    QPlainTextEdit* Memo5 = nullptr;
    QPushButton* Button1 = nullptr;
    QToolButton* SpeedButton6 = nullptr;
    QLineEdit* Edit12 = nullptr;
    EntryListView* ListBox1 = nullptr;
    QLineEdit* Edit24 = nullptr;
    QToolButton* SpeedButton7 = nullptr;
    QToolButton* SpeedButton8 = nullptr;
    QLineEdit* Edit25 = nullptr;
    QLineEdit* Edit13 = nullptr;
    QToolButton* l = nullptr;
    QToolButton* m = nullptr;
    QToolButton* r = nullptr;
    QPushButton* BitBtn8 = nullptr;
    QLineEdit* Edit22 = nullptr;
    QLineEdit* Edit23 = nullptr;
    QPushButton* BitBtn1 = nullptr;

    // "Bilder"
    QWidget* TabSheet5 = nullptr;
    QPlainTextEdit* Memo4 = nullptr;
    EntryListView* ListBox3 = nullptr;
    QToolButton* SpeedButton3 = nullptr;
    QToolButton* SpeedButton4 = nullptr;
    QLineEdit* Edit10 = nullptr;
    QLineEdit* Edit11 = nullptr;
    SpinEdit* SpinEdit3 = nullptr;

    // "HTML Code"
    QWidget* TabSheet7 = nullptr;
    QListView* ListBox4 = nullptr;

    /// RadioButton1 … RadioButton6, in the order of the sizes.
    [[nodiscard]] std::array<QRadioButton*, 6> sizeButtons() const {
        return {RadioButton1, RadioButton2, RadioButton3, RadioButton4, RadioButton5, RadioButton6};
    }

    /// The fields that name a picture: background, heading picture, corner
    /// picture, dot, link background, picture in the text, next picture.
    [[nodiscard]] std::array<QLineEdit*, 7> pictureFields() const {
        return {Edit1, Edit8, Edit9, Edit6, Edit7, Edit13, Edit10};
    }
};

/// Creates every control of the wizard inside `window`, with captions,
/// positions, fonts, colours and the Tab order, but without values.
void buildWizardUi(QWidget* window, WizardUi& ui);

/// The order in which Tab runs through the controls of the shown page.
void setWizardTabOrder(const WizardUi& ui);

/// Names and descriptions for a screen reader where a label's caption alone
/// would not tell the controls apart.
void setAccessibleTexts(const WizardUi& ui);

}  // namespace velmora::ui
