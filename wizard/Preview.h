// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What the wizard and the preview say to each other. The preview is a
// program of its own (velmora-vorschau), which the wizard starts with a pipe
// on its standard input and output; each side writes messages and reads the
// other's, and neither ever waits for the other.
//
//   message ::= NAME ' ' LENGTH '\n' PAYLOAD        LENGTH bytes of payload
//
// To the preview:
//   page     "SEQUENCE\nFOLDER\n" then the page's bytes, as the finish would
//            write them; FOLDER is the page's folder, for its pictures
//   too-big  "SEQUENCE": the page has more lines than the preview shows
//   show     "KEY=VALUE" lines: at=X,Y (where its frame stands; absent where
//            the desktop places windows), size=W,H, mode=NAME, focus=0|1
//   hide     ""
//   grab     a file's path: the view as it is drawn now, as PNG, or BMP for
//            a name ending in .bmp (tests, benchmarks)
// From the preview:
//   drawn    "SEQUENCE": the engine holds the page or the note of that
//            message; its frame follows (some 20 ms)
//   closed   "": the user closed it (F12, Escape, the close box)
//   keep     "KEY=VALUE" lines: size=W,H, at=X,Y, mode=NAME, as the user left them
//   grabbed  the file's path, written
//
// A stream that breaks these rules ends the conversation: the preview ends,
// the wizard takes the preview as ended.
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <utility>

#include "settings/PageSettings.h"

namespace velmora::preview {

/// The most lines of a page the preview shows; a longer page gets its note
/// "Die Seite ist zu groß für die Vorschau.", decided from its line count
/// before any line is made.
inline constexpr std::uint64_t kMaxLines = 50'000;

/// The longest payload either side accepts: a page of kMaxLines lines of the
/// longest kind the wizard writes fits many times over.
inline constexpr std::size_t kMaxPayload = std::size_t{256} * 1024 * 1024;

struct Message {
    std::string name;
    std::string payload;

    friend bool operator==(const Message&, const Message&) = default;
};

/// The bytes of `message` on the pipe.
[[nodiscard]] std::string encode(const Message& message);

/// Takes the bytes as they arrive, in pieces of any size, and gives back
/// the whole messages among them, in order.
class Reader {
public:
    void feed(std::string_view bytes);
    /// Feeds what one read of the file descriptor `fd` gives (none where a
    /// non-blocking one has nothing yet); false once its other end closed.
    [[nodiscard]] bool readFrom(int fd);
    /// The next whole message, or nothing until more bytes arrive.
    [[nodiscard]] std::optional<Message> next();
    /// The stream broke the rules: a header without a name or length, or a
    /// payload over kMaxPayload. Nothing more comes out then.
    [[nodiscard]] bool broken() const noexcept { return broken_; }

private:
    std::string buffer_;
    std::size_t start_ = 0;
    bool broken_ = false;
};

/// The message that brings the preview the page `s` writes, numbered
/// `sequence`, its pictures in `folder`: "page", or "too-big" past kMaxLines.
/// Throws Failure as writePage does.
[[nodiscard]] Message pageMessage(const PageSettings& s, std::uint64_t sequence,
                                  const std::string& folder);

/// A page message taken apart.
struct Page {
    std::uint64_t sequence = 0;
    std::string folder;
    std::string bytes;  // empty for too-big
    bool tooBig = false;
};
[[nodiscard]] std::optional<Page> readPage(const Message& message);

/// "KEY=VALUE" lines, as "show" and "keep" carry them.
using Values = std::map<std::string, std::string>;
[[nodiscard]] std::string joinValues(const Values& values);
[[nodiscard]] Values splitValues(std::string_view payload);

/// A place or a size among the values: "X,Y".
[[nodiscard]] std::string joinPair(int first, int second);
/// The pair under `key`, if `values` holds a well-formed one there.
[[nodiscard]] std::optional<std::pair<int, int>> pairAt(const Values& values,
                                                        const std::string& key);

}  // namespace velmora::preview
