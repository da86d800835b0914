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
};

/// An ordered list of strings with a single selection (-1 when none).
struct StringList {
    std::vector<std::string> items;
    int selected = -1;

    [[nodiscard]] int count() const noexcept { return static_cast<int>(items.size()); }
    [[nodiscard]] bool hasSelection() const noexcept { return selected >= 0 && selected < count(); }
    /// Appends at the end; a failure to store the entry is reported as
    /// "Unable to insert a line" and leaves the list as it was.
    void append(std::string entry);
    /// Deletes entry i; nothing is selected afterwards.
    void remove(int i);
    void clear() noexcept;
    /// Makes room for one more entry, so that a later append cannot fail.
    void reserveOne();
};

/// Which of the three alignment toggles l, m, r is down.
enum class Alignment : std::uint8_t { None, Left, Middle, Right };

struct PageSettings {
    // "Allgemeine Einstellungen"
    bool hgb = true;  // background picture; false means hgf, background colour
    std::string Edit1 = "hintergrund.jpg";
    std::string Edit14 = "#FFFFFF";
    bool CSS = false;
    std::string Edit15 = "#000000";
    std::string Edit16 = "#000000";
    std::string Edit17 = "#000000";
    std::string Edit18 = "#000000";
    bool fett = true;
    SpinField SpinEdit4{"0"};
    SpinField SpinEdit5{"0"};
    std::string Edit26 = "50";
    std::string Edit27 = "50";
    std::string Edit19 = "index";
    bool html = true;  // extension ".html"; false means htm, ".htm"

    // "Überschrift"
    std::string Edit2 = "Neue Seite";
    std::string Edit5 = "Neue Seite";
    int HeadingSize = 3;  // mirrors RadioButton1 … RadioButton6
    std::string Edit20 = "#000000";
    std::string Edit21 = "Arial";
    std::string Edit8 = "bild.jpg";
    bool eck = false;
    std::string Edit9 = "eckbild.jpg";
    SpinField SpinEdit1{"0"};

    // "Links"
    StringList ListBox2;  // link texts
    StringList ListBox5;  // link targets, never shown
    std::string Edit3 = "Link";
    std::string Edit4 = "verweisziel.html";
    bool Dots = false;
    std::string Edit6 = "dot.jpg";
    bool lh = false;
    std::string Edit7 = "lbg.jpg";
    SpinField SpinEdit2{"0"};
    SpinField SpinEdit6{"0"};
    bool strecken = false;
    bool zentrieren = false;

    // "Text"
    StringList ListBox1;  // text lines
    std::string Edit12;
    std::string Edit24 = "#000000";
    std::string Edit25 = "Arial";
    std::string Edit13;
    Alignment alignment = Alignment::None;  // toggles l, m, r
    std::string Edit22 = "Link";
    std::string Edit23 = "seite.html";

    // "Bilder"
    StringList ListBox3;  // picture files
    StringList ListBox6;  // captions, never shown
    std::string Edit10;
    std::string Edit11;
    SpinField SpinEdit3{"1"};
};

}  // namespace velmora
