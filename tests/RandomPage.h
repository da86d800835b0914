// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Random pages, for the reader's round trips and the preview's benchmark.
#pragma once

#include <iterator>
#include <random>
#include <string>

#include "settings/Fields.h"
#include "settings/PageSettings.h"

namespace velmora {

// Random values with what users put into fields: umlauts and characters
// beyond the code page, markup, quotes, references typed as text, line ends
// pasted in, and nothing at all. A quote stands only before a letter here:
// before the text that follows a value in its line, it would make two
// readings of the line equally right (see Ambiguous below).
class RandomPage {
public:
    explicit RandomPage(unsigned seed) : random_(seed) {}

    PageSettings next() {
        PageSettings s;
        s.hgb = coin();
        for (const TextField& f : kTextFields) s.*f.member = value();
        for (const TickField& f : kTickFields) s.*f.member = coin();
        s.html = coin();
        for (const SpinEditField& f : kSpinFields) (s.*f.member).text = spinText();
        s.SpinEdit3.setValue(upTo(5));
        s.HeadingSize = 1 + upTo(5);
        s.alignment = static_cast<Alignment>(upTo(3));
        for (int i = upTo(count()); i > 0; --i) {
            s.ListBox2.items.push_back(value());
            s.ListBox5.items.push_back(value());
        }
        for (int i = upTo(count()); i > 0; --i) s.ListBox1.items.push_back(value());
        for (int i = upTo(count()); i > 0; --i) {
            s.ListBox3.items.push_back(value());
            s.ListBox6.items.push_back(value());
        }
        return s;
    }

private:
    int upTo(int n) { return std::uniform_int_distribution<int>(0, n)(random_); }
    bool coin() { return upTo(1) == 1; }
    // Mostly a few entries, now and then dozens.
    int count() { return upTo(3) == 0 ? 40 : 4; }

    std::string value() {
        static const char* const pieces[] = {
            "a",    "Zz",  " ",    "\u00e4",  "\u00df",   "\u20ac", "\u0141", "\U0001F600", "\"q",
            "'",    "<b>", "</a>", "<br>",    "&amp;",    "&#65;",  "&#228;", "&#0228;",    "100%",
            "\r\n", "\n",  "\t",   "#FF0000", "bild.jpg", ">",      "<",      "=",          "x&#"};
        std::string v;
        for (int i = upTo(upTo(1) == 0 ? 0 : 6); i > 0; --i)
            v += pieces[upTo(std::size(pieces) - 1)];
        return v;
    }
    std::string spinText() {
        static const char* const texts[] = {"0",  "7",          "-4",          "007",
                                            "",   "abc",        "$1F",         " 12",
                                            "+5", "2147483647", "-2147483648", "2147483648"};
        return texts[upTo(std::size(texts) - 1)];
    }

    std::mt19937 random_;
};

}  // namespace velmora
