// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The finish as a user runs it: from every page, the file it writes byte for
// byte, "HTML Code", the hidden wizard and "Start", and a finish that fails.
#include <QCheckBox>
#include <QListView>
#include <QRadioButton>
#include <functional>

#include "test_wizard_support.h"
#include "ui/SpinEdit.h"
#include "ui/TForm1.h"

using namespace velmora::ui;
using namespace velmora::ui::test;

namespace {

QStringList linesOf(const velmora::CodeList& code) {
    QStringList result;
    for (const std::string& line : code.lines()) result << QString::fromStdString(line);
    return result;
}

// The page of a wizard at its defaults, up to the end of the heading row.
QList<QByteArray> defaultHead() {
    return {"<html>",
            "<head><title>Neue Seite</title>",
            "</head>",
            "<body background=\"hintergrund.jpg\" topmargin=\"0\" leftmargin=\"0\">",
            "<table cellspacing=\"0\" cellpadding=\"0\" height=\"50%\" width=\"50%\">",
            "<tr>",
            "<th height=\"0\">",
            "</th>",
            "<td><b>",
            "<font size=\"5\" color=\"#000000\" face=\"Arial\">Neue Seite</font></b>",
            "<img src=\"bild.jpg\" align=\"middle\">",
            "</td>",
            "</tr>"};
}

const QList<QByteArray> kDefaultLink = {
    "<tr>", "<td height=\"0\" width=\"0\"><a href=\"verweisziel.html\">Link</a></td>", "</tr>",
    "<tr><td height=\"100%\">&nbsp;</td></tr>"};
const QList<QByteArray> kEnd = {"</table>", "</body>", "</html>"};

struct FinishCase {
    const char* name;
    int page;  // the page the finish is clicked on
    std::function<void(TForm3&)> fill;
    QString file;
    QList<QByteArray> lines;
};

void click(const QWidget& w, const char* name) {
    QTest::mouseClick(control<QAbstractButton>(w, name), Qt::LeftButton);
}
void type(const QWidget& w, const char* name, const QString& text) {
    typeInto(control<QWidget>(w, name), text);
}

const std::vector<FinishCase>& finishCases() {
    static const std::vector<FinishCase> cases = {
        {"Allgemeine Einstellungen", General,
         [](TForm3& w) {
             clickTab(w, General);
             click(w, "hgf");
             type(w, "Edit14", QStringLiteral("#FFCC00"));
             click(w, "CSS");
             click(w, "fett");
             type(w, "Edit15", QStringLiteral("#0000FF"));
             type(w, "SpinEdit4", QStringLiteral("5"));
             type(w, "SpinEdit5", QStringLiteral("-4"));
             type(w, "Edit26", QStringLiteral("80"));
             type(w, "Edit27", QStringLiteral("100"));
             type(w, "Edit19", QStringLiteral("start"));
             click(w, "htm");
             clickTab(w, Links);
             click(w, "SpeedButton2");
             clickTab(w, General);
         },
         QStringLiteral("start.htm"),
         QList<QByteArray>{
             "<html>", "<head><title>Neue Seite</title>", "<style type=\"text/css\"><!--",
             "a:link { text-decoration:none; color:#0000FF; }",
             "a:visited { text-decoration:none; color:#000000; }",
             "a:hover { text-decoration:none; color:#000000; }",
             "a:active { text-decoration:none; color:#000000; }", "--></style>", "</head>",
             "<body bgcolor=\"#FFCC00\" topmargin=\"-4\" leftmargin=\"5\">",
             "<table cellspacing=\"0\" cellpadding=\"0\" height=\"100%\" width=\"80%\">"} +
             defaultHead().mid(5) + kDefaultLink + kEnd},
        {"Überschrift", Heading,
         [](TForm3& w) {
             clickTab(w, Links);
             click(w, "SpeedButton2");
             clickTab(w, Heading);
             type(w, "Edit2", QStringLiteral("Meine Seite"));
             type(w, "Edit5", QStringLiteral("Über uns – 5 €"));
             click(w, "RadioButton6");
             type(w, "Edit20", QStringLiteral("#FF0000"));
             type(w, "Edit8", QString());
             click(w, "eck");
             type(w, "SpinEdit1", QStringLiteral("007"));
         },
         QStringLiteral("index.html"),
         defaultHead().mid(0, 1) + QList<QByteArray>{"<head><title>Meine Seite</title>"} +
             defaultHead().mid(2, 4) +
             QList<QByteArray>{"<th height=\"7\">", "<img src=\"eckbild.jpg\"></th>", "<td><b>",
                               QByteArray("<font size=\"10\" color=\"#FF0000\" face=\"Arial\">"
                                          "&#220;ber uns &#8211; 5 &#8364;</font></b>"),
                               "</td>", "</tr>"} +
             kDefaultLink + kEnd},
        {"Links", Links,
         [](TForm3& w) {
             clickTab(w, Links);
             type(w, "Edit3", QStringLiteral("Home"));
             type(w, "Edit4", QStringLiteral("index.html"));
             click(w, "SpeedButton2");
             type(w, "Edit3", QStringLiteral("Kontakt"));
             type(w, "Edit4", QStringLiteral("kontakt.html"));
             click(w, "SpeedButton2");
             click(w, "Dots");
             click(w, "zentrieren");
             type(w, "SpinEdit2", QStringLiteral("120"));
             click(w, "strecken");
         },
         QStringLiteral("index.html"),
         defaultHead() +
             QList<QByteArray>{
                 "<tr>",
                 QByteArray("<td height=\"0\" width=\"120\"><center><img src=\"dot.jpg\" "
                            "align=\"middle\"><a href=\"index.html\">Home</a></center></td>"),
                 "</tr>", "<tr>",
                 QByteArray("<td height=\"0\" width=\"120\"><center><img src=\"dot.jpg\" "
                            "align=\"middle\"><a href=\"kontakt.html\">Kontakt</a></center></td>"),
                 "</tr>", "<tr><td height=\"100%\" background=\"lbg.jpg\">&nbsp;</td></tr>"} +
             kEnd},
        {"Text", Text,
         [](TForm3& w) {
             clickTab(w, Links);
             click(w, "SpeedButton2");
             clickTab(w, Text);
             type(w, "Edit12", QStringLiteral("Willkommen"));
             QTest::keyClick(control<QWidget>(w, "Edit12"), Qt::Key_Return);
             click(w, "BitBtn1");
             type(w, "Edit24", QStringLiteral("#333333"));
         },
         QStringLiteral("index.html"),
         defaultHead() +
             QList<QByteArray>{"<tr>",
                               QByteArray("<td height=\"0\" width=\"0\"><a "
                                          "href=\"verweisziel.html\">Link</a></td>"),
                               "<td valign=\"top\" rowspan=\"2\">",
                               "<font color=\"#333333\" face=\"Arial\">", " &nbsp; Willkommen",
                               " &nbsp; <a href=\"seite.html\">Link</a>", "</font>", "</td>",
                               "</tr>", "<tr><td height=\"100%\">&nbsp;</td></tr>"} +
             kEnd},
        {"Bilder", Pictures,
         [](TForm3& w) {
             clickTab(w, Links);
             click(w, "SpeedButton2");
             clickTab(w, Pictures);
             type(w, "Edit10", QStringLiteral("urlaub.jpg"));
             type(w, "Edit11", QStringLiteral("Am Meer"));
             click(w, "SpeedButton3");
             type(w, "Edit10", QStringLiteral("haus.gif"));
             type(w, "Edit11", QString());
             click(w, "SpeedButton3");
             type(w, "SpinEdit3", QStringLiteral("2"));
         },
         QStringLiteral("index.html"),
         defaultHead() + kDefaultLink +
             QList<QByteArray>{"<tr>", "<th>", "<br>", "<br>", "<img src=\"urlaub.jpg\">Am Meer",
                               "<br>", "<br>", "<img src=\"haus.gif\">", "</th>", "</tr>"} +
             kEnd},
        {"HTML Code", Code,
         [](TForm3& w) {
             clickTab(w, Links);
             click(w, "SpeedButton2");
             clickTab(w, Code);
         },
         QStringLiteral("index.html"), defaultHead() + kDefaultLink + kEnd},
    };
    return cases;
}

}  // namespace

class WizardFinishTest : public QObject {
    Q_OBJECT
    std::unique_ptr<ScratchDirectory> dir_;
    std::unique_ptr<TForm3> w_;
    std::unique_ptr<TForm1> start_;

    QListView* list(const char* name) { return control<QListView>(*w_, name); }
    QAbstractButton* button(const char* name) { return control<QAbstractButton>(*w_, name); }

    void pressStart() {
        QTest::mouseClick(control<QAbstractButton>(*start_, "SpeedButton2"), Qt::LeftButton);
    }

private slots:
    void init() {
        dir_ = std::make_unique<ScratchDirectory>();
        start_ = std::make_unique<TForm1>();
        w_ = std::make_unique<TForm3>(dir_->path());
        start_->setWizard(w_.get());
        start_->show();
        QVERIFY(QTest::qWaitForWindowExposed(start_.get()));
        pressStart();
        QVERIFY(QTest::qWaitForWindowExposed(w_.get()));
    }
    void cleanup() {
        w_.reset();
        start_.reset();
        dir_.reset();
    }

    // By a click, or by Ctrl+Return wherever the focus is, which runs
    // nothing else: on "Text" no line is added.
    void finishFromEveryPage_data() {
        QTest::addColumn<int>("index");
        QTest::addColumn<bool>("byKey");
        for (std::size_t i = 0; i < finishCases().size(); ++i) {
            QTest::newRow(finishCases()[i].name) << static_cast<int>(i) << false;
            QTest::addRow("%s, Ctrl+Return", finishCases()[i].name) << static_cast<int>(i) << true;
        }
    }
    void finishFromEveryPage() {
        QFETCH(int, index);
        QFETCH(bool, byKey);
        const FinishCase& fc = finishCases()[static_cast<std::size_t>(index)];
        fc.fill(*w_);
        QCOMPARE(pages(*w_)->currentIndex(), fc.page);
        if (byKey) {
            QVERIFY(QTest::qWaitForWindowActive(w_.get()));
            QVERIFY(QApplication::focusWidget() != nullptr);
            QTest::keyClick(QApplication::focusWidget(), Qt::Key_Return, Qt::ControlModifier);
        } else {
            VELMORA_CLICK(button("SpeedButton9"));
        }
        QVERIFY(!w_->isVisible());
        QCOMPARE(dir_->entries(), QStringList{fc.file});
        QCOMPARE(dir_->read(fc.file), crlf(fc.lines));
        QCOMPARE(rows(list("ListBox4")), linesOf(w_->codeList()));
        QCOMPARE(static_cast<qsizetype>(w_->codeList().size()), fc.lines.size());
        QCOMPARE(pages(*w_)->currentIndex(), fc.page);
    }

    void oneLinkThenStartShowsTheSamePage() {
        clickTab(*w_, Links);
        VELMORA_CLICK(button("SpeedButton2"));
        VELMORA_CLICK(button("SpeedButton9"));
        QVERIFY(!w_->isVisible());
        QVERIFY(start_->isVisible());
        QCOMPARE(dir_->read(QStringLiteral("index.html")),
                 crlf(defaultHead() + kDefaultLink + kEnd));
        pressStart();
        QVERIFY(w_->isVisible());
        QCOMPARE(pages(*w_)->currentIndex(), int(Links));
        QCOMPARE(control<QLineEdit>(*w_, "Edit3")->text(), QStringLiteral("Link"));
        QCOMPARE(control<QLineEdit>(*w_, "Edit4")->text(), QStringLiteral("verweisziel.html"));
        QVERIFY(isSelected(list("ListBox2"), 0));
        clickTab(*w_, Code);
        QCOMPARE(rows(list("ListBox4")).size(), 20);
        QCOMPARE(rows(list("ListBox4")).first(), QStringLiteral("<html>"));
        QCOMPARE(rows(list("ListBox4")), linesOf(w_->codeList()));
    }

    void secondFinishReplacesTheRows() {
        clickTab(*w_, Links);
        VELMORA_CLICK(button("SpeedButton2"));
        VELMORA_CLICK(button("SpeedButton9"));
        const QStringList first = rows(list("ListBox4"));
        pressStart();
        clickTab(*w_, Heading);
        typeInto(control<QWidget>(*w_, "Edit2"), QStringLiteral("Zweite"));
        VELMORA_CLICK(button("SpeedButton9"));
        const QStringList second = rows(list("ListBox4"));
        QCOMPARE(second.size(), first.size());
        QCOMPARE(second.at(1), QStringLiteral("<head><title>Zweite</title>"));
        QCOMPARE(second.mid(2), first.mid(2));
        QCOMPARE(dir_->read(QStringLiteral("index.html")).count("<html>"), 1);
    }

    void closeBoxThenStartChangesNothing() {
        clickTab(*w_, Text);
        typeInto(control<QWidget>(*w_, "Edit12"), QStringLiteral("halb getippt"));
        QTest::mouseClick(button("SpeedButton6"), Qt::LeftButton);
        QVERIFY(w_->close());
        QVERIFY(!w_->isVisible());
        QVERIFY(dir_->entries().isEmpty());
        pressStart();
        QVERIFY(w_->isVisible());
        QCOMPARE(pages(*w_)->currentIndex(), int(Text));
        QCOMPARE(control<QLineEdit>(*w_, "Edit12")->text(), QStringLiteral("halb getippt"));
        QCOMPARE(rows(list("ListBox1")), QStringList{QStringLiteral("<br>")});
        QCOMPARE(count(list("ListBox4")), 0);
        QCOMPARE(w_->codeList().size(), std::size_t{0});
    }

    void headingSizeOneSurvivesTheFinish() {
        clickTab(*w_, Heading);
        VELMORA_CLICK(button("RadioButton1"));
        clickTab(*w_, Links);
        VELMORA_CLICK(button("SpeedButton2"));
        VELMORA_CLICK(button("SpeedButton9"));
        const QByteArray page = dir_->read(QStringLiteral("index.html"));
        pressStart();
        clickTab(*w_, Heading);
        QVERIFY(control<QRadioButton>(*w_, "RadioButton1")->isChecked());
        QCOMPARE(w_->settings().HeadingSize, 1);
        VELMORA_CLICK(button("SpeedButton9"));
        QCOMPARE(dir_->read(QStringLiteral("index.html")), page);
        QVERIFY(page.contains("<font size=\"3\" color=\"#000000\" face=\"Arial\">Neue Seite"));
    }

    void finishLeavesTheLastEntriesSelected() {
        clickTab(*w_, Links);
        for (const char* t : {"Home", "Kontakt"}) {
            typeInto(control<QWidget>(*w_, "Edit3"), QString::fromLatin1(t));
            typeInto(control<QWidget>(*w_, "Edit4"), QString::fromLatin1(t) + ".html");
            VELMORA_CLICK(button("SpeedButton2"));
        }
        typeInto(control<QWidget>(*w_, "Edit3"), QStringLiteral("nie hinzugefügt"));
        clickTab(*w_, Text);
        VELMORA_CLICK(button("SpeedButton6"));
        VELMORA_CLICK(button("SpeedButton6"));
        clickTab(*w_, Pictures);
        VELMORA_CLICK(button("SpeedButton3"));
        VELMORA_CLICK(button("SpeedButton3"));
        VELMORA_CLICK(button("SpeedButton9"));
        QCOMPARE(control<QLineEdit>(*w_, "Edit3")->text(), QStringLiteral("Kontakt"));
        QCOMPARE(control<QLineEdit>(*w_, "Edit4")->text(), QStringLiteral("Kontakt.html"));
        QVERIFY(isSelected(list("ListBox2"), 1));
        QVERIFY(isSelected(list("ListBox1"), 1));
        QVERIFY(isSelected(list("ListBox3"), 1));
        QCOMPARE(w_->settings().Edit3, std::string("Kontakt"));
        QVERIFY(!dir_->read(QStringLiteral("index.html")).contains("nie"));
    }

    void finishIntoAMissingDirectoryShowsTheBox() {
        clickTab(*w_, Links);
        VELMORA_CLICK(button("SpeedButton2"));
        clickTab(*w_, General);
        typeInto(control<QWidget>(*w_, "Edit19"), QStringLiteral("fehlt/seite"));
        BoxAnswerer boxes;
        VELMORA_CLICK(button("SpeedButton9"));
        QTRY_COMPARE(boxes.seen.size(), 1);
        QCOMPARE(boxes.seen.front().text, QStringLiteral("Cannot create file fehlt/seite.html."));
        QCOMPARE(boxes.seen.front().title, QApplication::applicationName());
        QCOMPARE(boxes.seen.front().icon, QMessageBox::Critical);
        QVERIFY(w_->isVisible());
        QCOMPARE(pages(*w_)->currentIndex(), int(General));
        QVERIFY(dir_->entries().isEmpty());
        QCOMPARE(rows(list("ListBox4")), linesOf(w_->codeList()));
        QCOMPARE(count(list("ListBox4")), 20);
    }

    void linesShowWhileTheBoxIsOpen() {
        typeInto(control<QWidget>(*w_, "Edit19"), QStringLiteral("fehlt/seite"));
        int rowsWhileOpen = -1;
        BoxAnswerer boxes;
        boxes.whileOpen = [&] { rowsWhileOpen = count(list("ListBox4")); };
        VELMORA_CLICK(button("SpeedButton9"));
        QTRY_COMPARE(boxes.seen.size(), 1);
        QCOMPARE(rowsWhileOpen, static_cast<int>(w_->codeList().size()));
        QVERIFY(rowsWhileOpen > 0);
    }

    void finishWithoutLinks() {
        clickTab(*w_, Text);
        typeInto(control<QWidget>(*w_, "Edit12"), QStringLiteral("Nur Text"));
        QTest::keyClick(control<QWidget>(*w_, "Edit12"), Qt::Key_Return);
        VELMORA_CLICK(button("SpeedButton9"));
        QVERIFY(!w_->isVisible());
        const QList<QByteArray> body = {"<tr>",
                                        "<td height=\"100%\">&nbsp;</td>",
                                        "<td valign=\"top\" rowspan=\"1\">",
                                        "<font color=\"#000000\" face=\"Arial\">",
                                        " &nbsp; Nur Text",
                                        "</font>",
                                        "</td>",
                                        "</tr>"};
        QCOMPARE(dir_->read(QStringLiteral("index.html")), crlf(defaultHead() + body + kEnd));
        QCOMPARE(control<QLineEdit>(*w_, "Edit3")->text(), QStringLiteral("Link"));
    }
};

QTEST_MAIN(WizardFinishTest)
#include "test_wizard_finish.moc"
