// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <csignal>
#include <cstdio>

#include "ui/Application.h"

int main(int argc, char* argv[]) {
    if (!velmora::ui::displayAvailable(argc, argv)) {
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
    velmora::ui::Shell shell;
    shell.Form1.show();
    return QApplication::exec();
}
