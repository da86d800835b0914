// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Writes the pages for the browser check: each page is filled in through the
// wizard's editing operations and written by the real finish, so the browser
// sees exactly the bytes a user's page would have. Beside each page it writes
// the pictures the page names (small BMP files, whatever their extension says,
// since browsers pick the decoder by the file's first bytes) and NAME.expect.js,
// what the page maker typed, for check_page.js to compare against the layout.
//
//   make_pages DIR   → DIR/NAME.html, DIR/NAME.expect.js, DIR/<pictures>
#include <cstdint>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "generator/PageGenerator.h"
#include "settings/PageSettings.h"
#include "wizard/Editing.h"
#include "wizard/PageFile.h"

namespace {

using velmora::Alignment;
using velmora::PageSettings;

struct Colour {
    std::uint8_t r, g, b;
};

struct Picture {
    int width;
    int height;
    Colour colour;
};

struct Link {
    std::string text;
    std::string target;
};

struct Caption {
    std::string file;
    std::string caption;
};

// What the user typed, kept apart from the settings so that the check compares
// the rendered page with the input and not with the generator's own reading.
struct Page {
    explicit Page(std::string pageName) : name(std::move(pageName)) {}

    std::string name;
    PageSettings s;
    std::vector<Link> links;
    std::vector<std::string> textLines;  // visible text of the plain lines
    std::vector<Link> textLinks;
    std::vector<std::string> textPictures;
    std::vector<Caption> pictures;
    std::map<std::string, Picture> files;

    void addLink(const std::string& text, const std::string& target) {
        s.Edit3 = text;
        s.Edit4 = target;
        velmora::SpeedButton2Click(s);
        links.push_back({text, target});
    }
    void addLine(const std::string& line) {
        s.Edit12 = line;
        velmora::Button1Click(s);
        textLines.push_back(line);
    }
    void addTextLink(const std::string& text, const std::string& target) {
        s.Edit22 = text;
        s.Edit23 = target;
        velmora::BitBtn1Click(s);
        textLinks.push_back({text, target});
    }
    void addTextPicture(const std::string& file, Alignment a, Picture p) {
        s.Edit13 = file;
        if (s.alignment != a) velmora::pressToggle(s, a);
        velmora::BitBtn8Click(s);
        textPictures.push_back(file);
        files[file] = p;
    }
    void addPicture(const std::string& file, const std::string& caption, Picture p) {
        s.Edit10 = file;
        s.Edit11 = caption;
        velmora::SpeedButton3Click(s);
        pictures.push_back({file, caption});
        files[file] = p;
    }
};

// A 24-bit uncompressed BMP: rows bottom-up, each padded to four bytes.
std::string bmp(const Picture& p) {
    const auto rowBytes = static_cast<std::uint32_t>((p.width * 3 + 3) / 4 * 4);
    const std::uint32_t pixelBytes = rowBytes * static_cast<std::uint32_t>(p.height);
    std::string out;
    auto u16 = [&out](std::uint32_t v) {
        out.push_back(static_cast<char>(v & 0xFFU));
        out.push_back(static_cast<char>((v >> 8U) & 0xFFU));
    };
    auto u32 = [&u16](std::uint32_t v) {
        u16(v & 0xFFFFU);
        u16(v >> 16U);
    };
    out += "BM";
    u32(54 + pixelBytes);
    u32(0);
    u32(54);
    u32(40);
    u32(static_cast<std::uint32_t>(p.width));
    u32(static_cast<std::uint32_t>(p.height));
    u16(1);
    u16(24);
    u32(0);
    u32(pixelBytes);
    u32(2835);
    u32(2835);
    u32(0);
    u32(0);
    for (int y = 0; y < p.height; ++y) {
        std::string row;
        for (int x = 0; x < p.width; ++x) {
            // a darker frame, so that a cut-off picture shows in the screenshot;
            // small tiles stay plain, they are backgrounds and dots
            const bool framed = p.width > 16 && p.height > 16;
            const bool edge = framed && (x == 0 || y == 0 || x == p.width - 1 || y == p.height - 1);
            const auto shade = [edge](std::uint8_t c) {
                return static_cast<char>(edge ? c / 2 : c);
            };
            row += shade(p.colour.b);
            row += shade(p.colour.g);
            row += shade(p.colour.r);
        }
        row.resize(rowBytes, '\0');
        out += row;
    }
    return out;
}

// JavaScript string literal in plain ASCII, as the page it is appended to, so
// that it reads the same in any charset: anything beyond ASCII goes in as \u
// escapes.
std::string js(const std::string& utf8) {
    std::string out = "\"";
    for (std::size_t i = 0; i < utf8.size();) {
        const auto c0 = static_cast<unsigned char>(utf8[i]);
        std::uint32_t cp = c0;
        std::size_t len = 1;
        if (c0 >= 0xF0) {
            cp = c0 & 0x07U;
            len = 4;
        } else if (c0 >= 0xE0) {
            cp = c0 & 0x0FU;
            len = 3;
        } else if (c0 >= 0xC0) {
            cp = c0 & 0x1FU;
            len = 2;
        }
        for (std::size_t k = 1; k < len && i + k < utf8.size(); ++k) {
            cp = (cp << 6U) | (static_cast<unsigned char>(utf8[i + k]) & 0x3FU);
        }
        i += len;
        if (cp == '"' || cp == '\\' || cp == '/' || cp < 0x20 || cp > 0x7E) {
            char buf[16];
            if (cp > 0xFFFF) {
                const std::uint32_t v = cp - 0x10000;
                std::snprintf(buf, sizeof buf, "\\u%04x\\u%04x", 0xD800 + (v >> 10U),
                              0xDC00 + (v & 0x3FFU));
            } else {
                std::snprintf(buf, sizeof buf, "\\u%04x", cp);
            }
            out += buf;
        } else {
            out += static_cast<char>(cp);
        }
    }
    return out + "\"";
}

std::string jsOrNull(bool present, const std::string& v) { return present ? js(v) : "null"; }

// The lists are appended to piece by piece: GCC 12 at -O3 warns falsely
// (-Wrestrict) on an inlined "literal" + std::string&&.
std::string jsLinks(const std::vector<Link>& links) {
    std::string out = "[";
    for (const Link& l : links) {
        if (out.size() > 1) out += ',';
        out += "{text:";
        out += js(l.text);
        out += ",href:";
        out += js(l.target);
        out += '}';
    }
    return out + "]";
}

std::string jsStrings(const std::vector<std::string>& v) {
    std::string out = "[";
    for (const std::string& x : v) {
        if (out.size() > 1) out += ',';
        out += js(x);
    }
    return out + "]";
}

std::string expectations(const Page& p) {
    const PageSettings& s = p.s;
    std::string out = "var expected = {\n";
    out += "  page: " + js(p.name) + ",\n";
    out += "  title: " + js(s.Edit2) + ",\n";
    out += "  heading: " + js(s.Edit5) + ",\n";
    out += "  headingFace: " + js(s.Edit21) + ",\n";
    out += "  headingPicture: " + jsOrNull(!s.Edit8.empty(), s.Edit8) + ",\n";
    out += "  corner: " + jsOrNull(s.eck, s.Edit9) + ",\n";
    out += "  background: " + jsOrNull(s.hgb, s.Edit1) + ",\n";
    out += "  bgcolor: " + jsOrNull(!s.hgb, s.Edit14) + ",\n";
    out += "  links: " + jsLinks(p.links) + ",\n";
    out += "  dot: " + jsOrNull(s.Dots, s.Edit6) + ",\n";
    out += "  centred: " + std::string(s.zentrieren ? "true" : "false") + ",\n";
    out += "  linkBackground: " + jsOrNull(s.lh, s.Edit7) + ",\n";
    out += "  fillerBackground: " + jsOrNull(s.strecken, s.Edit7) + ",\n";
    out += "  textFace: " + js(s.Edit25) + ",\n";
    out += "  textLines: " + jsStrings(p.textLines) + ",\n";
    out += "  textLinks: " + jsLinks(p.textLinks) + ",\n";
    out += "  textPictures: " + jsStrings(p.textPictures) + ",\n";
    out += "  pictures: [";
    for (std::size_t i = 0; i < p.pictures.size(); ++i) {
        if (i != 0) out += ',';
        out += "{src:";
        out += js(p.pictures[i].file);
        out += ",caption:";
        out += js(p.pictures[i].caption);
        out += '}';
    }
    out += "],\n";
    out += "  breaks: " + std::to_string(s.SpinEdit3.value()) + "\n};\n";
    return out;
}

// The pictures every page may name; a page adds its own on top.
void addDecorations(Page& p) {
    const PageSettings& s = p.s;
    if (s.hgb) p.files[s.Edit1] = {16, 16, {250, 246, 232}};
    if (!s.Edit8.empty()) p.files[s.Edit8] = {40, 28, {230, 120, 40}};
    if (s.eck) p.files[s.Edit9] = {64, 48, {60, 140, 200}};
    if (s.Dots) p.files[s.Edit6] = {12, 12, {200, 30, 30}};
    if (s.lh || s.strecken) p.files[s.Edit7] = {16, 16, {190, 225, 190}};
}

std::vector<Page> pages() {
    std::vector<Page> out;
    {
        // The wizard as it starts, with the one link a page needs.
        Page p("standard");
        p.addLink(p.s.Edit3, p.s.Edit4);
        out.push_back(std::move(p));
    }
    {
        Page p("zwoelf_links");
        p.s.eck = true;
        p.s.Edit5 = "Zwölf Links";
        const char* names[] = {"Start",   "Aktuelles", "Team",    "Projekte",
                               "Termine", "Presse",    "Archiv",  "Galerie",
                               "Service", "Kontakt",   "Anfahrt", "Impressum"};
        int i = 1;
        for (const char* n : names) p.addLink(n, "seite" + std::to_string(i++) + ".html");
        p.addLine("Erste Zeile des Textes.");
        p.addLine("Zweite Zeile des Textes.");
        p.addLine("Dritte Zeile des Textes.");
        out.push_back(std::move(p));
    }
    {
        Page p("dots_zentriert");
        p.s.Dots = true;
        p.s.zentrieren = true;
        p.s.lh = true;
        p.s.strecken = true;
        p.s.CSS = true;
        p.s.Edit15 = "#003399";
        p.s.SpinEdit2.text = "160";
        p.s.SpinEdit6.text = "28";
        p.s.Edit5 = "Zentrierte Links";
        p.addLink("Start", "index.html");
        p.addLink("Über uns", "ueber.html");
        p.addLink("Kontakt", "kontakt.html");
        p.addLink("Ein etwas längerer Link", "lang.html");
        p.addLine("Die Links stehen mittig auf ihrem Hintergrund.");
        out.push_back(std::move(p));
    }
    {
        Page p("bilder");
        p.s.hgb = false;
        p.s.Edit14 = "#FFF8E0";
        p.s.Edit5 = "Bilder";
        p.addLink("Start", "index.html");
        p.addLink("Urlaub", "urlaub.html");
        p.addLine("Unten stehen drei Bilder mit Bildtext.");
        p.addLine("Noch eine Zeile.");
        p.addPicture("urlaub.bmp", "Am Meer", {120, 80, {70, 150, 220}});
        p.addPicture("haus.bmp", "", {90, 60, {200, 80, 60}});
        p.addPicture("garten.bmp", "Im Garten", {100, 70, {80, 180, 90}});
        out.push_back(std::move(p));
    }
    {
        // Finished without adding a link.
        Page p("ohne_links");
        p.s.Edit5 = "Ohne Links";
        p.addLine("Diese Seite hat keinen einzigen Link.");
        p.addLine("Der Text steht trotzdem rechts.");
        p.addPicture("bild1.bmp", "Ein Bild", {80, 50, {150, 90, 200}});
        out.push_back(std::move(p));
    }
    {
        // Umlauts, "ß", "€", a dash and letters outside Windows-1252 in every
        // kind of text and name, as a German page maker types them.
        Page p("umlaute");
        PageSettings& s = p.s;
        s.Edit2 = "Grüße aus Łódź für 5 €";
        s.Edit5 = "Äpfel, Öl & Übermut – süße Grüße für 3 € in Łeba";
        s.Edit21 = "Ärial";
        s.Edit1 = "hintergrund-ü.jpg";
        s.Edit8 = "überschrift-€.jpg";
        s.eck = true;
        s.Edit9 = "eckbild-ö.jpg";
        s.Dots = true;
        s.Edit6 = "pünktchen-Ł.jpg";
        s.lh = true;
        s.Edit7 = "linkgrund-ß.jpg";
        s.Edit25 = "Schrift-ä";
        s.SpinEdit2.text = "150";
        p.addLink("Über uns", "über-uns.html");
        p.addLink("Preise in €", "preise-€.html");
        p.addLink("Grüße – 5 € in Łódź", "łódź.html");
        p.addLine("Schöne Grüße, süße Äpfel, große Öfen – alles für 10 € in Łódź.");
        p.addLine("Zu Gast in Łódź und Łeba.");
        p.addTextLink("Bücher für 2 €", "bücher-Ł.html");
        p.addTextPicture("bäume-€.bmp", Alignment::Right, {50, 40, {120, 170, 60}});
        p.addPicture("bär-Ł.bmp", "Ein süßer Bär – 7 € aus Łomża", {100, 60, {160, 110, 60}});
        p.addPicture("möwe.bmp", "Möwe über der Förde", {100, 60, {110, 160, 210}});
        out.push_back(std::move(p));
    }
    for (Page& p : out) p.s.Edit19 = p.name;
    return out;
}

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::ofstream f(path, std::ios::binary | std::ios::trunc);
    f << bytes;
    f.close();
    if (!f) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: make_pages DIR\n";
        return 2;
    }
    try {
        std::filesystem::create_directories(argv[1]);
        const std::filesystem::path dir = std::filesystem::absolute(argv[1]);
        for (Page& p : pages()) {
            addDecorations(p);
            velmora::CodeList code;
            velmora::SpeedButton9Click(p.s, code, dir.string());
            for (const auto& [file, picture] : p.files) writeFile(dir / file, bmp(picture));
            writeFile(dir / (p.name + ".expect.js"), expectations(p));
            std::cout << p.name << ".html: " << code.size() << " lines\n";
        }
    } catch (const std::exception& e) {
        std::cerr << "make_pages: " << e.what() << '\n';
        return 1;
    }
    return 0;
}
