// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include <gtest/gtest.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "settings/Fields.h"
#include "settings/PageSettings.h"
#include "wizard/Lists.h"

namespace velmora {
namespace {

struct Reading {
    const char* typed;
    std::int32_t value;
};

void expectReadings(const Reading* begin, const Reading* end) {
    for (const Reading* r = begin; r != end; ++r) {
        SCOPED_TRACE(std::string("typed text \"") + r->typed + "\"");
        EXPECT_EQ(spinValue(r->typed), r->value);
    }
}

// The typed texts that the wizard's spin fields must read this way.
TEST(SpinValue, ReadsTheTableOfTypedTexts) {
    const Reading table[] = {
        {"", 0},           {"7", 7},
        {" 7", 7},         {"7 ", 0},
        {"+5", 5},         {"-3", -3},
        {"1,5", 0},        {"--2", 0},
        {"$1F", 31},       {"0x10", 16},
        {"$FFFFFFFF", -1}, {"2147483647", 2147483647},
        {"2147483648", 0}, {"-2147483648", -2147483647 - 1},
    };
    expectReadings(std::begin(table), std::end(table));
}

TEST(SpinValue, ReadsEveryHexadecimalPrefix) {
    const Reading table[] = {
        {"$ff", 255},
        {"x1f", 31},
        {"X1F", 31},
        {"0x1f", 31},
        {"0XaB", 171},
        {"$7FFFFFFF", 2147483647},
        {"$80000000", -2147483647 - 1},
        {"$000000010", 16},
        {"  $10", 16},
    };
    expectReadings(std::begin(table), std::end(table));
}

TEST(SpinValue, GivesZeroForInvalidHexadecimal) {
    const Reading table[] = {
        {"$", 0},   {"0x", 0},         {"x", 0},          {"$G", 0},
        {"$1G", 0}, {"$100000000", 0}, {"$100000001", 0}, {"$1FFFFFFFF", 0},
        {"-$1", 0}, {"+0x1", 0},       {"$1 ", 0},        {"0x 1", 0},
    };
    expectReadings(std::begin(table), std::end(table));
}

TEST(SpinValue, GivesZeroForInvalidDecimal) {
    const Reading table[] = {
        {"+", 0},   {"-", 0},   {" ", 0},           {"- 3", 0},         {"3-", 0},  {"1.5", 0},
        {"abc", 0}, {"12a", 0}, {"-2147483649", 0}, {"99999999999", 0}, {"7\n", 0},
    };
    expectReadings(std::begin(table), std::end(table));
}

TEST(SpinValue, AllowsLeadingZerosAndBlanks) {
    const Reading table[] = {
        {"007", 7}, {"-007", -7},    {"+0", 0},
        {"-0", 0},  {"   -12", -12}, {"00000000002147483647", 2147483647},
    };
    expectReadings(std::begin(table), std::end(table));
}

TEST(SpinField, KeepsItsTypedTextAndReadsItAtEachAccess) {
    SpinField f{" 7"};
    EXPECT_EQ(f.value(), 7);
    EXPECT_EQ(f.text, " 7");  // never reformatted
    f.text = "abc";
    EXPECT_EQ(f.value(), 0);
    EXPECT_EQ(f.text, "abc");
}

TEST(SpinField, SetValueWritesDecimal) {
    SpinField f{"$1F"};
    f.setValue(-1);
    EXPECT_EQ(f.text, "-1");
    f.setValue(f.value() + 1);
    EXPECT_EQ(f.text, "0");
    f.setValue(-2147483647 - 1);
    EXPECT_EQ(f.text, "-2147483648");
}

TEST(PageSettings, StartsWithTheWizardDefaults) {
    const PageSettings s;
    EXPECT_TRUE(s.hgb);
    EXPECT_EQ(s.Edit1, "hintergrund.jpg");
    EXPECT_FALSE(s.CSS);
    EXPECT_TRUE(s.fett);
    EXPECT_EQ(s.Edit19, "index");
    EXPECT_TRUE(s.html);
    EXPECT_EQ(s.HeadingSize, 3);
    EXPECT_EQ(s.Edit3, "Link");
    EXPECT_EQ(s.Edit4, "verweisziel.html");
    EXPECT_EQ(s.Edit22, "Link");
    EXPECT_EQ(s.Edit23, "seite.html");
    EXPECT_EQ(s.alignment, Alignment::None);
    for (const SpinEditField& f : kSpinFields) {
        EXPECT_EQ((s.*f.member).text, f.member == &PageSettings::SpinEdit3 ? "1" : "0") << f.name;
    }
    for (std::size_t i = 0; i < kLists.size(); ++i) {
        for (auto member : {kLists[i]->shown, kLists[i]->paired}) {
            if (member == nullptr) continue;
            EXPECT_EQ((s.*member).count(), 0) << "kLists[" << i << "]";
            EXPECT_EQ((s.*member).selected, -1) << "kLists[" << i << "]";
        }
    }
    EXPECT_TRUE(s.Edit10.empty());
    EXPECT_TRUE(s.Edit11.empty());
    EXPECT_TRUE(s.Edit12.empty());
    EXPECT_TRUE(s.Edit13.empty());
}

TEST(StringList, SelectionPastTheEndIsNoSelection) {
    StringList l{{"a"}, 1};
    EXPECT_FALSE(l.hasSelection());
    l.selected = 0;
    EXPECT_TRUE(l.hasSelection());
}

}  // namespace
}  // namespace velmora
