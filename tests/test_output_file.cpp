// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// These tests write real files, each in a fresh temporary directory given as
// the page's folder; the working directory stays where it is, as the finish
// reads none.
#include <grp.h>
#include <gtest/gtest.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <csignal>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "generator/AsciiEncoder.h"
#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "settings/Failure.h"
#include "settings/Fields.h"
#include "wizard/PageFile.h"

namespace velmora {
namespace {

namespace fs = std::filesystem;

std::string readFile(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& p, const std::string& bytes) {
    std::ofstream(p, std::ios::binary) << bytes;
}

mode_t modeOf(const fs::path& p) {
    struct stat st = {};
    return stat(p.c_str(), &st) == 0 ? (st.st_mode & 07777) : 0;
}

// Every entry below the directory with its contents, for checking that a
// failure changed nothing and left no stray file.
std::map<std::string, std::string> entriesBelow(const fs::path& dir) {
    std::map<std::string, std::string> entries;
    for (const auto& e : fs::recursive_directory_iterator(dir)) {
        const std::string name = e.path().lexically_relative(dir).string();
        entries[name] = e.is_regular_file() && !e.is_symlink() ? readFile(e.path()) : "<other>";
    }
    return entries;
}

class OutputFile : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (fs::temp_directory_path() / "velmora-XXXXXX").string();
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        dir_ = fs::absolute(pattern);
        mask_ = umask(022);
    }
    void TearDown() override {
        umask(mask_);
        for (const auto& e : fs::recursive_directory_iterator(dir_)) {
            if (e.is_directory() && !e.is_symlink())
                fs::permissions(e.path(), fs::perms::owner_all);
        }
        fs::remove_all(dir_);
    }

    // The file `name` in the scratch folder.
    [[nodiscard]] fs::path at(const std::string& name) const { return dir_ / name; }
    [[nodiscard]] std::string folder() const { return dir_.string(); }
    // Every entry below the scratch folder, or below its folder `below`.
    [[nodiscard]] std::map<std::string, std::string> snapshot() const { return entriesBelow(dir_); }
    [[nodiscard]] std::map<std::string, std::string> snapshot(const std::string& below) const {
        return entriesBelow(at(below));
    }

    fs::path dir_;
    mode_t mask_ = 022;
};

PageSettings pageWithEverything() {
    PageSettings s;
    s.ListBox2.items = {"Home", "Kontakt"};
    s.ListBox5.items = {"index.html", "kontakt.html"};
    s.ListBox1.items = {"Willkommen"};
    s.ListBox3.items = {"a.jpg"};
    s.ListBox6.items = {"A"};
    return s;
}

std::string joinedWithCrLf(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& l : lines) all += l + "\r\n";
    return all;
}

TEST_F(OutputFile, NameIsEdit19WithTheChosenExtension) {
    struct Case {
        const char* edit19;
        bool html;
        const char* name;
    };
    const Case cases[] = {
        {"index", true, "index.html"}, {"start", false, "start.htm"},           {"", true, ".html"},
        {"", false, ".htm"},           {"seite.html", false, "seite.html.htm"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        PageSettings s;
        s.Edit19 = c.edit19;
        s.html = c.html;
        EXPECT_EQ(outputFileName(s), c.name);
        CodeList out;
        SpeedButton9Click(s, out, folder());
        const auto entries = snapshot();
        ASSERT_EQ(entries.size(), 1U);
        EXPECT_EQ(entries.begin()->first, c.name);
        fs::remove(at(c.name));
    }
}

TEST_F(OutputFile, NameWithADirectoryPartGoesIntoThatDirectory) {
    fs::create_directory(at("unter"));
    PageSettings s;
    s.Edit19 = "unter/seite";
    CodeList out;
    SpeedButton9Click(s, out, folder());
    EXPECT_EQ(readFile(at("unter/seite.html")), joinedWithCrLf(out.lines()));
    EXPECT_EQ(snapshot().size(), 2U);
    // a name from the root stands for itself, whatever the page's folder
    s.Edit19 = at("unter/absolut").string();
    SpeedButton9Click(s, out, at("unter").string());
    EXPECT_EQ(readFile(at("unter/absolut.html")), joinedWithCrLf(out.lines()));
    EXPECT_EQ(snapshot().size(), 3U);
}

TEST_F(OutputFile, EveryLineEndsWithCrLfAndNothingElseIsWritten) {
    PageSettings s = pageWithEverything();
    CodeList out;
    SpeedButton9Click(s, out, folder());
    const std::string bytes = readFile(at("index.html"));

    std::size_t expectedSize = 0;
    for (const std::string& l : out.lines()) expectedSize += l.size() + 2;
    EXPECT_EQ(bytes.size(), expectedSize);
    EXPECT_EQ(bytes, joinedWithCrLf(out.lines()));
    EXPECT_TRUE(bytes.starts_with("<html>\r\n")) << "no byte-order mark or header";
    EXPECT_TRUE(bytes.ends_with("</html>\r\n"));
    std::size_t crlf = 0;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\n') {
            ASSERT_GT(i, 0U);
            EXPECT_EQ(bytes[i - 1], '\r') << "bare LF at byte " << i;
            ++crlf;
        }
    }
    EXPECT_EQ(crlf, out.size());
}

TEST_F(OutputFile, ALongerExistingPageIsReplacedWhole) {
    writeFile(at("index.html"), std::string(100000, 'x'));
    PageSettings s;
    CodeList out;
    SpeedButton9Click(s, out, folder());
    EXPECT_EQ(readFile(at("index.html")), joinedWithCrLf(out.lines()));
    EXPECT_EQ(snapshot().size(), 1U);
}

// Every text of the page, the style sheet and the picture and link names
// included, beyond ASCII: the file holds references only, CodeList the text.
TEST_F(OutputFile, NoByteOfThePageIsBeyondAscii) {
    const std::string typed = "Grüße – Öl für 5 € in Łódź";
    PageSettings s = pageWithEverything();
    for (const TextField& f : kTextFields) {
        if (f.member != &PageSettings::Edit19) s.*f.member = typed;  // the file's name stays
    }
    for (auto* list : {&s.ListBox1, &s.ListBox2, &s.ListBox3, &s.ListBox5, &s.ListBox6}) {
        for (std::string& item : list->items) item += typed;
    }
    s.CSS = true;
    s.eck = true;
    s.Dots = true;
    s.lh = true;
    CodeList out;
    SpeedButton9Click(s, out, folder());

    EXPECT_EQ(out.lines()[1], "<head><title>" + typed + "</title>") << "CodeList keeps the text";
    const std::string bytes = readFile(at("index.html"));
    const auto high = std::find_if(bytes.begin(), bytes.end(),
                                   [](char b) { return static_cast<unsigned char>(b) >= 0x80; });
    EXPECT_EQ(high, bytes.end()) << "byte " << (high - bytes.begin()) << " is beyond ASCII";

    // every other byte as CodeList has it
    std::string expected = joinedWithCrLf(out.lines());
    const std::string encoded =
        "Gr&#252;&#223;e &#8211; &#214;l f&#252;r 5 &#8364; in &#321;&#243;d&#378;";
    std::size_t places = 0;
    for (auto at = expected.find(typed); at != std::string::npos; at = expected.find(typed, at)) {
        expected.replace(at, typed.size(), encoded);
        at += encoded.size();
        ++places;
    }
    EXPECT_GE(places, 25U) << "the text stands in every part of the page";
    EXPECT_EQ(bytes, expected);
}

TEST(AsciiEncoder, WritesAsciiAsItStandsAndEveryOtherCharacterAsAReference) {
    struct Case {
        const char* utf8;
        const char* bytes;
    };
    const Case cases[] = {
        {"plain <ascii> \"text\" &amp;", "plain <ascii> \"text\" &amp;"},
        {"\x01\t\x7F", "\x01\t\x7F"},  // the last ASCII character stays a byte
        {"\xC2\x80", "&#128;"},        // the first beyond it does not
        {"äöüÄÖÜß", "&#228;&#246;&#252;&#196;&#214;&#220;&#223;"},
        {"\xC2\xA0ÿ", "&#160;&#255;"},
        {"€–—„Zitat“", "&#8364;&#8211;&#8212;&#8222;Zitat&#8220;"},
        {"Ł", "&#321;"},
        {"😀", "&#128512;"},
        {"\xF4\x8F\xBF\xBF", "&#1114111;"},  // the last character there is
        {"a\xFC"
         "b",
         "a&#65533;b"},  // broken UTF-8 is flagged, not passed on
        {"\xC0\xAF\xED\xA0\x80", "&#65533;&#65533;&#65533;"},  // overlong, surrogate
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.utf8);
        std::string out = "vorher|";
        appendAsAscii(out, c.utf8);
        EXPECT_EQ(out, std::string("vorher|") + c.bytes);
    }
}

TEST(AsciiEncoder, ACharacterCutOffAtTheEndIsNotReadPast) {
    // held in a buffer of its exact size, so that reading past it is caught
    // by the address sanitizer
    const std::vector<char> cut = {'x', '\xE2', '\x82'};
    std::string out;
    appendAsAscii(out, std::string_view(cut.data(), cut.size()));
    EXPECT_EQ(out, "x&#65533;");
}

TEST(ComposeFileBytes, EndsEveryLineWithCrLf) {
    EXPECT_EQ(composeFileBytes({}), "");
    EXPECT_EQ(composeFileBytes({""}), "\r\n");
    EXPECT_EQ(composeFileBytes({"a", "", "ü"}), "a\r\n\r\n&#252;\r\n");
}

// Names the file system refuses: the finish fails with the composed name, the
// lines are all in CodeList, and the directory is exactly as before.
TEST_F(OutputFile, ANameThatCannotBeCreatedIsReportedAndChangesNothing) {
    writeFile(at("datei"), "ich bin eine Datei");
    writeFile(at("alt.html"), "alte Seite\r\n");
    fs::permissions(at("alt.html"),
                    fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
    fs::create_directory(at("ordner.html"));
    struct Case {
        std::string edit19;
        const char* why;
    };
    const Case cases[] = {
        {"fehlt/index", "missing directory"},
        {"datei/index", "a directory part that is a file"},
        {std::string(300, 'n'), "over-long name"},
        {"alt", "read-only existing page"},
        {"ordner", "a directory at the name"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.why);
        PageSettings s = pageWithEverything();
        s.Edit19 = c.edit19;
        const auto before = snapshot();
        const mode_t oldMode = modeOf(at("alt.html"));
        CodeList out;
        try {
            SpeedButton9Click(s, out, folder());
            ADD_FAILURE() << "no failure";
        } catch (const Failure& f) {
            EXPECT_EQ(std::string(f.what()), "Cannot create file " + c.edit19 + ".html");
        }
        PageSettings t = pageWithEverything();
        t.Edit19 = c.edit19;
        CodeList complete;
        writePage(t, complete);
        EXPECT_EQ(out.lines(), complete.lines()) << "CodeList is complete before the file";
        EXPECT_EQ(snapshot(), before);
        EXPECT_EQ(modeOf(at("alt.html")), oldMode);
    }
}

// A spacing count of two billion asks for more lines than the page may have:
// the finish is refused at once, and the next one with a sane count works.
TEST_F(OutputFile, APageOverTheLineBoundLeavesTheOldPage) {
    writeFile(at("index.html"), "alte Seite\r\n");
    PageSettings s = pageWithEverything();
    s.SpinEdit3.text = "2147483647";
    const auto before = snapshot();
    CodeList out;
    try {
        SpeedButton9Click(s, out, folder());
        ADD_FAILURE() << "no failure";
    } catch (const Failure& f) {
        EXPECT_STREQ(f.what(), kListInsertError);
    }
    EXPECT_EQ(snapshot(), before);
    EXPECT_EQ(out.size(), 0U);

    s.SpinEdit3.text = "3";
    SpeedButton9Click(s, out, folder());
    EXPECT_EQ(readFile(at("index.html")), joinedWithCrLf(out.lines()));
    EXPECT_EQ(std::count(out.lines().begin(), out.lines().end(), "<br>"), 3);
}

TEST_F(OutputFile, ASymbolicLinkIsFollowedNotReplaced) {
    fs::create_directory(at("echt"));
    writeFile(at("echt/seite.html"), "alt");
    fs::create_symlink("echt/seite.html", at("index.html"));
    writeOutputFile(folder(), "index.html", "neu\r\n");
    EXPECT_TRUE(fs::is_symlink(at("index.html")));
    EXPECT_EQ(readFile(at("echt/seite.html")), "neu\r\n");
    EXPECT_EQ(snapshot().size(), 3U) << "no temporary file left in either directory";
}

TEST_F(OutputFile, NewPageGetsTheUsualModeAndAReplacedPageKeepsItsOwn) {
    writeOutputFile(folder(), "neu.html", "x\r\n");
    EXPECT_EQ(modeOf(at("neu.html")), 0644U)
        << "0666 less the umask 022, so a web server can read it";

    umask(027);
    writeOutputFile(folder(), "neu2.html", "x\r\n");
    EXPECT_EQ(modeOf(at("neu2.html")), 0640U);

    writeFile(at("alt.html"), "alt");
    fs::permissions(at("alt.html"), static_cast<fs::perms>(0604));
    writeOutputFile(folder(), "alt.html", "neu\r\n");
    EXPECT_EQ(modeOf(at("alt.html")), 0604U);
    EXPECT_EQ(readFile(at("alt.html")), "neu\r\n");
}

// How writeOutputFile ended in a child process.
enum class Outcome { Written, CannotCreate, StreamWriteError, OtherFailure, NotSetUp, Crashed };

void PrintTo(Outcome o, std::ostream* os) {
    constexpr std::array<const char*, 6> kNames = {
        "Written", "CannotCreate", "StreamWriteError", "OtherFailure", "NotSetUp", "Crashed"};
    *os << kNames.at(static_cast<std::size_t>(o));
}

// Runs writeOutputFile(folder, name, bytes) in a child process once `setUp`
// has succeeded there, and tells how it ended.
template <typename SetUp>
Outcome writeInChild(const std::string& folder, const std::string& name, const std::string& bytes,
                     SetUp setUp) {
    const pid_t child = fork();
    if (child == 0) {
        Outcome o = Outcome::NotSetUp;
        if (setUp()) {
            try {
                writeOutputFile(folder, name, bytes);
                o = Outcome::Written;
            } catch (const Failure& f) {
                const std::string m = f.what();
                o = m == "Stream write error"           ? Outcome::StreamWriteError
                    : m == "Cannot create file " + name ? Outcome::CannotCreate
                                                        : Outcome::OtherFailure;
            } catch (...) {
                o = Outcome::Crashed;
            }
        }
        _exit(static_cast<int>(o));
    }
    int status = 0;
    if (child < 0 || waitpid(child, &status, 0) != child || !WIFEXITED(status) ||
        WEXITSTATUS(status) > static_cast<int>(Outcome::Crashed)) {
        return Outcome::Crashed;
    }
    return static_cast<Outcome>(WEXITSTATUS(status));
}

// A page of 100 KB under this limit: the first write returns a short count
// without an error, only the next one fails.
constexpr rlim_t kSizeLimit = 65536;

// Ignores SIGXFSZ as the program does, so that the write fails instead of
// the process.
bool limitFileSize(rlim_t limit) {
    const rlimit r{limit, limit};
    return std::signal(SIGXFSZ, SIG_IGN) != SIG_ERR && setrlimit(RLIMIT_FSIZE, &r) == 0;
}

Outcome writeUnderSizeLimit(const std::string& folder, const std::string& name,
                            const std::string& bytes, rlim_t limit) {
    return writeInChild(folder, name, bytes, [limit] { return limitFileSize(limit); });
}

TEST_F(OutputFile, AWriteCutShortByAFileSizeLimitKeepsTheOldPage) {
    const std::string oldPage = "<html>\r\n<body>alt</body>\r\n</html>\r\n";
    writeFile(at("index.html"), oldPage);
    const std::string page(102400, 'p');
    EXPECT_EQ(writeUnderSizeLimit(folder(), "index.html", page, kSizeLimit),
              Outcome::StreamWriteError);
    EXPECT_EQ(readFile(at("index.html")), oldPage);
    EXPECT_EQ(snapshot().size(), 1U) << "no partial temporary file left behind";

    EXPECT_EQ(writeUnderSizeLimit(folder(), "neu.html", page, kSizeLimit),
              Outcome::StreamWriteError);
    EXPECT_FALSE(fs::exists(at("neu.html")));
    EXPECT_EQ(snapshot().size(), 1U);
}

TEST_F(OutputFile, APageBelowTheFileSizeLimitIsWritten) {
    const std::string page(61440, 'p');
    EXPECT_EQ(writeUnderSizeLimit(folder(), "index.html", page, kSizeLimit), Outcome::Written);
    EXPECT_EQ(readFile(at("index.html")), page);
}

// Root may write any folder: run as root, the child becomes the user nobody.
bool becomeOtherThanRoot() {
    constexpr id_t kNobody = 65534;
    if (geteuid() != 0) return true;
    return setgroups(0, nullptr) == 0 && setgid(kNobody) == 0 && setuid(kNobody) == 0;
}

// No new file can be made in the folder, so a page that may be written is
// rewritten where it stands; every other page there is refused as before.
TEST_F(OutputFile, AWritablePageInAFolderWeMayNotWriteIsRewrittenInPlace) {
    fs::create_directory(at("ordner"));
    writeFile(at("ordner/index.html"), "alte Seite\r\n");
    fs::permissions(at("ordner/index.html"), static_cast<fs::perms>(0666));
    writeFile(at("ordner/alt.html"), "alt\r\n");
    fs::permissions(at("ordner/alt.html"), static_cast<fs::perms>(0444));
    fs::permissions(at("ordner"), static_cast<fs::perms>(0555));
    // the user nobody reaches the folder by its absolute name, through ours
    fs::permissions(dir_, static_cast<fs::perms>(0711));
    struct stat page = {};
    ASSERT_EQ(stat(at("ordner/index.html").c_str(), &page), 0);
    const std::string ordner = at("ordner").string();
    const auto inFolder = [&ordner](rlim_t sizeLimit) {
        return [&ordner, sizeLimit] {
            return chdir(ordner.c_str()) == 0 && limitFileSize(sizeLimit) && becomeOtherThanRoot();
        };
    };

    const Outcome cut =
        writeInChild(ordner, "index.html", std::string(102400, 'p'), inFolder(kSizeLimit));
    if (cut == Outcome::NotSetUp) GTEST_SKIP() << "the child cannot become the user nobody (65534)";
    EXPECT_EQ(cut, Outcome::StreamWriteError) << "a write cut short in place is reported";
    EXPECT_EQ(writeInChild(ordner, "index.html", "neu\r\n", inFolder(RLIM_INFINITY)),
              Outcome::Written);
    EXPECT_EQ(readFile(at("ordner/index.html")), "neu\r\n");
    struct stat now = {};
    ASSERT_EQ(stat(at("ordner/index.html").c_str(), &now), 0);
    EXPECT_EQ(now.st_ino, page.st_ino) << "the same file, rewritten";
    EXPECT_EQ(now.st_uid, page.st_uid);
    EXPECT_EQ(modeOf(at("ordner/index.html")), 0666U);

    EXPECT_EQ(writeInChild(ordner, "neu.html", "neu\r\n", inFolder(RLIM_INFINITY)),
              Outcome::CannotCreate);
    EXPECT_EQ(writeInChild(ordner, "alt.html", "neu\r\n", inFolder(RLIM_INFINITY)),
              Outcome::CannotCreate);
    const std::map<std::string, std::string> after = {{"alt.html", "alt\r\n"},
                                                      {"index.html", "neu\r\n"}};
    EXPECT_EQ(snapshot("ordner"), after);
}

}  // namespace
}  // namespace velmora
