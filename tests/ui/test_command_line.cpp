// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The command line: what it asks the program to open, and the answers the
// program gives without starting, in German and without a desktop.
#include <QProcess>
#include <QTest>

#include "ui/CommandLine.h"

using velmora::ui::CommandLine;
using velmora::ui::readCommandLine;

class CommandLineTest : public QObject {
    Q_OBJECT

private slots:
    void commandLine_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");  // -1: the program starts
        QTest::addColumn<QString>("message");
        QTest::addColumn<QString>("page");
        QTest::addColumn<bool>("dialog");
        QTest::addColumn<bool>("publish");
        const QString tryHelp =
            QStringLiteral(" \u201EVelmora --help\u201C zeigt, was Velmora versteht.\n");
        QTest::newRow("nothing") << QStringList{} << -1 << QString() << QString() << false << false;
        QTest::newRow("a page") << QStringList{QStringLiteral("a b.html")} << -1 << QString()
                                << QStringLiteral("a b.html") << false << false;
        QTest::newRow("the dialog") << QStringList{QStringLiteral("--dialog")} << -1 << QString()
                                    << QString() << true << false;
        QTest::newRow("version") << QStringList{QStringLiteral("-v")} << 0
                                 << QStringLiteral("Velmora " VELMORA_VERSION "\n") << QString()
                                 << false << false;
        QTest::newRow("two pages")
            << QStringList{QStringLiteral("a.html"), QStringLiteral("b.html")} << 2
            << QStringLiteral(
                   "Velmora \u00F6ffnet eine Seite, nicht 2: "
                   "\u201Ea.html\u201C, \u201Eb.html\u201C.") +
                   tryHelp
            << QString() << false << false;
        QTest::newRow("unknown option")
            << QStringList{QStringLiteral("--seite=x")} << 2
            << QStringLiteral("Velmora: unbekannte Option \u201E--seite\u201C.") + tryHelp
            << QString() << false << false;
        QTest::newRow("a page to publish")
            << QStringList{QStringLiteral("--publish"), QStringLiteral("a b.html")} << -1
            << QString() << QStringLiteral("a b.html") << false << true;
        QTest::newRow("publish without a page")
            << QStringList{QStringLiteral("--publish")} << 2
            << QStringLiteral("Velmora: nach \u201E--publish\u201C fehlt die Seite.") + tryHelp
            << QString() << false << false;
        QTest::newRow("a page to publish and another")
            << QStringList{QStringLiteral("--publish=a.html"), QStringLiteral("b.html")} << 2
            << QStringLiteral(
                   "Velmora \u00F6ffnet eine Seite, nicht 2: "
                   "\u201Ea.html\u201C, \u201Eb.html\u201C.") +
                   tryHelp
            << QString() << false << false;
    }
    void commandLine() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, message);
        QFETCH(QString, page);
        QFETCH(bool, dialog);
        QFETCH(bool, publish);
        const CommandLine line =
            readCommandLine(QStringList{QStringLiteral("/usr/bin/Velmora")} + arguments);
        QCOMPARE(line.exitCode.value_or(-1), exitCode);
        QCOMPARE(line.message, message);
        QCOMPARE(line.page, page);
        QCOMPARE(line.dialog, dialog);
        QCOMPARE(line.publish, publish);
    }

    // The program itself answers the command line without a desktop, in
    // German: --help on stdout, a mistake on stderr with exit status 2 (not
    // the message that a desktop is missing).
    void commandLineNeedsNoDesktop_data() {
        QTest::addColumn<QStringList>("arguments");
        QTest::addColumn<int>("exitCode");
        QTest::addColumn<QString>("out");
        QTest::addColumn<QString>("err");
        QTest::newRow("help") << QStringList{QStringLiteral("--help")} << 0
                              << QStringLiteral("Aufruf: Velmora [Optionen] [SEITE]\n")
                              << QString();
        QTest::newRow("two pages")
            << QStringList{QStringLiteral("a.html"), QStringLiteral("b.html")} << 2 << QString()
            << QStringLiteral("Velmora \u00F6ffnet eine Seite, nicht 2: ");
    }
    void commandLineNeedsNoDesktop() {
        QFETCH(QStringList, arguments);
        QFETCH(int, exitCode);
        QFETCH(QString, out);
        QFETCH(QString, err);
        QProcess program;
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"})
            env.remove(QString::fromLatin1(name));
        program.setProcessEnvironment(env);
        program.start(QStringLiteral(VELMORA_PROGRAM), arguments);
        QVERIFY(program.waitForFinished(20000));
        QCOMPARE(program.exitCode(), exitCode);
        const QString stdoutText = QString::fromUtf8(program.readAllStandardOutput());
        const QString stderrText = QString::fromUtf8(program.readAllStandardError());
        QVERIFY2(stdoutText.startsWith(out) && (out.isEmpty() || stderrText.isEmpty()),
                 qPrintable(stdoutText));
        QVERIFY2(stderrText.startsWith(err) && (err.isEmpty() || stdoutText.isEmpty()),
                 qPrintable(stderrText));
        if (exitCode == 0) {
            QVERIFY(stdoutText.contains(QStringLiteral(
                "--dialog       Beim Start den Dialog \u201ESeite \u00F6ffnen\u201C zeigen.")));
            QVERIFY(stdoutText.contains(QStringLiteral(
                "--publish SEITE\n                 SEITE \u00F6ffnen wie unten und den Dialog "
                "\u201ESeite\n                 ver\u00F6ffentlichen\u201C zeigen.")));
            QVERIFY(stdoutText.contains(QStringLiteral(
                "  F12            Die Vorschau neben dem Assistenten \u00F6ffnen oder "
                "schlie\u00DFen,\n                 auch im Kontextmen\u00FC: \u201EVorschau "
                "(F12)\u201C.")));
        }
    }
};

QTEST_GUILESS_MAIN(CommandLineTest)
#include "test_command_line.moc"
