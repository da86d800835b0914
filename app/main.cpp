// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <csignal>
#include <cstdio>

#include "ui/Application.h"

namespace {

// What the command line answers instead of starting; returns the exit status.
int answer(const velmora::ui::CommandLine& line, int exitCode) {
    std::fputs(line.message.toLocal8Bit().constData(), exitCode == 0 ? stdout : stderr);
    return exitCode;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (!velmora::ui::displayAvailable(argc, argv)) {
        // the command line is answered without a desktop too
        QStringList arguments;
        for (int i = 0; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
        const velmora::ui::CommandLine line = velmora::ui::readCommandLine(arguments);
        if (line.exitCode) return answer(line, *line.exitCode);
        std::fputs(
            "Velmora needs a graphical desktop and finds none here (DISPLAY is not set): start it "
            "from a desktop session, or give it one, e.g. 'Xvfb :99 & DISPLAY=:99 Velmora'.\n",
            stderr);
        return 1;
    }
    // Past a file size limit the system would end the program in the middle
    // of writing the page; ignored, the write fails and the user is told.
    std::signal(SIGXFSZ, SIG_IGN);
    velmora::ui::Application app(argc, argv);
    const velmora::ui::CommandLine line = velmora::ui::readCommandLine(QApplication::arguments());
    if (line.exitCode) return answer(line, *line.exitCode);
    velmora::ui::Shell shell(velmora::ui::startFolder());
    shell.start(line);
    return QApplication::exec();
}
