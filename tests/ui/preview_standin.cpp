// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A stand-in for the preview program, which the wizard's tests start in its
// place: it speaks the same messages on its standard input and output, shows
// a window "Vorschau", and writes down what it got, so that the tests see
// the wizard's side without a web engine.
//
//   $VELMORA_STANDIN_LOG       a line for each message: NAME SEQUENCE-OR-VALUES
//   $VELMORA_STANDIN_PAGE      the bytes of the last page, rewritten each time
//   $VELMORA_STANDIN_DRAW_MS   how long it takes to draw a page (default 0)
//   $VELMORA_STANDIN_KEEP      sent back as "keep" once it is shown
//   SIGUSR1                    the user closes it (as F12 in its window)
#include <poll.h>
#include <unistd.h>

#include <QApplication>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <QWidget>
#include <csignal>
#include <cstdio>
#include <optional>

#include "wizard/Preview.h"

namespace {

using velmora::preview::Message;

volatile std::sig_atomic_t closedByUser = 0;

void write(const Message& message) {
    const std::string bytes = velmora::preview::encode(message);
    std::fwrite(bytes.data(), 1, bytes.size(), stdout);
    std::fflush(stdout);
}

void log(const QByteArray& line) {
    QFile file(qEnvironmentVariable("VELMORA_STANDIN_LOG"));
    if (file.open(QIODevice::Append)) file.write(line + '\n');
}

class StandIn : public QObject {
public:
    StandIn() : input_(STDIN_FILENO, QSocketNotifier::Read) {
        window_.setObjectName(QStringLiteral("Vorschau"));
        window_.setWindowTitle(QStringLiteral("Vorschau"));
        connect(&input_, &QSocketNotifier::activated, this, &StandIn::read);
        drawing_.setSingleShot(true);
        connect(&drawing_, &QTimer::timeout, this, &StandIn::drawn);
        auto* user = new QTimer(this);
        connect(user, &QTimer::timeout, this, [] {
            if (closedByUser == 0) return;
            log("user-closed");
            write({"closed", ""});
            QCoreApplication::exit(0);
        });
        user->start(10);
    }

private:
    void read() {
        const bool open = reader_.readFrom(STDIN_FILENO);
        while (const auto message = reader_.next()) take(*message);
        if (reader_.broken()) QCoreApplication::exit(3);
        if (!open) {
            log("eof");
            QCoreApplication::exit(0);
        }
    }

    void take(const Message& message) {
        if (const auto page = velmora::preview::readPage(message)) {
            log(QByteArray::fromStdString(message.name) + ' ' + QByteArray::number(page->sequence));
            QFile last(qEnvironmentVariable("VELMORA_STANDIN_PAGE"));
            if (!page->tooBig && last.open(QIODevice::WriteOnly))
                last.write(QByteArray::fromStdString(page->bytes));
            newest_ = page->sequence;
            if (!drawing_.isActive())
                drawing_.start(qEnvironmentVariableIntValue("VELMORA_STANDIN_DRAW_MS"));
            return;
        }
        QByteArray values = QByteArray::fromStdString(message.payload);
        values.replace('\n', ' ');
        log((QByteArray::fromStdString(message.name) + ' ' + values).trimmed());
        if (message.name == "show") show(velmora::preview::splitValues(message.payload));
        if (message.name == "hide") window_.hide();
    }

    void show(const velmora::preview::Values& values) {
        const auto size = QString::fromStdString(values.count("size") ? values.at("size") : "")
                              .split(QLatin1Char(','));
        if (size.size() == 2) window_.resize(size[0].toInt(), size[1].toInt());
        window_.setAttribute(Qt::WA_ShowWithoutActivating,
                             values.count("focus") && values.at("focus") == "0");
        window_.show();
        QByteArray keep = qgetenv("VELMORA_STANDIN_KEEP");
        if (!keep.isEmpty()) write({"keep", keep.replace(';', '\n').toStdString()});
    }

    // Only the newest page of those that came while it drew is drawn next.
    void drawn() {
        if (!newest_) return;
        write({"drawn", std::to_string(*newest_)});
        newest_.reset();
    }

    QSocketNotifier input_;
    velmora::preview::Reader reader_;
    QWidget window_;
    QTimer drawing_;
    std::optional<std::uint64_t> newest_;
};

}  // namespace

int main(int argc, char** argv) {
    std::signal(SIGUSR1, [](int) { closedByUser = 1; });
    QApplication app(argc, argv);
    StandIn standIn;
    return QApplication::exec();
}
