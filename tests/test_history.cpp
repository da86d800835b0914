// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Undo and redo of the list editing: random editing sessions are undone
// back to their start and redone to their end exactly, and a window that
// shows only the rows each update names shows the lists as they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <exception>
#include <functional>
#include <map>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "FailingAllocation.h"
#include "settings/Fields.h"
#include "wizard/Editing.h"
#include "wizard/History.h"
#include "wizard/Lists.h"
#include "wizard/PagePictures.h"

namespace velmora {
namespace {

using Entries = std::vector<std::string>;

const ListField& links = kLinks;
const ListField& pictures = kPictures;
const Member<std::string> edit12 = &PageSettings::Edit12;

// The shown list's name, for the messages.
std::string nameOf(const ListField& list) {
    if (list.shown == &PageSettings::ListBox2) return "ListBox2";
    if (list.shown == &PageSettings::ListBox1) return "ListBox1";
    return list.shown == &PageSettings::ListBox3 ? "ListBox3" : "?";
}

// Every paired entry is its shown entry's text with this behind it, so a
// pair that comes apart shows at once.
std::string pairOf(const std::string& shown) { return shown + "/paar"; }

// A user at work: typing into every field and selecting between operations
// of every kind on the three lists.
class Session {
public:
    explicit Session(unsigned seed) : random_(seed) {}

    // What is never recorded: fields, ticks, spin fields, selections.
    void typeAndSelect(PageSettings& s) {
        for (const TextField& f : kTextFields) s.*f.member = text();
        s.Edit4 = pairOf(s.Edit3);
        s.Edit11 = pairOf(s.Edit10);
        for (const TickField& f : kTickFields) s.*f.member = upTo(1) == 1;
        for (const SpinEditField& f : kSpinFields) (s.*f.member).setValue(upTo(9));
        s.alignment = static_cast<Alignment>(upTo(3));
        for (const ListField* list : kLists) {
            StringList& shown = s.*list->shown;
            if (upTo(1) == 0) shown.selected = upTo(shown.count()) - 1;
        }
    }

    // One operation, as its button, key or drag runs it; `added` tells
    // whether it was "Hinzufügen".
    Step operate(PageSettings& s, bool& added) {
        const ListField& list = *kLists[static_cast<std::size_t>(upTo(2))];
        const int count = (s.*list.shown).count();
        switch (upTo(39)) {
            case 0:
                return SpeedButton8Click(s);
            case 1:
            case 2:
                return SpeedButton5Click(s);
            case 3:
            case 4:
                return SpeedButton7Click(s);
            case 5:
            case 6:
                return SpeedButton4Click(s);
            case 7:
                return SpeedButton6Click(s);
            case 8:
                return BitBtn8Click(s);
            case 9:
                return BitBtn1Click(s);
            case 10:
            case 11:
            case 12:
                added = true;
                return Button1Click(s);
            case 13:
            case 14:
            case 15:
            case 16:
                return SpeedButton2Click(s);
            case 17:
            case 18:
            case 19:
                return SpeedButton3Click(s);
            case 20:
            case 21:
            case 22:
            case 23: {
                std::string shown = text();
                std::string paired = pairOf(shown);
                return changeSelected(s, list, {std::move(shown), std::move(paired)});
            }
            case 24:
            case 25:
            case 26:
            case 27:
            case 28:
            case 29:
                return moveSelected(s, list, upTo(1) == 0 ? -1 : 1);
            default:  // a drag, now and then from or to outside the list
                return Step::move(s, list, upTo(count + 1) - 1, upTo(count + 1) - 1);
        }
    }

private:
    int upTo(int n) { return std::uniform_int_distribution<int>(0, n)(random_); }

    // Mostly new texts, now and then one seen before, or none.
    std::string text() {
        if (upTo(9) == 0) return "";
        // appended: GCC 12 at -O3 warns falsely (-Wrestrict) on "t" + std::string
        return std::string("t").append(std::to_string(upTo(upTo(3) == 0 ? 5 : 100000)));
    }

    std::mt19937 random_;
};

// The rows a window shows, changed only by the updates it is given.
class Rows {
public:
    void show(const Update& update, const PageSettings& s) {
        ASSERT_NE(update.list, nullptr);
        Entries& rows = rows_[index(*update.list)];
        const Entries& items = (s.*update.list->shown).items;
        const ListChange c = update.change;
        const auto row = [](int i) { return static_cast<std::ptrdiff_t>(i); };
        const auto item = [&items](int i) { return items.at(static_cast<std::size_t>(i)); };
        switch (c.kind) {
            case ListChange::Kind::Appended:
                ASSERT_EQ(c.index, static_cast<int>(rows.size()));
                rows.push_back(item(c.index));
                break;
            case ListChange::Kind::Inserted:
                ASSERT_LE(c.index, static_cast<int>(rows.size()));
                rows.insert(rows.begin() + row(c.index), item(c.index));
                break;
            case ListChange::Kind::Removed:
                ASSERT_LT(c.index, static_cast<int>(rows.size()));
                rows.erase(rows.begin() + row(c.index));
                break;
            case ListChange::Kind::Replaced:
                rows.at(static_cast<std::size_t>(c.index)) = item(c.index);
                break;
            case ListChange::Kind::Moved: {
                ASSERT_LT(c.index, static_cast<int>(rows.size()));
                std::string moved = std::move(rows[static_cast<std::size_t>(c.index)]);
                rows.erase(rows.begin() + row(c.index));
                ASSERT_LE(c.to, static_cast<int>(rows.size()));
                rows.insert(rows.begin() + row(c.to), std::move(moved));
                break;
            }
            case ListChange::Kind::Cleared:
                rows.clear();
                break;
            case ListChange::Kind::Refilled:
                rows = items;
                break;
            case ListChange::Kind::None:
                FAIL() << "an update without a change";
        }
        for (const ListField* list : kLists) {
            EXPECT_EQ(rows_[index(*list)], (s.*list->shown).items) << nameOf(*list);
        }
    }

private:
    static std::size_t index(const ListField& list) {
        return static_cast<std::size_t>(std::find(kLists.begin(), kLists.end(), &list) -
                                        kLists.begin());
    }

    std::array<Entries, kLists.size()> rows_;
};

void expectPairsHold(const PageSettings& s) {
    for (const ListField* each : kLists) {
        const ListField& list = *each;
        if (list.paired == nullptr) continue;
        const Entries& shown = (s.*list.shown).items;
        const Entries& paired = (s.*list.paired).items;
        ASSERT_EQ(shown.size(), paired.size()) << nameOf(list);
        for (std::size_t i = 0; i < shown.size(); ++i) {
            ASSERT_EQ(paired[i], pairOf(shown[i])) << nameOf(list) << " entry " << i;
        }
    }
}

// The settings as an undo or redo of a step of `list` should leave `now`:
// every list's entries as in `from`, and `list`'s selection too. The user's
// selections in the other lists stay.
PageSettings expectedFrom(PageSettings now, const PageSettings& from, const ListField* list) {
    for (const ListField* l : kLists) {
        for (auto member : {l->shown, l->paired}) {
            if (member == nullptr) continue;
            (now.*member).items = (from.*member).items;
            if (l == list) (now.*member).selected = (from.*member).selected;
        }
    }
    return now;
}

void expectSame(const PageSettings& actual, const PageSettings& expected) {
    for (const ListField* list : kLists) {
        for (auto member : {list->shown, list->paired}) {
            if (member == nullptr) continue;
            ASSERT_EQ((actual.*member).items, (expected.*member).items) << nameOf(*list);
            ASSERT_EQ((actual.*member).selected, (expected.*member).selected) << nameOf(*list);
        }
    }
    ASSERT_TRUE(actual == expected) << "a value outside the lists";
}

// An undo or redo, with no memory to be had: it moves what it gives back and
// copies nothing.
Update withoutMemory(const std::function<Update()>& undoOrRedo) {
    Update update;
    bool needed = false;
    {
        const velmora::testing::FailAllocation refuse(0);
        try {
            update = undoOrRedo();
        } catch (const std::exception&) {
            needed = true;
        }
        needed = needed || velmora::testing::FailAllocation::fired();
    }
    EXPECT_FALSE(needed) << "it needed memory";
    return update;
}

struct Done {
    PageSettings before;  // as the operation found the settings
    PageSettings after;
    const ListField* list;
    bool added;  // "Hinzufügen", which empties Edit12
};

// Types, selects and edits at random; then undoes every step, typing and
// selecting between the undos, and redoes every step the same way. Each
// undo must give back the lists and selections as the step found them, and
// Edit12 too for "Hinzufügen"; each redo as the step left them; and no undo
// or redo touches any other value.
TEST(History, RandomSessionsAreUndoneAndRedoneExactly) {
    for (const unsigned seed : {1U, 2U, 3U, 4U, 5U}) {
        SCOPED_TRACE("seed " + std::to_string(seed));
        Session user(seed);
        PageSettings s;
        History history;
        Rows rows;
        std::vector<Done> done;
        for (int i = 0; i < 800; ++i) {
            SCOPED_TRACE("step " + std::to_string(i));
            user.typeAndSelect(s);
            const PageSettings before = s;
            bool added = false;
            const Update update =
                history.run(s, [&](PageSettings& t) { return user.operate(t, added); });
            if (update.list == nullptr) {
                ASSERT_TRUE(s == before) << "a step that changed nothing changed something";
                continue;
            }
            ASSERT_NO_FATAL_FAILURE(expectPairsHold(s));
            ASSERT_NO_FATAL_FAILURE(rows.show(update, s));
            ASSERT_EQ(update.field, added ? edit12 : nullptr);
            done.push_back({before, s, update.list, added});
        }
        ASSERT_GT(done.size(), 500U);

        const auto replay = [&](const Done& step, bool undo) {
            user.typeAndSelect(s);
            const PageSettings& goal = undo ? step.before : step.after;
            PageSettings expected = expectedFrom(s, goal, step.list);
            if (step.added) expected.Edit12 = goal.Edit12;
            ASSERT_TRUE(undo ? history.canUndo() : history.canRedo());
            const Update update =
                withoutMemory([&] { return undo ? history.undo(s) : history.redo(s); });
            ASSERT_NO_FATAL_FAILURE(expectSame(s, expected));
            ASSERT_NO_FATAL_FAILURE(rows.show(update, s));
            ASSERT_EQ(update.field, step.added ? edit12 : nullptr);
        };
        for (auto step = done.rbegin(); step != done.rend(); ++step) {
            SCOPED_TRACE("undo of step " + std::to_string(done.rend() - step - 1));
            ASSERT_NO_FATAL_FAILURE(replay(*step, true));
        }
        EXPECT_FALSE(history.canUndo());
        EXPECT_EQ(history.undo(s).list, nullptr);

        for (auto step = done.begin(); step != done.end(); ++step) {
            SCOPED_TRACE("redo of step " + std::to_string(step - done.begin()));
            ASSERT_NO_FATAL_FAILURE(replay(*step, false));
        }
        EXPECT_FALSE(history.canRedo());
        EXPECT_EQ(history.redo(s).list, nullptr);
    }
}

// Three links A, B, C, then a picture added and undone, so a redo waits.
struct Started {
    PageSettings s;
    History history;

    Started() {
        for (const char* text : {"A", "B", "C"}) {
            s.Edit3 = text;
            s.Edit4 = pairOf(text);
            history.run(s, SpeedButton2Click);
        }
        history.run(s, SpeedButton3Click);
        history.undo(s);
    }
};

Step changeToWhatItHas(PageSettings& s) { return changeSelected(s, links, {"B", pairOf("B")}); }
Step changeToX(PageSettings& s) { return changeSelected(s, links, {"X", "x"}); }

TEST(History, AnOperationThatChangesNothingIsNoStepAndKeepsTheRedo) {
    const struct {
        const char* what;
        int selected;  // in the links
        std::function<Step(PageSettings&)> operation;
    } cases[] = {
        {"Link löschen without a selection", -1, SpeedButton5Click},
        {"Zeile löschen on no lines", -1, SpeedButton7Click},
        {"Bild löschen on no pictures", -1, SpeedButton4Click},
        {"Alles löschen on no lines", -1, SpeedButton8Click},
        {"Nach oben at the top", 0, [](PageSettings& s) { return moveSelected(s, links, -1); }},
        {"Nach unten at the bottom", 2, [](PageSettings& s) { return moveSelected(s, links, 1); }},
        {"Nach oben without a selection", -1,
         [](PageSettings& s) { return moveSelected(s, links, -1); }},
        {"Ändern to the texts it has", 1, changeToWhatItHas},
        {"Ändern without a selection", -1, changeToX},
        {"a drag onto its own place", 1,
         [](PageSettings& s) { return Step::move(s, links, 1, 1); }},
        {"a drag past the end", 1, [](PageSettings& s) { return Step::move(s, links, 1, 3); }},
        {"a drag from no picture", -1,
         [](PageSettings& s) { return Step::move(s, pictures, 0, 0); }},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Started started;
        PageSettings& s = started.s;
        s.ListBox2.selected = c.selected;
        const PageSettings before = s;
        EXPECT_EQ(started.history.run(s, c.operation).list, nullptr);
        EXPECT_TRUE(s == before);
        EXPECT_TRUE(started.history.canRedo()) << "the redo is kept";
        started.history.undo(s);
        EXPECT_EQ(s.ListBox2.items, (Entries{"A", "B"})) << "the last step undone is C's";
    }
}

TEST(History, ANewOperationDropsTheRedo) {
    Started started;
    PageSettings& s = started.s;
    History& history = started.history;
    s.ListBox2.selected = 0;
    history.run(s, [](PageSettings& t) { return moveSelected(t, links, 1); });
    EXPECT_FALSE(history.canRedo());
    EXPECT_EQ(history.redo(s).list, nullptr);
    EXPECT_TRUE(s.ListBox3.items.empty()) << "the picture undone stays undone";

    history.undo(s);
    EXPECT_EQ(s.ListBox2.items, (Entries{"A", "B", "C"}));
    EXPECT_EQ(s.ListBox2.selected, 0);
    history.undo(s);
    EXPECT_EQ(s.ListBox2.items, (Entries{"A", "B"}));
}

TEST(History, ClearForgetsEveryStep) {
    Started started;
    PageSettings& s = started.s;
    History& history = started.history;
    history.clear();
    EXPECT_FALSE(history.canUndo());
    EXPECT_FALSE(history.canRedo());
    s.Edit12 = "neu";
    const PageSettings before = s;
    EXPECT_EQ(history.undo(s).list, nullptr);
    EXPECT_EQ(history.redo(s).list, nullptr);
    EXPECT_TRUE(s == before);

    history.run(s, Button1Click);
    history.undo(s);
    EXPECT_TRUE(s == before) << "a step after clear() is undone as any other";
    EXPECT_FALSE(history.canUndo());
}

// Refuses each allocation of one recorded operation in turn, with the history
// at the end of its room: the operation is done and recorded, or neither.
TEST(History, AnOperationThatRunsOutOfMemoryIsNotRecorded) {
    bool completed = false;
    for (std::size_t n = 0; n < 1000 && !completed; ++n) {
        SCOPED_TRACE("allocation " + std::to_string(n));
        PageSettings s;
        s.Edit3 = std::string(40, 'T');
        History history;
        for (int i = 0; i < 16; ++i) history.run(s, SpeedButton2Click);
        const PageSettings start = s;
        bool failed = false;
        {
            const velmora::testing::FailAllocation refuse(n);
            try {
                history.run(s, SpeedButton2Click);
            } catch (const std::exception&) {
                failed = true;
            }
            completed = !velmora::testing::FailAllocation::fired();
        }
        EXPECT_EQ(failed, !completed);
        EXPECT_EQ(s.ListBox2.count(), start.ListBox2.count() + (completed ? 1 : 0));
        history.undo(s);
        EXPECT_EQ(s.ListBox2.count(), start.ListBox2.count() - (completed ? 0 : 1))
            << "the undo takes the last link that was added";
    }
    EXPECT_TRUE(completed);
}

}  // namespace
}  // namespace velmora

namespace velmora {
namespace {

// Copies made for the web take their originals' names in every place that
// names a picture, in one step, which an undo takes back whole.
TEST(History, PicturesRenamedInOneStep) {
    PageSettings s;
    s.Edit1 = "urlaub.heic";
    s.Edit8 = "urlaub.heic";
    s.Edit10 = "fremd.jpg";
    s.Edit12 = "urlaub.heic";  // the line being typed names no picture
    s.ListBox3.items = {"urlaub.heic", "bleibt.png"};
    s.ListBox6.items = {"urlaub.heic", ""};  // a caption, no name of a picture
    s.ListBox3.selected = 1;
    s.ListBox1.items = {
        R"(<img src="urlaub.heic" align="left">)",
        R"(<a href="urlaub.heic">src="urlaub.heic"</a> und <img src='urlaub.heic'>)",
        "urlaub.heic, im Text", R"(<img src=urlaub.heic>)"};
    const PageSettings before = s;
    History history;
    const Update update = history.run(s, [](PageSettings& p) {
        return Step::rename(p, {{"urlaub.heic", "bilder/urlaub.jpg"}, {"nie.jpg", "x.jpg"}});
    });
    EXPECT_TRUE(update.several);
    EXPECT_TRUE(update.changedSomething());
    PageSettings expected = before;
    expected.Edit1 = expected.Edit8 = "bilder/urlaub.jpg";
    expected.ListBox3.items[0] = "bilder/urlaub.jpg";
    expected.ListBox1.items[0] = R"(<img src="bilder/urlaub.jpg" align="left">)";
    expected.ListBox1.items[1] =
        R"(<a href="urlaub.heic">src="bilder/urlaub.jpg"</a> und <img src='bilder/urlaub.jpg'>)";
    expected.ListBox1.items[3] = R"(<img src=bilder/urlaub.jpg>)";
    EXPECT_EQ(s, expected);
    history.undo(s);
    EXPECT_EQ(s, before);
    history.redo(s);
    EXPECT_EQ(s, expected);
    // nothing to rename: no step, and the redo kept
    history.undo(s);
    EXPECT_TRUE(
        Step::rename(s, {{"bleibt.png", "bleibt.png"}, {"fehlt.gif", "x.gif"}}).changedNothing());
    EXPECT_TRUE(history.canRedo());
}

// What each picture is copied for: the tightest of the places that show it,
// the fields' own, the row's and the text's; a background's area is the
// loosest bound.
TEST(PagePictures, EachByItsTightestPlace) {
    using pictures::Place;
    PageSettings s;
    s.Edit1 = "muster.png";  // the background
    s.Edit7 = "";
    s.Edit6 = "punkt.gif";
    s.Edit8 = "kopf.jpg";
    s.Edit9 = "ecke.jpg";
    s.Edit13 = "";
    s.Edit10 = "";
    s.ListBox3.items = {"kopf.jpg", "reihe.jpg", "muster.png"};
    s.ListBox6.items = {"", "", ""};
    s.ListBox1.items = {R"(<img src="ecke.jpg"> <img src='text.jpg'> <img src=reihe.jpg>)",
                        R"(src="offen.jpg)"};
    const std::map<std::string, Place> expected{
        {"ecke.jpg", Place::Corner},       {"kopf.jpg", Place::Heading},
        {"muster.png", Place::PictureRow}, {"punkt.gif", Place::LinkDots},
        {"reihe.jpg", Place::TextPicture}, {"text.jpg", Place::TextPicture}};
    EXPECT_EQ(picturePlaces(s), expected);
}

}  // namespace
}  // namespace velmora
