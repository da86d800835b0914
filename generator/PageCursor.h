// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The page reader's cursor: it walks the ASCII form of a file along the
// lines the generator writes and takes the values out of them. Only the
// reader (PageReader.cpp) uses it.
#pragma once

#include <algorithm>
#include <cstddef>
#include <initializer_list>
#include <string_view>

#include "generator/PageGenerator.h"

namespace velmora::reader {

inline constexpr std::string_view kEol = "\r\n";

// Where the file stops being a page, as an offset into its ASCII form.
struct NotAPage {
    std::size_t at;
};

// A value that stands at the end of its line may hold a line end itself
// (text pasted into a field keeps its own). The reader then takes the value
// over several lines. On a file that is no page, such a guess may carry the
// walk far past where the file went wrong, so a refusal names the line where
// the first such value began when that comes first.
class Cursor {
public:
    explicit Cursor(std::string_view text) : text_(text) {}

    [[nodiscard]] std::size_t at() const noexcept { return pos_; }
    [[nodiscard]] std::size_t firstLongValue() const noexcept { return firstLongValue_; }
    [[nodiscard]] bool atEnd() const noexcept { return pos_ == text_.size(); }
    [[nodiscard]] bool startsWith(std::string_view s) const noexcept {
        return text_.substr(pos_).starts_with(s);
    }

    [[noreturn]] void fail() const { throw NotAPage{pos_}; }

    /// Passes `s`, which must stand here.
    void expect(std::string_view s) {
        if (!take(s)) fail();
    }
    /// Passes `s` where it stands here.
    bool take(std::string_view s) {
        if (!startsWith(s)) return false;
        advance(s.size(), s.ends_with(kEol));
        return true;
    }
    /// Passes the line `s` and its line end.
    void line(std::string_view s) {
        expect(s);
        expect(kEol);
    }
    /// The text up to the first `end`, which is passed too.
    std::string_view upTo(std::string_view end) {
        const std::size_t found = text_.find(end, pos_);
        if (found == std::string_view::npos) fail();
        return valueUpTo(found, end.size(), end.ends_with(kEol));
    }
    /// The rest of the line: the text up to the first line end that one of
    /// `next` follows.
    std::string_view restOfLine(std::initializer_list<std::string_view> next) {
        for (std::size_t eol = text_.find(kEol, pos_); eol != std::string_view::npos;
             eol = text_.find(kEol, eol + kEol.size())) {
            const std::string_view after = text_.substr(eol + kEol.size());
            if (std::any_of(next.begin(), next.end(),
                            [after](std::string_view n) { return after.starts_with(n); })) {
                return valueUpTo(eol, kEol.size(), true);
            }
        }
        fail();
    }
    /// A number as the generator writes a spin value: an optional minus and
    /// digits. Whether it is written the generator's way is left to the
    /// comparison.
    std::string_view number() {
        std::size_t end = pos_;
        if (end < text_.size() && text_[end] == '-') ++end;
        const std::size_t digits = end;
        while (end < text_.size() && text_[end] >= '0' && text_[end] <= '9') ++end;
        if (end == digits) fail();
        const std::string_view n = text_.substr(pos_, end - pos_);
        pos_ = end;
        return n;
    }

private:
    std::string_view valueUpTo(std::size_t end, std::size_t endLength, bool endsLine) {
        const std::string_view value = text_.substr(pos_, end - pos_);
        if (value.find('\n') != std::string_view::npos) {
            firstLongValue_ = std::min(firstLongValue_, pos_);
        }
        advance(end - pos_ + endLength, endsLine);
        return value;
    }
    void advance(std::size_t n, bool endsLine) {
        pos_ += n;
        // No page has more lines than the generator writes; a longer file
        // stops here, before its lists take more memory than a page's.
        if (endsLine && ++lines_ > CodeList::kMaxLines) fail();
    }

    std::string_view text_;
    std::size_t pos_ = 0;
    std::size_t lines_ = 0;
    std::size_t firstLongValue_ = std::string_view::npos;
};

}  // namespace velmora::reader
