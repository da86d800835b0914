// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The record of every value the wizard collects, named after the control
// that holds it. Both windows and the generator work on this record; nothing
// here knows of any toolkit.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace velmora {

/// Reads a spin field's typed text as an integer; 0 for any text that is no
/// valid number.
std::int32_t spinValue(std::string_view typedText) noexcept;

/// A spin field: its typed text is what it shows, its value is that text read
/// as a number at the moment of reading.
struct SpinField {
    std::string text;

    [[nodiscard]] std::int32_t value() const noexcept { return spinValue(text); }
    void setValue(std::int32_t v) { text = std::to_string(v); }

    friend bool operator==(const SpinField&, const SpinField&) = default;
};

/// An ordered list of strings with a single selection (-1 when none).
struct StringList {
    std::vector<std::string> items;
    int selected = -1;

    [[nodiscard]] int count() const noexcept { return static_cast<int>(items.size()); }
    [[nodiscard]] bool hasSelection() const noexcept { return selected >= 0 && selected < count(); }
    /// Makes room for one more entry, so that a later insert cannot fail; a
    /// failure to make it is reported as "Unable to insert a line". The
    /// editing operations change the entries (wizard/History.h).
    void reserveOne();

    friend bool operator==(const StringList&, const StringList&) = default;
};

/// Which of the three alignment toggles l, m, r is down.
enum class Alignment : std::uint8_t { None, Left, Middle, Right };

struct PageSettings {
    // "Allgemeine Einstellungen"
    bool hgb = true;                        // background picture; false: hgf, background colour
    std::string Edit1 = "hintergrund.jpg";  // background picture file
    std::string Edit14 = "#FFFFFF";         // background colour
    bool CSS = false;                       // write the link style sheet
    std::string Edit15 = "#000000";         // link colour
    std::string Edit16 = "#000000";         // visited link colour
    std::string Edit17 = "#000000";         // colour of a link under the mouse
    std::string Edit18 = "#000000";         // active link colour
    bool fett = true;                       // links in bold
    SpinField SpinEdit4{"0"};               // left margin of the page
    SpinField SpinEdit5{"0"};               // top margin of the page
    std::string Edit26 = "50";              // table width, % of the screen
    std::string Edit27 = "50";              // table height, % of the screen
    std::string Edit19 = "index";           // output file name without extension
    bool html = true;                       // extension ".html"; false: htm, ".htm"

    // "Überschrift"
    std::string Edit2 = "Neue Seite";   // the page's title
    std::string Edit5 = "Neue Seite";   // the heading
    int HeadingSize = 3;                // RadioButton1 … RadioButton6, 1 to 6
    std::string Edit20 = "#000000";     // heading colour
    std::string Edit21 = "Arial";       // heading face
    std::string Edit8 = "bild.jpg";     // heading picture; empty: none
    bool eck = false;                   // show the corner picture
    std::string Edit9 = "eckbild.jpg";  // corner picture file
    SpinField SpinEdit1{"0"};           // height of the heading row

    // "Links"
    StringList ListBox2;                     // link texts, shown
    StringList ListBox5;                     // link targets, never shown; pairs with ListBox2
    std::string Edit3 = "Link";              // text of the next link
    std::string Edit4 = "verweisziel.html";  // target of the next link
    bool Dots = false;                       // a dot picture before each link
    std::string Edit6 = "dot.jpg";           // dot picture file
    bool lh = false;                         // link cells on a background picture
    std::string Edit7 = "lbg.jpg";           // link background picture file
    SpinField SpinEdit2{"0"};                // width of a link cell
    SpinField SpinEdit6{"0"};                // height of a link cell
    bool strecken = false;                   // the link background down to the page's foot
    bool zentrieren = false;                 // links centred in their cells

    // "Text"
    StringList ListBox1;                    // text lines
    std::string Edit12;                     // the line being typed
    std::string Edit24 = "#000000";         // text colour
    std::string Edit25 = "Arial";           // text face
    std::string Edit13;                     // picture to insert into the text
    Alignment alignment = Alignment::None;  // toggles l, m, r: the inserted picture's alignment
    std::string Edit22 = "Link";            // text of the link to insert into the text
    std::string Edit23 = "seite.html";      // target of the link to insert into the text

    // "Bilder"
    StringList ListBox3;       // picture files, shown
    StringList ListBox6;       // captions, never shown; pairs with ListBox3
    std::string Edit10;        // file of the next picture
    std::string Edit11;        // caption of the next picture
    SpinField SpinEdit3{"1"};  // spacing count: line breaks before each picture

    friend bool operator==(const PageSettings&, const PageSettings&) = default;
};

}  // namespace velmora
