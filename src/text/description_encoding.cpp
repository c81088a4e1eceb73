#include "text/description_encoding.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "text/windows_1252.h"

namespace scenariogen {

namespace {

bool starts_with(std::string_view raw, std::string_view prefix) { return raw.substr(0, prefix.size()) == prefix; }

// A byte-order mark of UTF-16 or UTF-32 (the longer marks tested first).
std::optional<TextEncoding> wide_mark(std::string_view raw) {
    using namespace std::string_view_literals;
    if (starts_with(raw, "\xFF\xFE\x00\x00"sv)) return TextEncoding::kUtf32LittleEndian;
    if (starts_with(raw, "\x00\x00\xFE\xFF"sv)) return TextEncoding::kUtf32BigEndian;
    if (starts_with(raw, "\xFF\xFE"sv)) return TextEncoding::kUtf16LittleEndian;
    if (starts_with(raw, "\xFE\xFF"sv)) return TextEncoding::kUtf16BigEndian;
    return std::nullopt;
}

// UTF-16 without a mark: text in the Latin alphabet has a zero byte in every
// other place. A Windows-1252 description has none.
std::optional<TextEncoding> unmarked_utf16(std::string_view raw) {
    const std::size_t sample = std::min<std::size_t>(raw.size(), 512) & ~std::size_t{1};
    if (sample < 4) return std::nullopt;
    std::size_t zero_even = 0;
    std::size_t zero_odd = 0;
    for (std::size_t i = 0; i < sample; ++i) {
        if (raw[i] != '\0') continue;
        (i % 2 == 0 ? zero_even : zero_odd) += 1;
    }
    const std::size_t pairs = sample / 2;
    if (zero_odd * 10 >= pairs * 6 && zero_even * 10 < pairs) return TextEncoding::kUtf16LittleEndian;
    if (zero_even * 10 >= pairs * 6 && zero_odd * 10 < pairs) return TextEncoding::kUtf16BigEndian;
    return std::nullopt;
}

// The length of the well-formed UTF-8 sequence at `i`, 0 when there is none
// (overlong forms, surrogates and values past U+10FFFF are not UTF-8).
std::size_t sequence_length(std::string_view text, std::size_t i) {
    const auto at = [&](std::size_t k) -> unsigned {
        return i + k < text.size() ? static_cast<unsigned char>(text[i + k]) : 0x100u;
    };
    const unsigned lead = at(0);
    const auto continuation = [&](std::size_t k, unsigned low = 0x80, unsigned high = 0xBF) {
        return at(k) >= low && at(k) <= high;
    };
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead <= 0xDF) return continuation(1) ? 2 : 0;
    if (lead >= 0xE0 && lead <= 0xEF) {
        const unsigned low = lead == 0xE0 ? 0xA0 : 0x80;
        const unsigned high = lead == 0xED ? 0x9F : 0xBF;
        return continuation(1, low, high) && continuation(2) ? 3 : 0;
    }
    if (lead >= 0xF0 && lead <= 0xF4) {
        const unsigned low = lead == 0xF0 ? 0x90 : 0x80;
        const unsigned high = lead == 0xF4 ? 0x8F : 0xBF;
        return continuation(1, low, high) && continuation(2) && continuation(3) ? 4 : 0;
    }
    return 0;
}

// Well-formed UTF-8 that holds at least one character beyond ASCII; plain
// ASCII reads the same in both encodings and stays Windows-1252.
bool looks_like_utf8(std::string_view text) {
    bool beyond_ascii = false;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequence_length(text, i);
        if (length == 0) return false;
        beyond_ascii = beyond_ascii || length > 1;
        i += length;
    }
    return beyond_ascii;
}

char32_t code_point(std::string_view sequence) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(sequence[k]); };
    switch (sequence.size()) {
        case 1:
            return byte(0);
        case 2:
            return (char32_t{byte(0)} & 0x1F) << 6 | (byte(1) & 0x3F);
        case 3:
            return (char32_t{byte(0)} & 0x0F) << 12 | (char32_t{byte(1)} & 0x3F) << 6 | (byte(2) & 0x3F);
        default:
            return (char32_t{byte(0)} & 0x07) << 18 | (char32_t{byte(1)} & 0x3F) << 12 |
                   (char32_t{byte(2)} & 0x3F) << 6 | (byte(3) & 0x3F);
    }
}

// Lines and columns as the description reader counts them: CR LF, CR and LF
// each end a line.
class Place {
public:
    void advance(std::string_view sequence, char next) {
        if (sequence == "\r" && next == '\n') return;  // the LF that follows ends the line
        if (sequence == "\r" || sequence == "\n") {
            ++line_;
            column_ = 1;
        } else {
            ++column_;
        }
    }
    int line() const { return line_; }
    int column() const { return column_; }

private:
    int line_ = 1;
    int column_ = 1;
};

// UTF-8 to Windows-1252, one character at a time, so that every character
// without a Windows-1252 form is found with its place.
DecodedDescription transcode_utf8(std::string_view text, TextEncoding found) {
    DecodedDescription decoded;
    decoded.found = found;
    decoded.windows_1252.reserve(text.size());
    Place place;
    for (std::size_t i = 0; i < text.size();) {
        const std::size_t length = sequence_length(text, i);
        const std::string_view sequence = text.substr(i, length == 0 ? 1 : length);
        if (length == 0) {
            decoded.refusals.push_back({place.line(), place.column(), static_cast<unsigned char>(text[i]), true});
            decoded.windows_1252 += '?';
        } else if (length == 1) {
            decoded.windows_1252 += sequence;
        } else if (const std::optional<char> byte = windows_1252_byte(code_point(sequence))) {
            decoded.windows_1252 += *byte;
        } else {
            decoded.refusals.push_back({place.line(), place.column(), code_point(sequence), false});
            decoded.windows_1252 += '?';
        }
        i += sequence.size();
        place.advance(sequence, i < text.size() ? text[i] : '\0');
    }
    return decoded;
}

}  // namespace

DecodedDescription decode_description(std::string_view raw) {
    using namespace std::string_view_literals;
    std::optional<TextEncoding> wide = wide_mark(raw);
    if (!wide) wide = unmarked_utf16(raw);
    if (wide) {
        DecodedDescription decoded;
        decoded.found = *wide;
        decoded.refusals.push_back({});
        return decoded;
    }
    if (starts_with(raw, "\xEF\xBB\xBF"sv)) return transcode_utf8(raw.substr(3), TextEncoding::kUtf8WithBom);
    if (looks_like_utf8(raw)) return transcode_utf8(raw, TextEncoding::kUtf8);
    return {TextEncoding::kWindows1252, std::string(raw), {}};
}

std::string_view encoding_name(TextEncoding encoding) {
    switch (encoding) {
        case TextEncoding::kWindows1252:
            return "Windows-1252";
        case TextEncoding::kUtf8:
            return "UTF-8";
        case TextEncoding::kUtf8WithBom:
            return "UTF-8 with a byte-order mark";
        case TextEncoding::kUtf16LittleEndian:
            return "UTF-16 (little-endian)";
        case TextEncoding::kUtf16BigEndian:
            return "UTF-16 (big-endian)";
        case TextEncoding::kUtf32LittleEndian:
            return "UTF-32 (little-endian)";
        case TextEncoding::kUtf32BigEndian:
            return "UTF-32 (big-endian)";
    }
    return "unknown";
}

}  // namespace scenariogen
