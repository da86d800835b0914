// SPDX-FileCopyrightText: 2026 The Velmora developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "wizard/Preview.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <charconv>

#include "generator/OutputFile.h"
#include "generator/PageGenerator.h"

namespace velmora::preview {
namespace {

std::optional<std::uint64_t> number(std::string_view text) {
    std::uint64_t value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) return {};
    return value;
}

// The text up to the next line break, taken off `rest`.
std::optional<std::string_view> takeLine(std::string_view& rest) {
    const std::size_t end = rest.find('\n');
    if (end == std::string_view::npos) return {};
    const std::string_view line = rest.substr(0, end);
    rest.remove_prefix(end + 1);
    return line;
}

}  // namespace

std::string encode(const Message& message) {
    std::string bytes = message.name;
    bytes += ' ';
    bytes += std::to_string(message.payload.size());
    bytes += '\n';
    bytes += message.payload;
    return bytes;
}

void Reader::feed(std::string_view bytes) {
    if (broken_) return;
    // what was read is dropped before the buffer grows, so it never holds
    // more than the messages not yet taken
    if (start_ > 0 && start_ >= buffer_.size() / 2) {
        buffer_.erase(0, start_);
        start_ = 0;
    }
    buffer_.append(bytes);
}

bool Reader::readFrom(int fd) {
    char bytes[1 << 16];
    const ssize_t n = ::read(fd, bytes, sizeof bytes);
    if (n < 0) return errno == EAGAIN || errno == EINTR;
    feed(std::string_view(bytes, static_cast<std::size_t>(n)));
    return n > 0;
}

std::optional<Message> Reader::next() {
    if (broken_) return {};
    std::string_view rest = std::string_view(buffer_).substr(start_);
    const std::size_t lineEnd = rest.find('\n');
    if (lineEnd == std::string_view::npos) {
        if (rest.size() > 64) broken_ = true;  // no header is that long
        return {};
    }
    const std::string_view header = rest.substr(0, lineEnd);
    const std::size_t space = header.find(' ');
    const std::optional<std::uint64_t> length =
        space == std::string_view::npos ? std::nullopt : number(header.substr(space + 1));
    if (space == 0 || !length || *length > kMaxPayload) {
        broken_ = true;
        return {};
    }
    if (rest.size() - lineEnd - 1 < *length) return {};
    Message message{std::string(header.substr(0, space)),
                    std::string(rest.substr(lineEnd + 1, *length))};
    start_ += lineEnd + 1 + *length;
    return message;
}

Message pageMessage(const PageSettings& s, std::uint64_t sequence, const std::string& folder) {
    const std::string number = std::to_string(sequence);
    if (pageLineCount(s) > kMaxLines) return {"too-big", number};
    CodeList lines;
    writePage(s, lines);
    return {"page", number + '\n' + folder + '\n' + composeFileBytes(lines.lines())};
}

std::optional<Page> readPage(const Message& message) {
    std::string_view rest = message.payload;
    if (message.name == "too-big") {
        const auto sequence = number(rest);
        if (!sequence) return {};
        return Page{*sequence, {}, {}, true};
    }
    if (message.name != "page") return {};
    const auto sequence = takeLine(rest);
    const auto folder = takeLine(rest);
    const auto value = sequence ? number(*sequence) : std::nullopt;
    if (!value || !folder) return {};
    return Page{*value, std::string(*folder), std::string(rest), false};
}

std::string joinValues(const Values& values) {
    std::string text;
    for (const auto& [key, value] : values) {
        text.append(key).append(1, '=').append(value).append(1, '\n');
    }
    return text;
}

Values splitValues(std::string_view payload) {
    Values values;
    while (!payload.empty()) {
        std::size_t end = payload.find('\n');
        if (end == std::string_view::npos) end = payload.size();
        const std::string_view line = payload.substr(0, end);
        payload.remove_prefix(std::min(end + 1, payload.size()));
        const std::size_t equals = line.find('=');
        if (equals != std::string_view::npos && equals > 0)
            values[std::string(line.substr(0, equals))] = std::string(line.substr(equals + 1));
    }
    return values;
}

std::string joinPair(int first, int second) {
    return std::to_string(first) + ',' + std::to_string(second);
}

std::optional<std::pair<int, int>> pairAt(const Values& values, const std::string& key) {
    const auto found = values.find(key);
    if (found == values.end()) return {};
    const std::string& text = found->second;
    const char* const end = text.data() + text.size();
    int first = 0;
    int second = 0;
    const auto one = std::from_chars(text.data(), end, first);
    if (one.ec != std::errc() || one.ptr == end || *one.ptr != ',') return {};
    const auto two = std::from_chars(one.ptr + 1, end, second);
    if (two.ec != std::errc() || two.ptr != end) return {};
    return std::pair{first, second};
}

}  // namespace velmora::preview
