// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// Undo and redo of the list editing. Every editing operation (Editing.h) is
// made of one Step: the record of what it changed in one list and its pair,
// which undoes and redoes itself. History keeps the steps in order.
//
//   button ──operation──▶ Step ──History::run──▶ Update ──▶ window shows the rows
//   Strg+Z ──History::undo──▶ Update;   redo ──History::redo──▶ Update
//
// A step holds only what the lists no longer hold: the entry a delete took,
// the entry a change replaced, the lines "Alles löschen" took; a move holds
// no entry. The steps name entries by index, which stays right because only
// steps change the lists: opening a page, which replaces them, clears the
// history. Typing, ticks, the user's selections and the finish are no steps.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "settings/Fields.h"
#include "settings/PageSettings.h"
#include "wizard/Lists.h"

namespace velmora {

/// What changed in the rows of a shown list, so that a window updates only
/// those rows.
struct ListChange {
    enum class Kind : std::uint8_t {
        None,      // no row changed
        Appended,  // row `index` added at the end
        Inserted,  // row `index` put back; the rows from there on move down (a delete undone)
        Removed,   // row `index` taken out; the rows after it move up
        Replaced,  // row `index` shows another text
        Moved,     // the row that stood at `index` stands at `to`; the rows between move by one
        Cleared,   // every row gone
        Refilled,  // every row anew (an "Alles löschen" undone)
    };
    Kind kind = Kind::None;
    int index = -1;
    int to = -1;

    friend bool operator==(const ListChange&, const ListChange&) = default;
};

/// What a step, its undo or its redo changed. The window shows `change` in
/// `list`'s rows, then the list's selection as the settings hold it, and the
/// text of `field` when there is one; or, for `several`, every field and list.
struct Update {
    const ListField* list = nullptr;  // nullptr: nothing changed, unless `several`
    ListChange change;
    Member<std::string> field = nullptr;  // a field whose text changed ("Hinzufügen"'s Edit12)
    bool several = false;                 // fields and lists changed together (pictures renamed)

    [[nodiscard]] bool changedSomething() const noexcept { return list != nullptr || several; }
};

/// An entry of a list and its pair's entry at the same index. The text lines
/// have no pair: their `paired` is not read.
struct Entry {
    std::string shown;
    std::string paired;
};

/// One editing operation's record. The named constructors are the list edits
/// that every editing operation is made of: each changes `s` and returns its
/// record, or throws Failure ("Unable to insert a line", memory exhausted)
/// and changes nothing. Both lists of a pair change at the same index.
class Step {
public:
    /// A step that changed nothing; History records none.
    Step() = default;

    /// Appends `entry`; the selection stays. `emptied`, when given, is a field
    /// the append empties ("Hinzufügen"), and an undo gives back its text.
    static Step append(PageSettings& s, const ListField& list, Entry entry,
                       Member<std::string> emptied = nullptr);
    /// Deletes entry `index`; nothing is selected afterwards. An index outside
    /// the list changes nothing.
    static Step remove(PageSettings& s, const ListField& list, int index);
    /// Gives entry `index` the texts of `entry`; the selection stays. An index
    /// outside the list, or the texts the entry has, change nothing.
    static Step replace(PageSettings& s, const ListField& list, int index, Entry entry);
    /// Moves entry `from` to index `to` (a drag within the list); the entries
    /// between move by one, and the selection stays on the entry it marked.
    /// An index outside the list, or `from` == `to`, changes nothing.
    static Step move(PageSettings& s, const ListField& list, int from, int to);
    /// Deletes every entry; nothing is selected afterwards. An empty list
    /// changes nothing.
    static Step clear(PageSettings& s, const ListField& list);
    /// Names each picture that `names` maps, in the picture fields, the
    /// picture list and the text lines (`src="…"`), by its new name: copies
    /// made for the web in place of their originals, in one step. Names it
    /// does not map stay; with none to rename, nothing changes.
    static Step rename(PageSettings& s, const std::map<std::string, std::string>& names);

    [[nodiscard]] bool changedNothing() const noexcept { return kind_ == Kind::None; }
    /// What the step did: its list, its rows and its field.
    [[nodiscard]] Update update() const noexcept;
    /// The rows the step changed, as update().change.
    [[nodiscard]] ListChange change() const noexcept { return update().change; }

    /// Puts the lists, their selections and the emptied field back as they
    /// were before the step. Throws Failure and changes nothing when memory
    /// runs out. An undone step, or one that changed nothing, stays as it is.
    Update undo(PageSettings& s);
    /// Does an undone step again: the lists, their selections and the field
    /// are then as the step left them. Otherwise as undo().
    Update redo(PageSettings& s);

private:
    enum class Kind : std::uint8_t { None, Append, Remove, Replace, Move, Clear, Rename };
    struct Selection {
        int shown = -1;
        int paired = -1;
    };

    Step(Kind kind, const ListField& list, int index, int to = -1);
    static Step firstDone(PageSettings& s, Step step);
    [[nodiscard]] Selection selectionIn(const PageSettings& s) const noexcept;
    void select(PageSettings& s, Selection selection) const noexcept;
    void apply(PageSettings& s);
    void revert(PageSettings& s);
    void swapNames(PageSettings& s) noexcept;
    [[nodiscard]] Update rows(bool undone) const noexcept;

    Kind kind_ = Kind::None;
    bool undone_ = false;
    const ListField* list_ = nullptr;
    int index_ = -1;
    int to_ = -1;  // Move
    Selection before_;
    Selection after_;
    Entry entry_;  // the entry the lists do not hold now (Append undone, Remove, Replace)
    std::vector<std::string> shownLines_;   // the lines Clear took
    std::vector<std::string> pairedLines_;  // and their pairs
    Member<std::string> field_ = nullptr;   // the field Append emptied
    std::string fieldText_;                 // and its text before
    // Rename: each text it changed, a field's or a list entry's, and the text
    // that place does not hold now
    struct Renamed {
        Member<std::string> field = nullptr;
        Member<StringList> list = nullptr;
        std::size_t index = 0;
        std::string text;
    };
    std::vector<Renamed> renamed_;
};

/// The steps done and undone, in order. A window keeps one for the wizard.
class History {
public:
    /// Runs `operation` (PageSettings& -> Step) on `s` and records its step,
    /// unless it changed nothing. A recorded step drops the steps that were
    /// undone. Returns what the step changed. When the operation throws, or
    /// the history finds no memory for one more step (std::bad_alloc, before
    /// the operation runs), nothing has changed and nothing is recorded.
    template <class Operation>
    Update run(PageSettings& s, Operation&& operation) {
        makeRoom();
        return record(std::forward<Operation>(operation)(s));
    }

    [[nodiscard]] bool canUndo() const noexcept { return done_ > 0; }
    [[nodiscard]] bool canRedo() const noexcept { return done_ < steps_.size(); }
    /// Undoes the last step done; with none, changes nothing.
    Update undo(PageSettings& s);
    /// Redoes the last step undone; with none, changes nothing.
    Update redo(PageSettings& s);
    /// Forgets every step. The window calls it when it opens a page, whose
    /// lists the steps' indices do not describe; a finish keeps the steps.
    void clear() noexcept;

private:
    void makeRoom();
    Update record(Step step) noexcept;

    std::vector<Step> steps_;
    std::size_t done_ = 0;  // steps_[0, done_) are done, the rest undone
};

}  // namespace velmora
