// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ui/Application.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFont>
#include <QTimer>
#include <QTranslator>
#include <QWidget>
#include <cstdlib>
#include <cstring>
#include <functional>

#include "ui/ErrorHandler.h"
#include "ui/PublishModule.h"
#include "wizard/PageFile.h"

// The icon and Qt's German texts live in this static library; without a
// reference from code the linker would drop them.
static void initResources() {
    Q_INIT_RESOURCE(velmora);
    Q_INIT_RESOURCE(velmora_translations);
}

namespace velmora::ui {

QIcon applicationIcon() {
    initResources();
    return QIcon(QStringLiteral(":/velmora/velmora.png"));
}

void installFontSubstitutions() {
    // Liberation Sans keeps the narrow metrics the fixed layouts were drawn with.
    const QStringList sans{QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")};
    QFont::insertSubstitution(QStringLiteral("Times New Roman"),
                              QStringLiteral("Liberation Serif"));
    QFont::insertSubstitutions(QStringLiteral("MS Sans Serif"), sans);
    QFont::insertSubstitutions(QStringLiteral("System"), sans);
    // The broadest heavy serif at hand stands nearest to the wide display face.
    QFont::insertSubstitutions(QStringLiteral("Latin-Wide"),
                               {QStringLiteral("DejaVu Serif"), QStringLiteral("DejaVu Sans")});
}

bool displayAvailable(int argc, const char* const* argv) {
    for (const char* name : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
        const char* value = std::getenv(name);
        if (value != nullptr && *value != '\0') return true;
    }
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "-platform") == 0 || std::strcmp(argv[i], "--platform") == 0)
            return true;
    }
    return false;
}

Application::Application(int& argc, char** argv) : QApplication(argc, argv) {
    setApplicationName(applicationTitle(applicationFilePath()));
    // Lets the desktop match the windows with the installed entry and icon.
    setDesktopFileName(QStringLiteral("invalid.velmora.velmora"));
    setWindowIcon(applicationIcon());
    installFontSubstitutions();
    // Qt's own texts in German like the rest of the program, whatever language
    // the environment asks for; before any window, since some widgets take
    // their texts as they are made.
    initResources();
    auto* qtTexts = new QTranslator(this);
    if (qtTexts->load(QStringLiteral(":/velmora/translations/qtbase_de.qm"))) {
        installTranslator(qtTexts);
    }
}

Application::~Application() { finishPublishModule(); }

bool Application::notify(QObject* receiver, QEvent* event) {
    try {
        return QApplication::notify(receiver, event);
    } catch (...) {
        reportCurrentFailure(activeWindow());
    }
    return false;
}

QString startFolder() { return QFile::decodeName(PageFile::startFolder().c_str()); }

Shell::Shell(const QString& folder)
    : Form3(folder),
      publishing({[this] { return Form3.lastPage(); }, [this] { return Form3.holdsUnsaved(); },
                  [this] { return Form3.writePage(); }, [this] { return Form3.picturePlaces(); },
                  std::bind_front(&TForm3::renamePictures, &Form3)},
                 Form3.notice()),
      preview(Form3) {
    Form1.setWizard(&Form3);
    Form1.setPublishing(&publishing);
    publishing.reachFrom(&Form1);
    publishing.reachFrom(&Form3);
    preview.reachFrom(&Form1, &Form1);
    preview.reachFrom(&Form3, Form3.tabStrip());
    QObject::connect(&Form3.notice(), &PageNotice::publishAsked, &publishing,
                     [this] { publishing.publish(&Form1); });
}

void Shell::start(const CommandLine& line) {
    Form1.show();
    if (!line.page.isEmpty()) {
        // A page named on the command line from the folder the program was
        // started in; the one to publish by its real path.
        const QString page = QDir(Form3.pageFolder()).filePath(line.page);
        const QString real = line.publish ? QFileInfo(page).canonicalFilePath() : QString();
        QTimer::singleShot(0, &Form3, [this, page, real] {
            Form3.openPage(page, &Form1);
            if (!real.isEmpty() && Form3.lastPage() == real) publishing.publish(&Form3);
        });
    }
    if (line.dialog) QTimer::singleShot(0, &Form1, &TForm1::openPageDialog);
}

}  // namespace velmora::ui
