#include "lsp/document_text.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace scenariogen::lsp {

namespace {

// Windows-1252 bytes 0x80 to 0x9F and the characters they stand for; the
// five bytes the code page leaves undefined stand for themselves.
constexpr std::array<char16_t, 32> kHighControls{
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char code_page_byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF)) return static_cast<char>(c);
    for (std::size_t i = 0; i < kHighControls.size(); ++i) {
        if (kHighControls[i] == c) return static_cast<char>(0x80 + i);
    }
    return '?';
}

// Decodes the UTF-8 sequence at `i`; a malformed byte is taken alone and
// decodes to U+FFFD.
char32_t next_character(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int extra = lead < 0x80             ? 0
                : (lead & 0xE0) == 0xC0 ? 1
                : (lead & 0xF0) == 0xE0 ? 2
                : (lead & 0xF8) == 0xF0 ? 3
                                        : -1;
    if (extra <= 0 || i + static_cast<std::size_t>(extra) >= text.size()) {
        ++i;
        return 0xFFFD;
    }
    char32_t c = lead & (0x3F >> extra);
    for (int k = 1; k <= extra; ++k) {
        const unsigned char next = byte(i + static_cast<std::size_t>(k));
        if ((next & 0xC0) != 0x80) {
            ++i;
            return 0xFFFD;
        }
        c = (c << 6) | (next & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return c;
}

}  // namespace

std::string description_bytes(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    std::size_t i = 0;
    while (i < utf8.size()) {
        // Runs of ASCII, the common case, are copied whole.
        const std::size_t run_end =
            static_cast<std::size_t>(std::find_if(utf8.begin() + static_cast<std::ptrdiff_t>(i), utf8.end(),
                                                  [](char c) { return static_cast<unsigned char>(c) >= 0x80; }) -
                                     utf8.begin());
        bytes.append(utf8.substr(i, run_end - i));
        i = run_end;
        if (i >= utf8.size()) break;
        const char32_t c = next_character(utf8, i);
        bytes += code_page_byte(c);
        if (c > 0xFFFF) bytes += '?';  // a surrogate pair: two code units
    }
    return bytes;
}

DocumentText::DocumentText(std::string bytes) : bytes_(std::move(bytes)) { index_lines(0); }

std::string_view DocumentText::line(int index) const {
    if (index < 0 || index >= line_count()) return {};
    const std::size_t begin = line_start(index);
    std::size_t end = index + 1 < line_count() ? line_start(index + 1) : bytes_.size();
    while (end > begin && (bytes_[end - 1] == '\n' || bytes_[end - 1] == '\r')) --end;
    // A line holds at most one line end ("\r\n", "\r" or "\n"): strip only that.
    return std::string_view(bytes_).substr(begin, end - begin);
}

std::size_t DocumentText::offset(TextPosition position) const {
    if (position.line < 0) return 0;
    if (position.line >= line_count()) return bytes_.size();
    const std::size_t character = static_cast<std::size_t>(std::max(position.character, 0));
    return line_start(position.line) + std::min(character, line(position.line).size());
}

TextPosition DocumentText::position(std::size_t offset) const {
    offset = std::min(offset, bytes_.size());
    const auto after = std::upper_bound(line_starts_.begin(), line_starts_.end(), offset);
    const int line = static_cast<int>(after - line_starts_.begin()) - 1;
    return {line, static_cast<int>(offset - line_start(line))};
}

void DocumentText::replace(TextRange range, std::string_view utf8) {
    std::size_t begin = offset(range.start);
    std::size_t end = offset(range.end);
    if (end < begin) std::swap(begin, end);
    bytes_.replace(begin, end - begin, description_bytes(utf8));
    index_lines(static_cast<std::size_t>(std::max(range.start.line - 1, 0)));
}

void DocumentText::index_lines(std::size_t from_line) {
    from_line = std::min(from_line, line_starts_.size() - 1);
    line_starts_.resize(from_line + 1);
    const char* data = bytes_.data();
    const std::size_t size = bytes_.size();
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
