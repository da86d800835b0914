// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Opening a page again through the real windows: every control shows the
// value the page carries and the finish writes the same bytes; a page named
// on the command line, Ctrl+O in the start window and a page dropped on
// either window open it; the questions before unsaved values or a foreign file are lost; a file
// that is no page changes nothing.
#include <QCheckBox>
#include <QDirIterator>
#include <QListView>
#include <QRadioButton>
#include <QSignalSpy>
#include <QToolButton>
#include <QUrl>

#include "generator/OutputFile.h"
#include "settings/Fields.h"
#include "test_wizard_support.h"
#include "ui/Application.h"
#include "ui/SpinEdit.h"
#include "wizard/PageFile.h"

using namespace velmora::ui;
using namespace velmora::ui::test;
using velmora::PageSettings;

namespace {

// The text fields of the next link, line and picture, which no page carries.
bool carried(const velmora::TextField& field) {
    for (const char* next : {"Edit12", "Edit13", "Edit22", "Edit23", "Edit10", "Edit11"}) {
        if (field.name == next) return false;
    }
    return true;
}

// A page with a value of its own in every field it carries, every box
// ticked that differs from its default, and every list filled. With a
// background picture it carries Edit1, with a colour Edit14.
PageSettings distinctPage(bool picture) {
    PageSettings s;
    int n = 0;
    for (const velmora::TextField& f : velmora::kTextFields) {
        if (carried(f)) s.*f.member = std::string(f.name) + "-Wert-ä" + std::to_string(++n);
    }
    s.Edit19 = "meine Seite ä";
    s.hgb = picture;
    s.html = false;
    s.CSS = s.eck = s.Dots = s.lh = s.strecken = s.zentrieren = true;
    s.fett = false;
    s.Edit7 = "lbg-eigen.jpg";  // shown on the links and the filler alike
    for (const velmora::SpinEditField& f : velmora::kSpinFields) (s.*f.member).setValue(++n);
    s.SpinEdit3.setValue(2);
    s.HeadingSize = 6;
    s.ListBox2.items = {"Home", "Über uns", "Kontakt"};
    s.ListBox5.items = {"index.html", "ueber.html", "kontakt.html"};
    s.ListBox1.items = {"Willkommen", "<br>", R"(<a href="x.html">x</a>)"};
    s.ListBox3.items = {"a.jpg", "b.gif"};
    s.ListBox6.items = {"Am Meer", ""};
    // what the finish leaves in the link fields
    s.Edit3 = s.ListBox2.items.back();
    s.Edit4 = s.ListBox5.items.back();
    return s;
}

QByteArray pageBytes(const PageSettings& s) {
    velmora::CodeList lines;
    velmora::writePage(s, lines);
    return QByteArray::fromStdString(velmora::composeFileBytes(lines.lines()));
}

void writeFile(const QString& path, const QByteArray& bytes) {
    QDir().mkpath(QFileInfo(path).path());
    QFile f(path);
    if (f.open(QIODevice::WriteOnly)) f.write(bytes);
}

QByteArray readFile(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QString q(const std::string& s) { return QString::fromStdString(s); }

QMimeData* filesOf(const QString& path) {
    auto* data = new QMimeData;
    data->setUrls({QUrl::fromLocalFile(path)});
    data->setText(path);  // as file managers send it too
    return data;
}

// Every signal by which a control tells the settings that the user changed
// it; a value the window only shows must raise none of them. (A list's
// selection, shown from the settings, reaches its view through the view's
// selection model, which the list's binding does not take back then: the
// settings' selections are checked instead.)
class ChangeSignals {
public:
    explicit ChangeSignals(const QWidget& window) {
        for (QLineEdit* edit : window.findChildren<QLineEdit*>()) {
            if (qobject_cast<SpinEdit*>(edit->parentWidget()) == nullptr)
                watch(edit, &QLineEdit::textChanged);
        }
        for (SpinEdit* spin : window.findChildren<SpinEdit*>()) watch(spin, &SpinEdit::changed);
        for (QAbstractButton* button : window.findChildren<QAbstractButton*>())
            watch(button, &QAbstractButton::toggled);
    }
    [[nodiscard]] QStringList seen() const {
        QStringList names;
        for (const auto& [object, spy] : spies_) {
            if (!spy->isEmpty()) names << object->objectName();
        }
        return names;
    }

private:
    template <typename O, typename Signal>
    void watch(O* object, Signal signal) {
        spies_.emplace_back(object, std::make_unique<QSignalSpy>(object, signal));
    }
    std::vector<std::pair<QObject*, std::unique_ptr<QSignalSpy>>> spies_;
};

const QString kUnsaved = QStringLiteral(
    "Die Eingaben im Assistenten sind noch nicht gespeichert. Trotzdem die Seite öffnen?");

}  // namespace

class WizardOpenTest : public WizardTest {
    Q_OBJECT
    QString start_;  // the page's folder each test starts in

    // The page under its own name in a folder beside the working directory.
    QString placePage(const PageSettings& s) {
        const QString path =
            QDir(start_).filePath(QStringLiteral("../seiten/") + q(velmora::outputFileName(s)));
        writeFile(path, pageBytes(s));
        return QFileInfo(path).absoluteFilePath();
    }

    void verifyShows(const PageSettings& s) {
        const auto named = [](std::string_view n) { return std::string(n); };
        for (const velmora::TextField& f : velmora::kTextFields) {
            if (!carried(f) || f.name == (s.hgb ? "Edit14" : "Edit1")) continue;  // not on the page
            QCOMPARE(edit(named(f.name).c_str())->text(), q(s.*f.member));
        }
        for (const velmora::TickField& f : velmora::kTickFields)
            QCOMPARE(c<QAbstractButton>(named(f.name).c_str())->isChecked(), s.*f.member);
        QCOMPARE(c<QRadioButton>("hgb")->isChecked(), s.hgb);
        QCOMPARE(c<QRadioButton>("hgf")->isChecked(), !s.hgb);
        QCOMPARE(c<QRadioButton>("html")->isChecked(), s.html);
        QCOMPARE(c<QRadioButton>("htm")->isChecked(), !s.html);
        for (const velmora::SpinEditField& f : velmora::kSpinFields)
            QCOMPARE(c<SpinEdit>(named(f.name).c_str())->typedText(), q((s.*f.member).text));
        for (int size = 1; size <= 6; ++size) {
            const QByteArray name = "RadioButton" + QByteArray::number(size);
            QCOMPARE(c<QRadioButton>(name.constData())->isChecked(), size == s.HeadingSize);
        }
        QCOMPARE(rows(list("ListBox2")), entries(s.ListBox2));
        QCOMPARE(rows(list("ListBox1")), entries(s.ListBox1));
        QCOMPARE(rows(list("ListBox3")), entries(s.ListBox3));
        for (const char* name : {"ListBox2", "ListBox1", "ListBox3"})
            QCOMPARE(currentRow(list(name)), count(list(name)) - 1);
        const PageSettings& held = w_->settings();
        for (const velmora::StringList* shown : {&held.ListBox2, &held.ListBox1, &held.ListBox3})
            QCOMPARE(shown->selected, shown->count() - 1);
        velmora::CodeList page;
        velmora::writePage(s, page);
        QStringList lines;
        for (const std::string& line : page.lines()) lines << q(line);
        QCOMPARE(rows(list("ListBox4")), lines);
    }

private slots:
    void init() {
        dir_ = std::make_unique<ScratchDirectory>();
        QVERIFY(QDir().mkpath(dir_->filePath(QStringLiteral("start"))));
        start_ = QFileInfo(dir_->filePath(QStringLiteral("start"))).canonicalFilePath();
        w_ = shownWizard(start_);
        QVERIFY(w_);
    }
    void cleanup() {
        w_.reset();
        dir_.reset();
    }

    void everyControlShowsThePageAndTheFinishWritesItBack_data() {
        QTest::addColumn<bool>("picture");
        QTest::newRow("background picture") << true;
        QTest::newRow("background colour") << false;
    }
    void everyControlShowsThePageAndTheFinishWritesItBack() {
        QFETCH(bool, picture);
        const PageSettings s = distinctPage(picture);
        const QString path = placePage(s);
        QCOMPARE(QFileInfo(path).fileName(), QStringLiteral("meine Seite ä.htm"));
        BoxAnswerer boxes;
        const ChangeSignals reported(*w_);
        w_->openPage(path, w_.get());
        QCOMPARE(boxes.seen.size(), 0);            // a fresh wizard has nothing to lose
        QCOMPARE(reported.seen(), QStringList());  // shown, not written back
        QCOMPARE(w_->pageFolder(), QFileInfo(path).path());
        QCOMPARE(QDir::currentPath(),
                 QFileInfo(path).path());  // which the working directory follows
        verifyShows(s);

        VELMORA_CLICK(button("SpeedButton9"));
        QVERIFY(!w_->isVisible());
        QCOMPARE(boxes.seen.size(), 0);
        QCOMPARE(readFile(path), pageBytes(s));
        QCOMPARE(QDir(QFileInfo(path).path()).entryList(QDir::Files | QDir::Hidden).size(), 1);
        QCOMPARE(QDir(start_).entryList(QDir::Files | QDir::Hidden), QStringList());
    }

    void fileThatIsNoPageChangesNothing() {
        typeInto(edit("Edit2"), QStringLiteral("Mein Titel"));
        const PageSettings before = w_->settings();
        const QString foreign = QDir(start_).filePath(QStringLiteral("../fremd/index.html"));
        const QByteArray bytes("<!DOCTYPE html>\r\n<html><body>Meine Seite</body></html>\r\n");
        writeFile(foreign, bytes);
        // cut after its twelfth line
        const QString cut = QDir(start_).filePath(QStringLiteral("../seiten/kurz.html"));
        const QByteArray whole = pageBytes(distinctPage(true));
        qsizetype end = 0;
        for (int i = 0; i < 12; ++i) end = whole.indexOf("\r\n", end) + 2;
        writeFile(cut, whole.left(end));
        for (const auto& [path, message] :
             {std::pair{foreign, QStringLiteral("index.html ist keine Seite, die Velmora "
                                                "geschrieben hat (Zeile 1)")},
              {cut, QStringLiteral("kurz.html ist keine Seite, die Velmora geschrieben hat "
                                   "(Zeile 13)")}}) {
            BoxAnswerer boxes;
            w_->openPage(path, w_.get());
            QCOMPARE(boxes.seen.size(), 1);
            QCOMPARE(boxes.seen.front().text, message);
            QCOMPARE(boxes.seen.front().icon, QMessageBox::Critical);
        }
        QVERIFY(w_->settings() == before);
        QCOMPARE(edit("Edit2")->text(), QStringLiteral("Mein Titel"));
        QCOMPARE(w_->pageFolder(), start_);
        QCOMPARE(readFile(foreign), bytes);
    }

    void unsavedValuesAreAskedFor() {
        const QString path = placePage(distinctPage(true));
        typeInto(edit("Edit2"), QStringLiteral("Noch nicht gespeichert"));
        {
            BoxAnswerer boxes;
            boxes.answers = {QStringLiteral("Nein")};
            w_->openPage(path, w_.get());
            QCOMPARE(boxes.seen.size(), 1);
            QCOMPARE(boxes.seen.front().text, kUnsaved);
            QCOMPARE(boxes.seen.front().icon, QMessageBox::Question);
            QCOMPARE(boxes.seen.front().buttons,
                     (QStringList{QStringLiteral("Ja"), QStringLiteral("Nein")}));
            QCOMPARE(boxes.seen.front().defaultButton, QStringLiteral("Nein"));
        }
        QCOMPARE(edit("Edit2")->text(), QStringLiteral("Noch nicht gespeichert"));
        QCOMPARE(w_->pageFolder(), start_);
        {
            BoxAnswerer boxes;
            boxes.answers = {QStringLiteral("Ja")};
            w_->openPage(path, w_.get());
            QCOMPARE(boxes.seen.size(), 1);
        }
        QCOMPARE(edit("Edit2")->text(), QString::fromStdString(distinctPage(true).Edit2));
        // opened, so nothing is lost by opening it again; a change is
        typeInto(edit("Edit17"), QStringLiteral("#123456"));
        BoxAnswerer boxes;
        boxes.answers = {QStringLiteral("Nein")};
        w_->openPage(path, w_.get());
        QCOMPARE(boxes.seen.size(), 1);
        QCOMPARE(edit("Edit17")->text(), QStringLiteral("#123456"));
    }

    void foreignFileIsReplacedOnlyAfterYes() {
        const QByteArray own("<html><body>Von Hand geschrieben</body></html>\n");
        const QString index = QDir(start_).filePath(QStringLiteral("index.html"));
        writeFile(index, own);
        {
            BoxAnswerer boxes;
            boxes.answers = {QStringLiteral("Nein")};
            VELMORA_CLICK(button("SpeedButton9"));
            QCOMPARE(boxes.seen.size(), 1);
            QCOMPARE(boxes.seen.front().text,
                     QStringLiteral("index.html ist keine Seite, die Velmora geschrieben hat. "
                                    "Trotzdem ersetzen?"));
            QCOMPARE(boxes.seen.front().defaultButton, QStringLiteral("Nein"));
        }
        QVERIFY(w_->isVisible());
        QCOMPARE(readFile(index), own);
        QCOMPARE(count(list("ListBox4")), 0);
        {
            BoxAnswerer boxes;
            boxes.answers = {QStringLiteral("Ja")};
            VELMORA_CLICK(button("SpeedButton9"));
            QCOMPARE(boxes.seen.size(), 1);
        }
        QVERIFY(!w_->isVisible());
        QCOMPARE(readFile(index), pageBytes(PageSettings{}));
        // written in this run: replaced again without a question
        w_->show();
        BoxAnswerer boxes;
        VELMORA_CLICK(button("SpeedButton9"));
        QCOMPARE(boxes.seen.size(), 0);
        QVERIFY(!w_->isVisible());
    }

    // On the wizard a page dropped opens anywhere but on a picture field,
    // which takes it as a picture.
    void pageDroppedOnTheWizard() {
        const PageSettings s = distinctPage(true);
        const QString path = placePage(s);
        std::unique_ptr<QMimeData> files(filesOf(path));
        clickTab(*w_, Links);
        QVERIFY(drop(edit("Edit3"), *files, {5, 5}));  // a field that takes text
        QTRY_COMPARE(w_->pageFolder(), QFileInfo(path).path());
        verifyShows(s);

        // a fresh wizard in another folder than the working directory, which
        // the page opened moved: the picture's name is made from the page's
        w_ = shownWizard(start_);
        clickTab(*w_, General);
        QVERIFY(drop(edit("Edit1"), *files, {5, 5}));  // a picture field
        QCoreApplication::processEvents();
        QCOMPARE(edit("Edit1")->text(), QStringLiteral("../seiten/meine Seite ä.htm"));
        QCOMPARE(w_->pageFolder(), start_);
        // the picture just chosen is not saved: the drop asks first
        BoxAnswerer boxes;
        boxes.answers = {QStringLiteral("Ja")};
        QVERIFY(drop(pages(*w_)->currentWidget(), *files, {300, 200}));  // the page itself
        QTRY_COMPARE(w_->pageFolder(), QFileInfo(path).path());
        QCOMPARE(boxes.seen.size(), 1);
        QCOMPARE(boxes.seen.front().text, kUnsaved);
    }

    // The start window: Ctrl+O and the dialog, a page dropped on it, and
    // the command line; each shows the wizard in front with the page.
    void pageOpenedFromTheStartWindow() {
        w_.reset();
        const PageSettings s = distinctPage(true);
        const QString path = placePage(s);
        for (const char* way : {"Ctrl+O", "drop", "command line"}) {
            Shell shell(start_);
            shell.start(readCommandLine({QStringLiteral("Velmora"),
                                         way == std::string("command line") ? path : QString()}));
            QVERIFY(QTest::qWaitForWindowExposed(&shell.Form1));
            if (way == std::string("Ctrl+O")) {
                DialogAnswer answer(path);
                shell.Form1.activateWindow();
                QVERIFY(QTest::qWaitForWindowActive(&shell.Form1));
                QTest::keyClick(&shell.Form1, Qt::Key_O, Qt::ControlModifier);
                QTRY_VERIFY(answer.answered());
                QCOMPARE(answer.title, QStringLiteral("Seite öffnen"));
                QCOMPARE(answer.filters, (QStringList{QStringLiteral("Seiten (*.html *.htm)"),
                                                      QStringLiteral("Alle Dateien (*)")}));
                QCOMPARE(answer.folder, QDir(start_).canonicalPath());
            } else if (way == std::string("drop")) {
                std::unique_ptr<QMimeData> files(filesOf(path));
                QVERIFY(drop(&shell.Form1, *files, {20, 20}));
            }
            QTRY_VERIFY2(shell.Form3.isVisible(), way);
            QTRY_COMPARE(QApplication::activeWindow(), &shell.Form3);
            QCOMPARE(QString::fromStdString(shell.Form3.settings().Edit2), q(s.Edit2));
            QCOMPARE(shell.Form3.pageFolder(), QFileInfo(path).path());
        }
    }
};

QTEST_MAIN(WizardOpenTest)
#include "test_wizard_open.moc"
