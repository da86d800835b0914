// Builds the wizard's controls. Every position and size is the fixed pixel
// geometry of the window's form; the window cannot be resized, so there are
// no layouts.
#include <QButtonGroup>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QPainterPath>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTextDocument>
#include <QToolButton>
#include <initializer_list>
#include <utility>

#include "ui/Accessibility.h"
#include "ui/ListRowDelegate.h"
#include "ui/SpinEdit.h"
#include "ui/WizardHelpTexts.h"
#include "ui/WizardStyle.h"
#include "ui/WizardUi.h"

namespace velmora::ui {
namespace {

constexpr int kLabelAbove = 16;  // a field's label stands this far above it
constexpr int kEditHeight = 21;
constexpr int kSpinHeight = 22;
constexpr int kBoxHeight = 17;  // tick boxes and radio buttons

QFont fontOf(const QString& face, int pixels, bool bold = false, bool italic = false) {
    QFont f(face);
    f.setPixelSize(pixels);
    f.setBold(bold);
    f.setItalic(italic);
    return f;
}

template <typename W>
W* named(W* w, const char* name) {
    w->setObjectName(QString::fromLatin1(name));
    return w;
}

QLabel* addLabel(QWidget* parent, const QString& text, int x, int y) {
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

QLineEdit* addEdit(QWidget* parent, const char* name, int x, int y, int width) {
    auto* edit = named(new QLineEdit(parent), name);
    edit->setGeometry(x, y, width, kEditHeight);
    return edit;
}

QLineEdit* addEdit(QWidget* parent, const char* name, const QString& label, int x, int y,
                   int width) {
    addLabel(parent, label, x, y - kLabelAbove);
    QLineEdit* edit = addEdit(parent, name, x, y, width);
    edit->setAccessibleName(nameFromLabel(label));
    return edit;
}

SpinEdit* addSpin(QWidget* parent, const char* name, const QString& label, int x, int y,
                  int width) {
    addLabel(parent, label, x, y - kLabelAbove);
    auto* spin = named(new SpinEdit(parent), name);
    spin->setGeometry(x, y, width, kSpinHeight);
    spin->setAccessibleName(nameFromLabel(label));
    return spin;
}

template <typename Box>
Box* addBox(QWidget* parent, const char* name, const QString& caption, int x, int y,
            int width = 0) {
    auto* box = named(new Box(caption, parent), name);
    box->setGeometry(x, y, width > 0 ? width : box->sizeHint().width(), kBoxHeight);
    return box;
}

// Text of a Latin script needs no shaping: the glyphs are those of the
// characters. Leaving the step out makes repainting the text much cheaper.
void withoutShaping(QWidget* w) {
    QFont f = w->font();
    f.setStyleStrategy(QFont::PreferNoShaping);
    w->setFont(f);
}

// Flat buttons show a border only under the mouse and are used with the mouse alone.
QToolButton* addFlatButton(QWidget* parent, const char* name, const QString& caption,
                           const QRect& geometry) {
    auto* button = new QToolButton(parent);
    if (name != nullptr) named(button, name);
    button->setText(caption);
    button->setAutoRaise(true);
    button->setFocusPolicy(Qt::NoFocus);
    // Opaque in the page's colour: pressing it repaints the button alone,
    // not the page behind it.
    button->setBackgroundRole(QPalette::Window);
    button->setAutoFillBackground(true);
    withoutShaping(button);
    button->setGeometry(geometry);
    return button;
}

// A flat button lies under the controls whose edge it touches, as a button
// drawn on its page does, and leaves their pixels to them. So a click on
// "Neuer Link" repaints the button alone, never the list whose last pixel row
// it shares.
void putFlatButtonsUnderneath(QWidget* page) {
    const QList<QWidget*> controls = page->findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    for (QToolButton* flat : page->findChildren<QToolButton*>(Qt::FindDirectChildrenOnly)) {
        QRegion own(flat->rect());
        for (QWidget* other : controls) {
            const QRect shared = flat->geometry().intersected(other->geometry());
            if (other->isHidden() || shared.isEmpty() || qobject_cast<QToolButton*>(other) ||
                qobject_cast<QLabel*>(other))
                continue;
            flat->stackUnder(other);
            own -= shared.translated(-flat->pos());
        }
        if (own != QRegion(flat->rect())) flat->setMask(own);
    }
}

QPushButton* addButton(QWidget* parent, const char* name, const QString& caption,
                       const QRect& geometry) {
    auto* button = named(new QPushButton(caption, parent), name);
    button->setGeometry(geometry);
    return button;
}

// The shown lists and help texts take the window's colour and no border line.
void blendIn(QAbstractScrollArea* area) {
    QPalette p = area->palette();
    p.setColor(QPalette::Base, kWindowColour);
    area->setPalette(p);
    area->setFrameShape(QFrame::NoFrame);
}

// The view lays out all rows again after each add. With the rows a fixed step
// apart it places each without looking the row up, which keeps an add cheap
// however long the list grows. The step is the height of a row, so the rows
// stand as they would without it.
void stepRowsByTheirHeight(QListWidget* list) {
    list->addItem(QString());
    const int rowHeight = list->sizeHintForRow(0);
    delete list->takeItem(0);
    list->setGridSize({1, rowHeight});
}

QListWidget* addList(QWidget* parent, const char* name, const QRect& geometry) {
    auto* list = named(new QListWidget(parent), name);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    // Every row has the list's one font and line height. Measuring one row
    // instead of all keeps an add from laying out every row again.
    list->setUniformItemSizes(true);
    // A row wider than the list is cut off at its right edge. The rows are
    // plain text in a Latin script, which needs no shaping; left out, like the
    // search for an ellipsis, a repaint of the visible rows costs a fraction.
    list->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    list->setTextElideMode(Qt::ElideNone);
    withoutShaping(list);
    list->setGeometry(geometry);
    blendIn(list);
    stepRowsByTheirHeight(list);
    return list;
}

// A list that the user fills one entry at a time.
QListWidget* addGrowingList(QWidget* parent, const char* name, const QRect& geometry) {
    QListWidget* list = addList(parent, name, geometry);
    list->setItemDelegate(new ListRowDelegate(list));
    return list;
}

QListWidget* addHiddenList(QWidget* parent, const char* name) {
    auto* list = named(new QListWidget(parent), name);
    list->setFocusPolicy(Qt::NoFocus);
    list->hide();
    hideFromAssistiveTechnology(list);
    return list;
}

struct NamedButton {
    const char* name;
    QString caption;
};

struct ListPair {
    QListWidget* shown;
    QListWidget* hidden;
    QToolButton* add;
    QToolButton* remove;
};

// "Links" and "Bilder" hold their list pair alike: the shown list under its
// label, the add button beside the label and the delete button under the
// list's right end.
ListPair addListPair(QWidget* page, const QString& label, std::pair<const char*, const char*> lists,
                     const NamedButton& add, const NamedButton& remove) {
    addLabel(page, label, 16, 80);
    QListWidget* shown = addGrowingList(page, lists.first, {16, 96, 233, 73});
    shown->setAccessibleName(nameFromLabel(label));
    return {shown, addHiddenList(page, lists.second),
            addFlatButton(page, add.name, add.caption, {152, 72, 97, 25}),
            addFlatButton(page, remove.name, remove.caption, {152, 168, 97, 25})};
}

QPlainTextEdit* addHelpText(QWidget* page, const char* name, const QStringList& lines) {
    auto* memo = named(new QPlainTextEdit(page), name);
    memo->setPlainText(lines.join(QLatin1Char('\n')));
    memo->setReadOnly(true);
    memo->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    memo->setFocusPolicy(Qt::StrongFocus);
    memo->setTabChangesFocus(true);
    memo->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    memo->setWordWrapMode(QTextOption::WordWrap);
    memo->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    memo->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // 209 less the bar and a pixel on each side leaves 193 for the lines.
    memo->verticalScrollBar()->setStyle(helpScrollBarStyle());
    memo->document()->setDocumentMargin(1);
    memo->setGeometry(546, 0, 209, 365);
    memo->setAccessibleName(QStringLiteral("Hilfe"));
    blendIn(memo);
    return memo;
}

void addTitle(QWidget* page, const QString& text) {
    QLabel* title = addLabel(page, text, 16, 8);
    QFont f = fontOf(QStringLiteral("Times New Roman"), 48, false, true);
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
    painter.setPen(QPen(QColor(0x00, 0x80, 0x00), 2.6, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
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
    ui.hgb = addBox<QRadioButton>(p, "hgb", QStringLiteral("Hintergrundbild"), 16, 96);
    ui.hgf = addBox<QRadioButton>(p, "hgf", QStringLiteral("Hintergrundfarbe"), 16, 112);
    ui.Edit1 = addEdit(p, "Edit1", QStringLiteral("Dateiname:"), 16, 160, 169);
    ui.Edit14 = addEdit(p, "Edit14", QStringLiteral("Farbe (RRGGBB):"), 16, 208, 169);

    ui.GroupBox1 = named(new QGroupBox(QStringLiteral("Website"), p), "GroupBox1");
    ui.GroupBox1->setGeometry(16, 240, 169, 113);
    ui.GroupBox1->setStyle(wizardFrameStyle());
    QWidget* g = ui.GroupBox1;
    ui.Edit19 = addEdit(g, "Edit19", QStringLiteral("Dateiname:"), 8, 32, 153);
    ui.html = addBox<QRadioButton>(g, "html", QStringLiteral("Html"), 96, 64);
    ui.htm = addBox<QRadioButton>(g, "htm", QStringLiteral("Htm"), 96, 80);

    addLabel(p, QStringLiteral("CSS Style Sheets:"), 224, 80);
    ui.CSS = addBox<QCheckBox>(p, "CSS", QStringLiteral("CSS Style sheets verwenden"), 224, 96);
    addLabel(p, QStringLiteral("Farben (RRGGBB):"), 224, 120);
    ui.Edit15 = addEdit(p, "Edit15", QStringLiteral("Link:"), 224, 152, 121);
    ui.Edit16 = addEdit(p, "Edit16", QStringLiteral("Besuchter Link:"), 224, 200, 121);
    ui.Edit17 = addEdit(p, "Edit17", QStringLiteral("Maus überm Link:"), 224, 248, 121);
    ui.Edit18 = addEdit(p, "Edit18", QStringLiteral("Aktiver Link:"), 224, 296, 121);
    ui.fett = addBox<QCheckBox>(p, "fett", QStringLiteral("Fett"), 224, 328);

    addLabel(p, QStringLiteral("Entfernung zum Bildschirmrand:"), 384, 16);
    ui.SpinEdit4 = addSpin(p, "SpinEdit4", QStringLiteral("Horizontal:"), 384, 48, 121);
    ui.SpinEdit5 = addSpin(p, "SpinEdit5", QStringLiteral("Vertikal:"), 384, 96, 121);
    ui.Edit26 = addEdit(p, "Edit26", QStringLiteral("Breite der Tabelle:"), 384, 152, 121);
    ui.Edit27 = addEdit(p, "Edit27", QStringLiteral("Höhe der Tabelle:"), 384, 224, 121);
    for (const int top : {152, 224}) {
        QLabel* percent = addLabel(p, QStringLiteral("%"), 504, top);
        percent->setFont(fontOf(kFontFace, 16, true));
        percent->adjustSize();
        addLabel(p, QStringLiteral("des Bildschirms"), 384, top + 24);
    }
}

void buildHeadingPage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet2 = addPage(pages, "TabSheet2", QStringLiteral("Überschrift"));
    addTitle(p, QStringLiteral("Überschrift"));
    addHint(p, {QStringLiteral("Klicken Sie auf die Registrierlasche"), nextTabHint("Links")});
    ui.Memo2 = addHelpText(p, "Memo2", memo2Lines());

    ui.Edit2 = addEdit(p, "Edit2", QStringLiteral("Überschrift1:"), 16, 96, 233);
    ui.Edit5 = addEdit(p, "Edit5", QStringLiteral("Überschrift2:"), 16, 144, 233);
    addLabel(p, QStringLiteral("Größe (Überschrift 2):"), 16, 184);
    QRadioButton** sizes[] = {&ui.RadioButton1, &ui.RadioButton2, &ui.RadioButton3,
                              &ui.RadioButton4, &ui.RadioButton5, &ui.RadioButton6};
    for (int i = 0; i < 6; ++i) {
        const QByteArray name = "RadioButton" + QByteArray::number(i + 1);
        *sizes[i] =
            addBox<QRadioButton>(p, name.constData(), QString::number(i + 1), 16 + 40 * i, 208, 33);
    }
    ui.Edit20 = addEdit(p, "Edit20", QStringLiteral("Schriftfarbe (RRGGBB):"), 16, 248, 121);
    ui.Edit21 = addEdit(p, "Edit21", QStringLiteral("Schriftart:"), 16, 296, 121);
    ui.Edit8 = addEdit(p, "Edit8", QStringLiteral("Bild:"), 280, 96, 169);
    ui.eck = addBox<QCheckBox>(p, "eck", QStringLiteral("Eckbild"), 280, 128);
    ui.Edit9 = addEdit(p, "Edit9", QStringLiteral("Bild:"), 280, 168, 169);
    ui.SpinEdit1 = addSpin(p, "SpinEdit1", QStringLiteral("Minimale Höhe:"), 280, 216, 169);
}

void buildLinksPage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet3 = addPage(pages, "TabSheet3", QStringLiteral("Links"));
    addTitle(p, QStringLiteral("Links"));
    addHint(p, {QStringLiteral("Klicken Sie auf die Registrierlasche"), nextTabHint("Text")});
    ui.Memo3 = addHelpText(p, "Memo3", memo3Lines());

    const ListPair links = addListPair(p, QStringLiteral("Link:"), {"ListBox2", "ListBox5"},
                                       {"SpeedButton2", QStringLiteral("Neuer Link")},
                                       {"SpeedButton5", QStringLiteral("Link löschen")});
    ui.ListBox2 = links.shown;
    ui.ListBox5 = links.hidden;
    ui.SpeedButton2 = links.add;
    ui.SpeedButton5 = links.remove;
    ui.Edit3 = addEdit(p, "Edit3", QStringLiteral("Verweistext:"), 16, 208, 233);
    ui.Edit4 = addEdit(p, "Edit4", QStringLiteral("Verweisziel:"), 16, 248, 233);
    ui.Dots = addBox<QCheckBox>(p, "Dots", QStringLiteral("Dots"), 16, 272);
    ui.Edit6 = addEdit(p, "Edit6", 16, 296, 233);

    ui.lh = addBox<QCheckBox>(p, "lh", QStringLiteral("Link-Hintergrund"), 272, 72);
    ui.Edit7 = addEdit(p, "Edit7", QStringLiteral("Bild:"), 272, 112, 177);
    ui.SpinEdit2 = addSpin(p, "SpinEdit2", QStringLiteral("Minimalbreite:"), 272, 160, 121);
    ui.SpinEdit6 = addSpin(p, "SpinEdit6", QStringLiteral("Minimalhöhe:"), 272, 208, 121);
    ui.strecken = addBox<QCheckBox>(
        p, "strecken", QStringLiteral("\"Link-Leiste\" Bis zum unteren Bildschirmrand ziehen"), 272,
        248, 273);
    ui.zentrieren =
        addBox<QCheckBox>(p, "zentrieren", QStringLiteral("Links zentrieren"), 272, 280);
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

    ui.Button1 = addButton(p, "Button1", QStringLiteral("Hinzufügen"), {16, 64, 217, 25});
    ui.Button1->setDefault(true);
    ui.SpeedButton6 =
        addFlatButton(p, "SpeedButton6", QStringLiteral("Zeilenumbruch"), {16, 88, 217, 25});
    ui.Edit12 = addEdit(p, "Edit12", 16, 120, 217);
    ui.ListBox1 = addGrowingList(p, "ListBox1", {16, 144, 217, 121});
    ui.SpeedButton7 =
        addFlatButton(p, "SpeedButton7", QStringLiteral("Zeile löschen"), {144, 264, 89, 25});
    ui.SpeedButton8 =
        addFlatButton(p, "SpeedButton8", QStringLiteral("Alles löschen"), {144, 288, 89, 25});
    ui.Edit24 = addEdit(p, "Edit24", QStringLiteral("Schriftfarbe (RRGGBB):"), 16, 288, 121);
    ui.Edit25 = addEdit(p, "Edit25", QStringLiteral("Schriftart:"), 16, 336, 121);

    addLabel(p, QStringLiteral("Bild einfügen:"), 264, 72);
    ui.Edit13 = addEdit(p, "Edit13", QStringLiteral("Bild:"), 264, 112, 121);
    addLabel(p, QStringLiteral("Eigenschaften:"), 264, 144);
    ui.l = addToggle(p, "l", QStringLiteral("Linksbündig"), 160);
    ui.m = addToggle(p, "m", QStringLiteral("Mittig"), 184);
    ui.r = addToggle(p, "r", QStringLiteral("Rechtsbündig"), 208);
    ui.BitBtn8 = addInsertButton(p, "BitBtn8", 264, 240);

    addLabel(p, QStringLiteral("Link einfügen:"), 408, 72);
    ui.Edit22 = addEdit(p, "Edit22", QStringLiteral("Verweistext:"), 408, 112, 121);
    ui.Edit23 = addEdit(p, "Edit23", QStringLiteral("Verweisziel:"), 408, 152, 121);
    ui.BitBtn1 = addInsertButton(p, "BitBtn1", 408, 192);
}

void buildPicturesPage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet5 = addPage(pages, "TabSheet5", QStringLiteral("Bilder"));
    addTitle(p, QStringLiteral("Bilder"));
    addHint(p, {QStringLiteral("Klicken Sie auf Fertig, um den"),
                QStringLiteral("Assistenten zu beenden und ihre"),
                QStringLiteral("Website abzuspeichern.")});
    ui.Memo4 = addHelpText(p, "Memo4", memo4Lines());

    const ListPair pictures = addListPair(p, QStringLiteral("Bild:"), {"ListBox3", "ListBox6"},
                                          {"SpeedButton3", QStringLiteral("Neues Bild")},
                                          {"SpeedButton4", QStringLiteral("Bild löschen")});
    ui.ListBox3 = pictures.shown;
    ui.ListBox6 = pictures.hidden;
    ui.SpeedButton3 = pictures.add;
    ui.SpeedButton4 = pictures.remove;
    ui.Edit10 = addEdit(p, "Edit10", QStringLiteral("Bild:"), 16, 200, 121);
    ui.Edit11 = addEdit(p, "Edit11", QStringLiteral("Bildtext:"), 16, 248, 121);
    ui.SpinEdit3 =
        addSpin(p, "SpinEdit3", QStringLiteral("Zeilenumbrüche nach jedem Bild:"), 264, 136, 161);
}

void buildCodePage(QTabWidget* pages, WizardUi& ui) {
    QWidget* p = ui.TabSheet7 = addPage(pages, "TabSheet7", QStringLiteral("HTML Code"));
    ui.ListBox4 = addList(p, "ListBox4", {0, 0, 755, 365});
}

const QString kFinishCaption = QStringLiteral("F     E     R     T     I     G");

// Left over in the form behind the page control: never seen, never clicked.
void addCoveredControls(QWidget* window) {
    QWidget* covered[] = {addFlatButton(window, nullptr, kFinishCaption, {0, 368, 577, 25}),
                          addLabel(window, QStringLiteral("Überschrift1:"), 16, 376),
                          addLabel(window, QStringLiteral("Linkfarbe:"), 120, 376)};
    for (QWidget* w : covered) {
        w->lower();
        hideFromAssistiveTechnology(w);
    }
}

void addFinishButton(QWidget* window, WizardUi& ui) {
    ui.SpeedButton9 = addFlatButton(window, "SpeedButton9", kFinishCaption, {0, 400, 761, 30});
    ui.SpeedButton9->setFont(fontOf(kFontFace, 19, true, true));
    QPalette p = ui.SpeedButton9->palette();
    p.setColor(QPalette::ButtonText, QColor(0x00, 0x80, 0x00));
    ui.SpeedButton9->setPalette(p);
}

// For a screen reader: names for the fields without a label of their own, and
// for the two "Einfügen" buttons, which look alike; the heading a field stands
// under, where several fields share their label's text.
void setAccessibleTexts(const WizardUi& ui) {
    ui.Edit6->setAccessibleName(QStringLiteral("Dot-Bild"));
    ui.Edit12->setAccessibleName(QStringLiteral("Neue Textzeile"));
    ui.ListBox1->setAccessibleName(QStringLiteral("Textzeilen"));
    ui.ListBox4->setAccessibleName(QStringLiteral("HTML Code"));
    ui.BitBtn8->setAccessibleName(QStringLiteral("Bild einfügen"));
    ui.BitBtn1->setAccessibleName(QStringLiteral("Link einfügen"));
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
}

// A group of radio buttons is one Tab stop, at its selected button; the others
// still take the focus by a click. The explicit group keeps Qt from counting
// the radio buttons of a nested group box as members.
void oneTabStop(std::initializer_list<QRadioButton*> buttons) {
    auto* group = new QButtonGroup(buttons.begin()[0]->parentWidget());
    for (QRadioButton* button : buttons) {
        group->addButton(button);
        auto follow = [button](bool on) {
            button->setFocusPolicy(on ? Qt::StrongFocus : Qt::ClickFocus);
        };
        follow(button->isChecked());
        QObject::connect(button, &QRadioButton::toggled, button, follow);
    }
}

void chainFocus(std::initializer_list<QWidget*> widgets) {
    QWidget* previous = nullptr;
    for (QWidget* w : widgets) {
        if (previous != nullptr) QWidget::setTabOrder(previous, w);
        previous = w;
    }
}

// Hidden pages drop out of the chain, so Tab runs through the current page
// only, the tab strip first.
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
                ui.ListBox2,
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
                ui.ListBox1,
                ui.Edit13,
                ui.BitBtn8,
                ui.Edit22,
                ui.Edit23,
                ui.BitBtn1,
                ui.Edit24,
                ui.Edit25,
                ui.Edit10,
                ui.ListBox3,
                ui.Edit11,
                ui.Memo4,
                ui.SpinEdit3,
                ui.ListBox4});
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
    for (QWidget* page : {ui.TabSheet1, ui.TabSheet2, ui.TabSheet3, ui.TabSheet4, ui.TabSheet5})
        putFlatButtonsUnderneath(page);
    addCoveredControls(window);
    addFinishButton(window, ui);
    setWizardTabOrder(ui);
    setAccessibleTexts(ui);
}

}  // namespace velmora::ui
