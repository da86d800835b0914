// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the wizard and the preview say to each other: messages survive the
// pipe however it cuts them, a broken stream ends the conversation, and a
// page past the preview's bound is a note, decided before a line is made.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"
#include "wizard/Preview.h"

namespace velmora::preview {
namespace {

std::vector<Message> readAll(Reader& reader) {
    std::vector<Message> messages;
    while (auto message = reader.next()) messages.push_back(*message);
    return messages;
}

TEST(PreviewMessages, ArriveWholeAndInOrderHoweverThePipeCutsThem) {
    const std::vector<Message> sent = {{"page", std::string("7\n/ordner\n<html>\r\n\0\n", 20)},
                                       {"hide", ""},
                                       {"show", joinValues({{"size", "800,600"}, {"focus", "0"}})},
                                       {"drawn", "7"}};
    std::string bytes;
    for (const Message& m : sent) bytes += encode(m);
    for (const std::size_t piece : {bytes.size(), std::size_t{1}, std::size_t{5}}) {
        SCOPED_TRACE(piece);
        Reader reader;
        std::vector<Message> got;
        for (std::size_t i = 0; i < bytes.size(); i += piece) {
            reader.feed(std::string_view(bytes).substr(i, piece));
            for (const Message& m : readAll(reader)) got.push_back(m);
        }
        EXPECT_EQ(got, sent);
        EXPECT_FALSE(reader.broken());
    }
}

TEST(PreviewMessages, ABrokenStreamEndsTheConversation) {
    for (const char* bytes : {"page\n", " 3\nabc", "page x\n", "page -1\n", "page 3 4\nabcd",
                              "page 999999999999999999999\n"}) {
        SCOPED_TRACE(bytes);
        Reader reader;
        reader.feed(bytes);
        EXPECT_FALSE(reader.next().has_value());
        EXPECT_TRUE(reader.broken());
        reader.feed(encode({"hide", ""}));
        EXPECT_FALSE(reader.next().has_value());  // nothing after the break
    }
    Reader waiting;
    waiting.feed("page 10\nabc");  // not yet whole: no break
    EXPECT_FALSE(waiting.next().has_value());
    EXPECT_FALSE(waiting.broken());
    Reader endless;
    endless.feed(std::string(100, 'x'));  // a header that never ends
    EXPECT_FALSE(endless.next().has_value());
    EXPECT_TRUE(endless.broken());
}

TEST(PreviewMessages, APageIsTheFinishsBytesUntilItIsTooBig) {
    PageSettings s;
    s.ListBox1.items = {
        "Gr\xC3\xBC\xC3\x9F"
        "e"};
    const Message page = pageMessage(s, 42, "/home/anna/www");
    const auto read = readPage(page);
    ASSERT_TRUE(read.has_value());
    const Page got = read.value_or(Page{});
    EXPECT_EQ(got.sequence, 42U);
    EXPECT_EQ(got.folder, "/home/anna/www");
    CodeList lines;
    writePage(s, lines);
    EXPECT_EQ(got.bytes, composeFileBytes(lines.lines()));
    EXPECT_FALSE(got.tooBig);

    // one picture whose breaks make the page exactly the bound, then one more
    s.ListBox3.items = {"bild.jpg"};
    s.ListBox6.items = {""};
    s.SpinEdit3.setValue(0);
    const auto base = static_cast<std::int64_t>(pageLineCount(s));
    s.SpinEdit3.setValue(static_cast<std::int32_t>(static_cast<std::int64_t>(kMaxLines) - base));
    EXPECT_EQ(pageMessage(s, 1, "/").name, "page");
    s.SpinEdit3.setValue(s.SpinEdit3.value() + 1);
    EXPECT_EQ(pageMessage(s, 2, "/"), (Message{"too-big", "2"}));
    // a spacing count of two billion is a note at once, not a page
    s.SpinEdit3.setValue(2147483647);
    const auto note = readPage(pageMessage(s, 3, "/"));
    ASSERT_TRUE(note.has_value());
    const Page tooBig = note.value_or(Page{});
    EXPECT_TRUE(tooBig.tooBig);
    EXPECT_EQ(tooBig.sequence, 3U);
}

TEST(PreviewMessages, ValuesAreKeyEqualsValueLines) {
    const Values values{{"at", "10,20"}, {"mode", "1280 \xC3\x97 800"}, {"size", "640,480"}};
    EXPECT_EQ(splitValues(joinValues(values)), values);
    EXPECT_EQ(splitValues("a=1\n=2\nkein\nb=x=y"), (Values{{"a", "1"}, {"b", "x=y"}}));
    // a place left of or above the first screen is negative
    const Values pairs{{"at", joinPair(-1280, 0)},
                       {"size", "640,480"},
                       {"a", "1,"},
                       {"b", ",2"},
                       {"c", "1,2,3"},
                       {"d", "1 ,2"},
                       {"e", "99999999999,1"}};
    EXPECT_EQ(pairAt(pairs, "at"), (std::pair{-1280, 0}));
    EXPECT_EQ(pairAt(pairs, "size"), (std::pair{640, 480}));
    for (const char* broken : {"a", "b", "c", "d", "e", "none"})
        EXPECT_FALSE(pairAt(pairs, broken).has_value()) << broken;
    EXPECT_FALSE(readPage({"page", "x\n/\n"}).has_value());
    EXPECT_FALSE(readPage({"page", "1"}).has_value());
    EXPECT_FALSE(readPage({"hide", ""}).has_value());
}

}  // namespace
}  // namespace velmora::preview
