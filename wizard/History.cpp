// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// A step changes its lists by moving strings, never by copying them: the
// entry it takes goes into the step and comes back from it, and only an
// insert may need memory, for which both lists make room before either
// changes. So a step, its undo and its redo each change both lists of a pair
// or neither.
#include "wizard/History.h"

#include <algorithm>

#include "wizard/PagePictures.h"

namespace velmora {
namespace {

using Items = std::vector<std::string>;

StringList* pairedIn(PageSettings& s, const ListField& list) {
    return list.paired == nullptr ? nullptr : &(s.*list.paired);
}

std::ptrdiff_t at(int index) { return static_cast<std::ptrdiff_t>(index); }

// Room for one more entry in both lists, so that the inserts after it cannot
// fail.
void makeRoom(StringList& shown, StringList* paired) {
    shown.reserveOne();
    if (paired != nullptr) paired->reserveOne();
}

std::string takeAt(Items& items, int index) noexcept {
    std::string entry = std::move(items[static_cast<std::size_t>(index)]);
    items.erase(items.begin() + at(index));
    return entry;
}

void moveWithin(Items& items, int from, int to) noexcept {
    const auto first = items.begin();
    if (from < to) {
        std::rotate(first + at(from), first + at(from) + 1, first + at(to) + 1);
    } else {
        std::rotate(first + at(to), first + at(from), first + at(from) + 1);
    }
}

// Where a selection stands after entry `from` moved to `to`: on the entry it
// marked before.
int followMove(int selected, int from, int to) noexcept {
    if (selected == from) return to;
    if (from < to && selected > from && selected <= to) return selected - 1;
    if (to < from && selected >= to && selected < from) return selected + 1;
    return selected;
}

bool inList(const StringList& list, int index) noexcept {
    return index >= 0 && index < list.count();
}

// `line` with every picture it names (sourcesIn) that `names` maps renamed.
std::string renamedSources(const std::string& line,
                           const std::map<std::string, std::string>& names) {
    std::string result;
    std::size_t at = 0;
    for (const Source& source : sourcesIn(line)) {
        const auto renamed = names.find(line.substr(source.begin, source.size));
        if (renamed == names.end()) continue;
        result.append(line, at, source.begin - at);
        result += renamed->second;
        at = source.begin + source.size;
    }
    result.append(line, at, std::string::npos);
    return result;
}

}  // namespace

Step::Step(Kind kind, const ListField& list, int index, int to)
    : kind_(kind), list_(&list), index_(index), to_(to) {}

// The selections before and after the first doing are the ones that undo
// and redo give back.
Step Step::firstDone(PageSettings& s, Step step) {
    step.before_ = step.selectionIn(s);
    step.apply(s);
    step.after_ = step.selectionIn(s);
    return step;
}

Step Step::append(PageSettings& s, const ListField& list, Entry entry,
                  Member<std::string> emptied) {
    Step step(Kind::Append, list, (s.*list.shown).count());
    step.entry_ = std::move(entry);
    step.field_ = emptied;
    return firstDone(s, std::move(step));
}

Step Step::remove(PageSettings& s, const ListField& list, int index) {
    if (!inList(s.*list.shown, index)) return {};
    return firstDone(s, Step(Kind::Remove, list, index));
}

Step Step::replace(PageSettings& s, const ListField& list, int index, Entry entry) {
    const StringList& shown = s.*list.shown;
    if (!inList(shown, index)) return {};
    const auto i = static_cast<std::size_t>(index);
    const bool samePaired = list.paired == nullptr || (s.*list.paired).items[i] == entry.paired;
    if (shown.items[i] == entry.shown && samePaired) return {};
    Step step(Kind::Replace, list, index);
    step.entry_ = std::move(entry);
    return firstDone(s, std::move(step));
}

Step Step::move(PageSettings& s, const ListField& list, int from, int to) {
    const StringList& shown = s.*list.shown;
    if (!inList(shown, from) || !inList(shown, to) || from == to) return {};
    return firstDone(s, Step(Kind::Move, list, from, to));
}

Step Step::clear(PageSettings& s, const ListField& list) {
    if ((s.*list.shown).items.empty()) return {};
    return firstDone(s, Step(Kind::Clear, list, -1));
}

Step Step::rename(PageSettings& s, const std::map<std::string, std::string>& names) {
    Step step;
    for (const Member<std::string> field : kPictureFields) {
        const auto renamed = names.find(s.*field);
        if (renamed != names.end() && renamed->second != s.*field)
            step.renamed_.push_back({field, nullptr, 0, renamed->second});
    }
    for (std::size_t i = 0; i < s.ListBox3.items.size(); ++i) {
        const auto renamed = names.find(s.ListBox3.items[i]);
        if (renamed != names.end() && renamed->second != s.ListBox3.items[i])
            step.renamed_.push_back({nullptr, &PageSettings::ListBox3, i, renamed->second});
    }
    for (std::size_t i = 0; i < s.ListBox1.items.size(); ++i) {
        std::string line = renamedSources(s.ListBox1.items[i], names);
        if (line != s.ListBox1.items[i])
            step.renamed_.push_back({nullptr, &PageSettings::ListBox1, i, std::move(line)});
    }
    if (step.renamed_.empty()) return {};
    step.kind_ = Kind::Rename;
    step.apply(s);
    return step;
}

Step::Selection Step::selectionIn(const PageSettings& s) const noexcept {
    return {(s.*list_->shown).selected,
            list_->paired == nullptr ? -1 : (s.*list_->paired).selected};
}

void Step::select(PageSettings& s, Selection selection) const noexcept {
    (s.*list_->shown).selected = selection.shown;
    if (list_->paired != nullptr) (s.*list_->paired).selected = selection.paired;
}

// Does the step on the lists as the step found them, and selects as the
// operation does.
// Each place renamed and the step trade their texts: the one swap does and
// undoes the step.
void Step::swapNames(PageSettings& s) noexcept {
    for (Renamed& renamed : renamed_) {
        std::string& place =
            renamed.field != nullptr ? s.*renamed.field : (s.*renamed.list).items[renamed.index];
        std::swap(place, renamed.text);
    }
}

void Step::apply(PageSettings& s) {
    if (kind_ == Kind::Rename) {
        swapNames(s);
        return;
    }
    StringList& shown = s.*list_->shown;
    StringList* paired = pairedIn(s, *list_);
    switch (kind_) {
        case Kind::Append:
            makeRoom(shown, paired);
            shown.items.push_back(std::exchange(entry_.shown, {}));
            if (paired != nullptr) paired->items.push_back(std::exchange(entry_.paired, {}));
            if (field_ != nullptr) {
                // The text goes into the step, and an undo gives it back.
                std::swap(s.*field_, fieldText_);
                (s.*field_).clear();
            }
            break;
        case Kind::Remove:
            entry_.shown = takeAt(shown.items, index_);
            if (paired != nullptr) entry_.paired = takeAt(paired->items, index_);
            select(s, {-1, -1});
            break;
        case Kind::Replace:
            std::swap(shown.items[static_cast<std::size_t>(index_)], entry_.shown);
            if (paired != nullptr) {
                std::swap(paired->items[static_cast<std::size_t>(index_)], entry_.paired);
            }
            break;
        case Kind::Move: {
            moveWithin(shown.items, index_, to_);
            if (paired != nullptr) moveWithin(paired->items, index_, to_);
            const Selection was = selectionIn(s);
            select(s, {followMove(was.shown, index_, to_), followMove(was.paired, index_, to_)});
            break;
        }
        case Kind::Clear:
            shownLines_.swap(shown.items);
            if (paired != nullptr) pairedLines_.swap(paired->items);
            select(s, {-1, -1});
            break;
        case Kind::Rename:
        case Kind::None:
            break;
    }
}

// Undoes apply() on the lists as apply() left them; undo() then selects.
void Step::revert(PageSettings& s) {
    if (kind_ == Kind::Rename) {
        swapNames(s);
        return;
    }
    StringList& shown = s.*list_->shown;
    StringList* paired = pairedIn(s, *list_);
    switch (kind_) {
        case Kind::Append:
            entry_.shown = takeAt(shown.items, index_);
            if (paired != nullptr) entry_.paired = takeAt(paired->items, index_);
            if (field_ != nullptr) std::swap(s.*field_, fieldText_);
            break;
        case Kind::Remove:
            makeRoom(shown, paired);
            shown.items.insert(shown.items.begin() + at(index_), std::exchange(entry_.shown, {}));
            if (paired != nullptr) {
                paired->items.insert(paired->items.begin() + at(index_),
                                     std::exchange(entry_.paired, {}));
            }
            break;
        case Kind::Move:
            moveWithin(shown.items, to_, index_);
            if (paired != nullptr) moveWithin(paired->items, to_, index_);
            break;
        case Kind::Replace:
        case Kind::Clear:
            apply(s);  // a swap, which undoes itself; undo() then selects
            break;
        case Kind::Rename:
        case Kind::None:
            break;
    }
}

// What a window shows of the step done, or undone: each kind beside its
// inverse.
Update Step::rows(bool undone) const noexcept {
    using K = ListChange::Kind;
    switch (kind_) {
        case Kind::Append:
            return {list_, {undone ? K::Removed : K::Appended, index_}, field_};
        case Kind::Remove:
            return {list_, {undone ? K::Inserted : K::Removed, index_}};
        case Kind::Replace:
            return {list_, {K::Replaced, index_}};
        case Kind::Move:
            return {list_, {K::Moved, undone ? to_ : index_, undone ? index_ : to_}};
        case Kind::Clear:
            return {list_, {undone ? K::Refilled : K::Cleared}};
        case Kind::Rename:
            return {nullptr, {}, nullptr, true};
        case Kind::None:
            break;
    }
    return {};
}

Update Step::update() const noexcept { return rows(false); }

Update Step::undo(PageSettings& s) {
    if (kind_ == Kind::None || undone_) return {};
    revert(s);
    if (kind_ != Kind::Rename) select(s, before_);
    undone_ = true;
    return rows(true);
}

Update Step::redo(PageSettings& s) {
    if (kind_ == Kind::None || !undone_) return {};
    apply(s);
    if (kind_ != Kind::Rename) select(s, after_);
    undone_ = false;
    return rows(false);
}

void History::makeRoom() {
    if (steps_.size() == steps_.capacity())
        steps_.reserve(std::max<std::size_t>(16, steps_.size() * 2));
}

Update History::record(Step step) noexcept {
    if (step.changedNothing()) return {};
    steps_.erase(steps_.begin() + static_cast<std::ptrdiff_t>(done_), steps_.end());
    steps_.push_back(std::move(step));  // cannot throw: makeRoom came first
    ++done_;
    return steps_.back().update();
}

Update History::undo(PageSettings& s) {
    if (!canUndo()) return {};
    const Update update = steps_[done_ - 1].undo(s);
    --done_;
    return update;
}

Update History::redo(PageSettings& s) {
    if (!canRedo()) return {};
    const Update update = steps_[done_].redo(s);
    ++done_;
    return update;
}

void History::clear() noexcept {
    steps_.clear();
    done_ = 0;
}

}  // namespace velmora
