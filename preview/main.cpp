// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// velmora-vorschau: the wizard's preview, a program of its own so that its
// engine never enters the wizard. It speaks the messages of
// wizard/Preview.h on its standard input and output and ends when its
// input closes, so it never outlives the wizard.
#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QSocketNotifier>
#include <cstdio>

#include "preview/PageSource.h"
#include "preview/PreviewWindow.h"
#include "wizard/Preview.h"

namespace {

using velmora::preview::Message;
using velmora::vorschau::PreviewWindow;

void answer(const Message& message) {
    const std::string bytes = velmora::preview::encode(message);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

class Conversation : public QObject {
public:
    explicit Conversation(PreviewWindow& window)
        : window_(window), input_(STDIN_FILENO, QSocketNotifier::Read) {
        ::fcntl(STDIN_FILENO, F_SETFL, ::fcntl(STDIN_FILENO, F_GETFL) | O_NONBLOCK);
        connect(&input_, &QSocketNotifier::activated, this, &Conversation::read);
        connect(&window, &PreviewWindow::drawn, this, &Conversation::drawn);
        connect(&window, &PreviewWindow::keep, this, &Conversation::keep);
        connect(&window, &PreviewWindow::grabbed, this, &Conversation::grabbed);
        connect(&window, &PreviewWindow::closedByUser, this, &Conversation::closed);
    }

private:
    static void drawn(std::uint64_t sequence) { answer({"drawn", std::to_string(sequence)}); }
    static void keep(const velmora::preview::Values& values) {
        answer({"keep", velmora::preview::joinValues(values)});
    }
    static void grabbed(const QString& file) { answer({"grabbed", file.toStdString()}); }
    static void closed() {
        answer({"closed", ""});
        QCoreApplication::exit(0);
    }

    void read() {
        const bool open = reader_.readFrom(STDIN_FILENO);
        while (const auto message = reader_.next()) take(*message);
        if (reader_.broken()) QCoreApplication::exit(3);
        if (!open) {  // the wizard closed the pipe, or is gone
            input_.setEnabled(false);
            QCoreApplication::exit(0);
        }
    }

    void take(const Message& message) {
        if (auto page = velmora::preview::readPage(message)) {
            window_.showPage(std::move(*page));
        } else if (message.name == "show") {
            window_.apply(velmora::preview::splitValues(message.payload));
        } else if (message.name == "hide") {
            window_.hide();
        } else if (message.name == "grab") {
            window_.grabTo(QString::fromStdString(message.payload));
        }
    }

    PreviewWindow& window_;
    QSocketNotifier input_;
    velmora::preview::Reader reader_;
};

}  // namespace

int main(int argc, char** argv) {
    // Chromium's sandbox refuses root; as any other user it stays on.
    if (::geteuid() == 0) qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
    velmora::vorschau::registerScheme();
    QApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    QApplication app(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    PreviewWindow window;
    Conversation conversation(window);
    return QApplication::exec();
}
