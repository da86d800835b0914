// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the page that a fresh wizard writes when the user clicks "Start" and
// then the finish, into DIR, and prints its file name. The check of the
// installed package compares the program's page with it byte for byte.
//
//   default_page DIR   → DIR/index.html
#include <exception>
#include <filesystem>
#include <iostream>
#include <string>

#include "generator/PageGenerator.h"
#include "settings/PageSettings.h"
#include "wizard/PageFile.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: default_page DIR\n";
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        const std::string dir = std::filesystem::absolute(argv[1]).string();
        velmora::PageSettings s;  // a wizard's values as it is created
        velmora::CodeList code;
        velmora::SpeedButton9Click(s, code, dir);
        std::cout << velmora::outputFileName(s) << '\n';
    } catch (const std::exception& e) {
        std::cerr << "default_page: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
