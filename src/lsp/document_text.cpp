#include "lsp/document_text.h"

#include <algorithm>
#include <cstring>

namespace scenariogen::lsp {

namespace {

bool continuation(char c) { return (static_cast<unsigned char>(c) & 0xC0) == 0x80; }

// The UTF-8 sequence at `i`: its length in bytes and in UTF-16 code units.
// A malformed byte counts alone, as one unit.
struct Character {
    std::size_t bytes = 1;
    int units = 1;
};

Character character_at(std::string_view text, std::size_t i) {
    const auto lead = static_cast<unsigned char>(text[i]);
    const std::size_t length = lead < 0x80             ? 1
                               : (lead & 0xE0) == 0xC0 ? 2
                               : (lead & 0xF0) == 0xE0 ? 3
                               : (lead & 0xF8) == 0xF0 ? 4
                                                       : 1;
    if (i + length > text.size()) return {};
    for (std::size_t k = 1; k < length; ++k) {
        if (!continuation(text[i + k])) return {};
    }
    return {length, length == 4 ? 2 : 1};
}

}  // namespace

DocumentText::DocumentText(std::string utf8) : utf8_(std::move(utf8)) { index_lines(0); }

std::string_view DocumentText::line(int index) const {
    if (index < 0 || index >= line_count()) return {};
    const std::size_t begin = line_starts_[static_cast<std::size_t>(index)];
    std::size_t end = index + 1 < line_count() ? line_starts_[static_cast<std::size_t>(index) + 1] : utf8_.size();
    while (end > begin && (utf8_[end - 1] == '\n' || utf8_[end - 1] == '\r')) --end;
    // A line holds at most one line end ("\r\n", "\r" or "\n"): strip only that.
    return std::string_view(utf8_).substr(begin, end - begin);
}

std::size_t DocumentText::offset(TextPosition position) const {
    if (position.line < 0) return 0;
    if (position.line >= line_count()) return utf8_.size();
    const std::string_view text = line(position.line);
    std::size_t i = 0;
    for (int units = 0; i < text.size() && units < position.character;) {
        const Character c = character_at(text, i);
        i += c.bytes;
        units += c.units;
    }
    return line_starts_[static_cast<std::size_t>(position.line)] + i;
}

int DocumentText::utf16_column(int index, int characters) const {
    const std::string_view text = line(index);
    int units = 0;
    std::size_t i = 0;
    int counted = 0;
    for (; counted < characters && i < text.size(); ++counted) {
        const Character c = character_at(text, i);
        i += c.bytes;
        units += c.units;
    }
    return units + (characters - counted);
}

int DocumentText::utf16_length(int index) const {
    const std::string_view text = line(index);
    int units = 0;
    for (std::size_t i = 0; i < text.size();) {
        const Character c = character_at(text, i);
        i += c.bytes;
        units += c.units;
    }
    return units;
}

int DocumentText::character_column(int index, int utf16) const {
    const std::string_view text = line(index);
    int units = 0;
    int characters = 0;
    for (std::size_t i = 0; units < utf16 && i < text.size(); ++characters) {
        const Character c = character_at(text, i);
        i += c.bytes;
        units += c.units;
    }
    return characters + std::max(utf16 - units, 0);
}

void DocumentText::replace(TextRange range, std::string_view utf8) {
    std::size_t begin = offset(range.start);
    std::size_t end = offset(range.end);
    if (end < begin) std::swap(begin, end);
    utf8_.replace(begin, end - begin, utf8);
    index_lines(static_cast<std::size_t>(std::max(range.start.line - 1, 0)));
}

void DocumentText::index_lines(std::size_t from_line) {
    from_line = std::min(from_line, line_starts_.size() - 1);
    line_starts_.resize(from_line + 1);
    const char* data = utf8_.data();
    const std::size_t size = utf8_.size();
    // The next line feed and carriage return, each looked for again only once passed.
    const auto next = [&](char c, std::size_t from) {
        const void* found = std::memchr(data + from, c, size - from);
        return found ? static_cast<std::size_t>(static_cast<const char*>(found) - data) : size;
    };
    std::size_t i = line_starts_.back();
    std::size_t lf = next('\n', i);
    std::size_t cr = next('\r', i);
    while (i < size) {
        if (lf < i) lf = next('\n', i);
        if (cr < i) cr = next('\r', i);
        const std::size_t end = std::min(lf, cr);
        if (end >= size) break;
        i = end + 1;
        if (data[end] == '\r' && i < size && data[i] == '\n') ++i;
        line_starts_.push_back(i);
    }
}

}  // namespace scenariogen::lsp
