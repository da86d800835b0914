// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/CommandLine.h"

#include <QCommandLineParser>
#include <QFileInfo>

namespace velmora::ui {
namespace {

// Written out rather than taken from the parser, whose headings are English
// until Qt's German texts are loaded, and they are not without a desktop.
QString helpText(const QString& program) {
    return QStringLiteral(
               "Aufruf: %1 [Optionen] [SEITE]\n"
               "Ein Assistent, der eine einseitige Homepage baut, ohne dass Sie HTML schreiben.\n"
               "\n"
               "Optionen:\n"
               "  -h, --help     Diese Hilfe zeigen.\n"
               "  -v, --version  Die Version zeigen.\n"
               "  --dialog       Beim Start den Dialog \u201ESeite \u00F6ffnen\u201C zeigen.\n"
               "  --publish SEITE\n"
               "                 SEITE \u00F6ffnen wie unten und den Dialog \u201ESeite\n"
               "                 ver\u00F6ffentlichen\u201C zeigen.\n"
               "\n"
               "Argumente:\n"
               "  SEITE          Eine Seite, die Velmora geschrieben hat, im Assistenten\n"
               "                 \u00F6ffnen. Ihr Ordner wird das Arbeitsverzeichnis, und\n"
               "                 \u201EF E R T I G\u201C schreibt sie dorthin zur\u00FCck.\n"
               "\n"
               "Tasten:\n"
               "  F12            Die Vorschau neben dem Assistenten \u00F6ffnen oder "
               "schlie\u00DFen,\n"
               "                 auch im Kontextmen\u00FC: \u201EVorschau (F12)\u201C. In der\n"
               "                 Vorschau schlie\u00DFen F12 und Esc sie.\n"
               "  Strg+P         Die Seite ver\u00F6ffentlichen.\n")
        .arg(program);
}

QString quoted(const QString& s) { return QStringLiteral("\u201E%1\u201C").arg(s); }

CommandLine ending(int code, const QString& message) {
    CommandLine line;
    line.exitCode = code;
    line.message = message;
    return line;
}

// The option as the user wrote it: "-x" and "--x" both give the name "x".
// An error without an unknown option is the one option with a value
// missing it.
QString unknownOption(const QCommandLineParser& parser, const QStringList& arguments) {
    const QStringList names = parser.unknownOptionNames();
    if (names.isEmpty())
        return QStringLiteral("nach %1 fehlt die Seite").arg(quoted(QStringLiteral("--publish")));
    for (const QString& argument : arguments.mid(1)) {
        const QString name = argument.section(QLatin1Char('='), 0, 0);
        if (name.startsWith(QLatin1Char('-')) &&
            name.mid(name.startsWith(QStringLiteral("--")) ? 2 : 1) == names.first())
            return QStringLiteral("unbekannte Option %1").arg(quoted(name));
    }
    return QStringLiteral("unbekannte Option %1").arg(quoted(names.first()));
}

}  // namespace

QString applicationTitle(const QString& programPath) {
    const QString name = QFileInfo(programPath).fileName();
    QString stem = name.left(name.indexOf(QLatin1Char('.')));
    if (stem.isEmpty()) return stem;
    return stem.front() + stem.mid(1).toLower();
}

CommandLine readCommandLine(const QStringList& arguments) {
    const QString program = applicationTitle(arguments.value(0));
    QCommandLineParser parser;
    // -platform and the like are Qt's; read as one option, not as letters
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")});
    const QCommandLineOption version(QStringList{QStringLiteral("v"), QStringLiteral("version")});
    const QCommandLineOption dialog(QStringLiteral("dialog"));
    const QCommandLineOption publish(QStringLiteral("publish"), QString(), QStringLiteral("SEITE"));
    parser.addOptions({help, version, dialog, publish});
    parser.addPositionalArgument(QStringLiteral("SEITE"), QString());
    const bool parsed = parser.parse(arguments);
    if (parser.isSet(help)) return ending(0, helpText(program));
    if (parser.isSet(version)) {
        return ending(0, QStringLiteral("%1 %2\n").arg(program, QStringLiteral(VELMORA_VERSION)));
    }
    const QString tryHelp = QStringLiteral(" %1 zeigt, was %2 versteht.\n")
                                .arg(quoted(program + QStringLiteral(" --help")), program);
    if (!parsed) {
        return ending(
            2, QStringLiteral("%1: %2.").arg(program, unknownOption(parser, arguments)) + tryHelp);
    }
    QStringList pages = parser.positionalArguments();
    if (parser.isSet(publish)) pages.prepend(parser.value(publish));
    if (pages.size() > 1) {
        return ending(2, QStringLiteral("%1 \u00F6ffnet eine Seite, nicht %2: %3.")
                                 .arg(program, QString::number(pages.size()),
                                      quoted(pages.join(QStringLiteral("\u201C, \u201E")))) +
                             tryHelp);
    }
    CommandLine line;
    line.page = pages.value(0);
    line.dialog = parser.isSet(dialog);
    line.publish = parser.isSet(publish);
    return line;
}

}  // namespace velmora::ui
