// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Choosing the pictures of the seven picture fields as a user does: the icon
// and the file dialog, Ctrl+O, files and text dropped on a field. The names
// they give must reach the page exactly as the same names typed.
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QMimeData>
#include <QPushButton>
#include <QToolButton>
#include <QUrl>
#include <map>
#include <utility>

#include "test_wizard_support.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

// A site folder "seite", the page's folder (the working directory is
// elsewhere), with pictures in and below it; a folder "aussen" beside it;
// "verweis", a link to "seite/bilder".
class Site {
public:
    Site() {
        QDir root(dir_.path());
        for (const char* folder : {"seite/bilder", "aussen"})
            root.mkpath(QString::fromUtf8(folder));
        for (const char* file : {"seite/dot.gif", "seite/bilder/sonne.png",
                                 "seite/bilder/Blüte am Meer.jpg", "aussen/ferne.png"}) {
            QFile picture(root.filePath(QString::fromUtf8(file)));
            if (picture.open(QIODevice::WriteOnly)) picture.write("GIF89a");
        }
        QFile::link(root.filePath(QStringLiteral("seite/bilder")),
                    root.filePath(QStringLiteral("verweis")));
    }
    Site(const Site&) = delete;
    Site& operator=(const Site&) = delete;

    /// The absolute path of a file below the site's root, as the dialog and
    /// a file manager hand it over.
    [[nodiscard]] QString path(const QString& part) const {
        return QDir(dir_.path()).filePath(part);
    }
    /// The page's folder.
    [[nodiscard]] QString folder() const { return path(QStringLiteral("seite")); }

private:
    QTemporaryDir dir_;
};

using Setting = std::string velmora::PageSettings::*;

const std::map<QString, std::pair<Page, Setting>>& pictureFields() {
    using S = velmora::PageSettings;
    static const std::map<QString, std::pair<Page, Setting>> fields = {
        {QStringLiteral("Edit1"), {General, &S::Edit1}},
        {QStringLiteral("Edit8"), {Heading, &S::Edit8}},
        {QStringLiteral("Edit9"), {Heading, &S::Edit9}},
        {QStringLiteral("Edit6"), {Links, &S::Edit6}},
        {QStringLiteral("Edit7"), {Links, &S::Edit7}},
        {QStringLiteral("Edit13"), {Text, &S::Edit13}},
        {QStringLiteral("Edit10"), {Pictures, &S::Edit10}},
    };
    return fields;
}

QToolButton* iconOf(const QLineEdit* field) { return field->findChild<QToolButton*>(); }

// Where the dialog must open for a field that holds `name`: in the name's
// folder where it exists, else in the page's folder.
QString folderOf(const QString& name, const QString& pageFolder) {
    const QDir folder(QDir(pageFolder).filePath(QFileInfo(name).path()));
    return folder.exists() ? folder.canonicalPath() : QDir(pageFolder).canonicalPath();
}

// A key reaches a field's shortcut only while its window is active, which the
// window is again once a dialog over it has closed.
void pressCtrlO(QLineEdit* field) {
    field->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(field->window()));
    field->setFocus();
    QTest::keyClick(field, Qt::Key_O, Qt::ControlModifier);
}

// The page a finish wrote into `folder`, removed for the next.
QByteArray takePage(const QString& folder) {
    QFile page(QDir(folder).filePath(QStringLiteral("index.html")));
    if (!page.open(QIODevice::ReadOnly)) return {};
    QByteArray bytes = page.readAll();
    page.remove();
    return bytes;
}

// How a step gives a field its name: one of the ways to choose, or typing.
enum class Way { Icon, CtrlO, Drop, Type };

struct Step {
    const char* field;
    Way way;
    const char* file;  // below the site's root
    const char* name;  // what a user would type instead
};

}  // namespace

class WizardPicturesTest : public WizardTest {
    Q_OBJECT
    std::unique_ptr<Site> site_;
    QTemporaryDir config_;

    [[nodiscard]] QString settingOf(const QString& field) const {
        return QString::fromStdString(w_->settings().*pictureFields().at(field).second);
    }

    // Gives the field its name the given way; a drop lands at the text's
    // left end.
    void enter(const Step& step, Way way) {
        QLineEdit* field = edit(step.field);
        clickTab(*w_, pictureFields().at(QString::fromLatin1(step.field)).first);
        const QString file = site_->path(QString::fromUtf8(step.file));
        if (way == Way::Type) {
            typeInto(field, QString::fromUtf8(step.name));
        } else if (way == Way::Drop) {
            QMimeData files;
            files.setUrls({QUrl::fromLocalFile(file)});
            QVERIFY(drop(field, files, {2, field->height() / 2}));
        } else {
            DialogAnswer answer(file);
            if (way == Way::Icon) {
                VELMORA_CLICK(iconOf(field));
            } else {
                pressCtrlO(field);
            }
            QTRY_VERIFY(answer.answered());
        }
    }

    // Fills every picture field in a new wizard, ticks what shows the
    // pictures, adds the picture and inserts the one in the text, and
    // finishes.
    void finishWith(const std::vector<Step>& steps, bool typed) {
        w_ = shownWizard(site_->folder());
        QVERIFY(w_);
        for (const Step& step : steps) {
            enter(step, typed ? Way::Type : step.way);
            if (QTest::currentTestFailed()) return;
        }
        clickTab(*w_, Heading);
        VELMORA_CLICK(button("eck"));
        clickTab(*w_, Links);
        VELMORA_CLICK(button("Dots"));
        VELMORA_CLICK(button("lh"));
        VELMORA_CLICK(button("SpeedButton2"));
        clickTab(*w_, Text);
        VELMORA_CLICK(button("BitBtn8"));
        clickTab(*w_, Pictures);
        VELMORA_CLICK(button("SpeedButton3"));
        VELMORA_CLICK(button("SpeedButton9"));
    }

private slots:
    void initTestCase() {
        // The test drives the dialog as widgets; the program leaves the
        // choice to the desktop.
        QApplication::setAttribute(Qt::AA_DontUseNativeDialogs);
        // Qt's dialog keeps the folders it showed in the user's settings:
        // here in a folder of the test's own.
        QVERIFY(config_.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(config_.path()));
    }
    void init() {
        site_ = std::make_unique<Site>();
        w_ = shownWizard(site_->folder());
        QVERIFY(w_);
    }
    void cleanup() {
        w_.reset();
        site_.reset();
    }

    void eachFieldTakesTheChosenNameAndCancelKeepsIt_data() {
        QTest::addColumn<QString>("file");
        QTest::addColumn<QString>("name");
        const auto row = [](const char* field, const char* file, const char* name) {
            QTest::newRow(field) << QString::fromUtf8(file) << QString::fromUtf8(name);
        };
        row("Edit1", "seite/bilder/sonne.png", "bilder/sonne.png");
        row("Edit8", "aussen/ferne.png", "../aussen/ferne.png");
        row("Edit9", "verweis/sonne.png", "bilder/sonne.png");
        row("Edit6", "seite/dot.gif", "dot.gif");
        row("Edit7", "seite/bilder/Blüte am Meer.jpg", "bilder/Blüte am Meer.jpg");
        row("Edit13", "aussen/ferne.png", "../aussen/ferne.png");
        row("Edit10", "verweis/sonne.png", "bilder/sonne.png");
    }
    void eachFieldTakesTheChosenNameAndCancelKeepsIt() {
        const QString field = QString::fromLatin1(QTest::currentDataTag());
        QFETCH(QString, file);
        QFETCH(QString, name);
        QLineEdit* e = edit(field.toLatin1().constData());
        const QString before = e->text();
        clickTab(*w_, pictureFields().at(field).first);
        QCOMPARE(iconOf(e)->toolTip(), QStringLiteral("Bild auswählen … (Strg+O)"));

        DialogAnswer chosen(site_->path(file));
        VELMORA_CLICK(iconOf(e));
        QTRY_VERIFY(chosen.answered());
        QCOMPARE(chosen.title, QStringLiteral("Bild auswählen"));
        const QString pictures = QStringLiteral(
            "Bilder (*.png *.jpg *.jpeg *.gif *.webp *.heic *.heif *.tif *.tiff *.svg *.bmp "
            "*.ico)");
        QCOMPARE(chosen.filters, (QStringList{pictures, QStringLiteral("Alle Dateien (*)")}));
        QCOMPARE(chosen.folder, folderOf(before, site_->folder()));
        QCOMPARE(e->text(), name);
        QCOMPARE(settingOf(field), name);

        DialogAnswer cancelled{QString()};
        pressCtrlO(e);
        QTRY_VERIFY(cancelled.answered());
        QCOMPARE(cancelled.folder, folderOf(name, site_->folder()));
        QCOMPARE(e->text(), name);
        QCOMPARE(settingOf(field), name);

        // entered as typed: one undo step brings the old text back
        QTest::keyClick(e, Qt::Key_Z, Qt::ControlModifier);
        QCOMPARE(e->text(), before);
        QCOMPARE(settingOf(field), before);
    }

    void ctrlOOpensNothingInOtherFields() {
        clickTab(*w_, Pictures);
        DialogAnswer answer(site_->path(QStringLiteral("seite/dot.gif")));
        pressCtrlO(edit("Edit11"));
        // the one pass in which a dialog would open, and be answered
        QCoreApplication::processEvents();
        QVERIFY(!answer.answered());
        QCOMPARE(edit("Edit11")->text(), QString());
        QCOMPARE(QApplication::activeModalWidget(), nullptr);
    }

    // A dropped item is a web address or a file below the site's root.
    void drops_data() {
        QTest::addColumn<QStringList>("items");
        QTest::addColumn<QString>("text");
        QTest::addColumn<QString>("shown");
        const QString web = QStringLiteral("https://example.invalid/bild.png");
        QTest::newRow("a file") << QStringList{"aussen/ferne.png"} << QString()
                                << "../aussen/ferne.png";
        QTest::newRow("the first of several files")
            << QStringList{"verweis/sonne.png", "seite/dot.gif"} << QString() << "bilder/sonne.png";
        QTest::newRow("text") << QStringList{} << "blau"
                              << "blaualt.jpg";
        QTest::newRow("a web address, as a browser drops it")
            << QStringList{web} << web << web + "alt.jpg";
        QTest::newRow("a web address before a file")
            << QStringList{web, "seite/dot.gif"} << web << web + "alt.jpg";
    }
    void drops() {
        QFETCH(QStringList, items);
        QFETCH(QString, text);
        QFETCH(QString, shown);
        clickTab(*w_, Pictures);
        QLineEdit* field = edit("Edit10");
        typeInto(field, QStringLiteral("alt.jpg"));
        QList<QUrl> urls;
        for (const QString& item : items) {
            urls << (item.contains(QStringLiteral("://")) ? QUrl(item)
                                                          : QUrl::fromLocalFile(site_->path(item)));
        }
        QMimeData data;
        if (!urls.isEmpty()) data.setUrls(urls);
        if (!text.isEmpty()) data.setText(text);
        QVERIFY(drop(field, data, {2, field->height() / 2}));
        QCOMPARE(field->text(), shown);
        QCOMPARE(settingOf(QStringLiteral("Edit10")), shown);
    }

    // Every way of choosing in one wizard, typing in another: the same page.
    void chosenNamesGiveThePageOfTypedNames() {
        const std::vector<Step> steps = {
            {"Edit1", Way::Icon, "seite/bilder/sonne.png", "bilder/sonne.png"},
            {"Edit8", Way::CtrlO, "aussen/ferne.png", "../aussen/ferne.png"},
            {"Edit9", Way::Drop, "verweis/sonne.png", "bilder/sonne.png"},
            {"Edit6", Way::Icon, "seite/dot.gif", "dot.gif"},
            {"Edit7", Way::Drop, "seite/bilder/Blüte am Meer.jpg", "bilder/Blüte am Meer.jpg"},
            {"Edit13", Way::CtrlO, "verweis/sonne.png", "bilder/sonne.png"},
            {"Edit10", Way::Icon, "aussen/ferne.png", "../aussen/ferne.png"},
        };
        finishWith(steps, false);
        QVERIFY(!QTest::currentTestFailed());
        const QByteArray chosen = takePage(site_->folder());
        finishWith(steps, true);
        QVERIFY(!QTest::currentTestFailed());
        const QByteArray typed = takePage(site_->folder());
        QVERIFY(chosen.contains("<img src=\"../aussen/ferne.png\">"));
        QVERIFY(chosen.contains("background=\"bilder/Bl&#252;te am Meer.jpg\""));
        QCOMPARE(chosen, typed);
    }
};

QTEST_MAIN(WizardPicturesTest)
#include "test_wizard_pictures.moc"
