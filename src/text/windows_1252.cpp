// The one place where text changes code page: the program's own text is
// UTF-8, the files it writes and reads are Windows-1252.
#include "text/windows_1252.h"

#include <stdexcept>

namespace scenariogen {

namespace {

// Decodes one UTF-8 sequence starting at `i`, advancing `i`.
char32_t next_code_point(std::string_view text, std::size_t& i) {
    const auto byte = [&](std::size_t k) { return static_cast<unsigned char>(text[k]); };
    const unsigned char lead = byte(i);
    int extra = 0;
    char32_t cp = 0;
    if (lead < 0x80) {
        cp = lead;
    } else if ((lead & 0xE0) == 0xC0) {
        cp = lead & 0x1F;
        extra = 1;
    } else if ((lead & 0xF0) == 0xE0) {
        cp = lead & 0x0F;
        extra = 2;
    } else if ((lead & 0xF8) == 0xF0) {
        cp = lead & 0x07;
        extra = 3;
    } else {
        throw std::invalid_argument("text is not UTF-8");
    }
    if (i + static_cast<std::size_t>(extra) >= text.size()) throw std::invalid_argument("text is not UTF-8");
    for (int k = 1; k <= extra; ++k) {
        const unsigned char cont = byte(i + static_cast<std::size_t>(k));
        if ((cont & 0xC0) != 0x80) throw std::invalid_argument("text is not UTF-8");
        cp = (cp << 6) | (cont & 0x3F);
    }
    i += static_cast<std::size_t>(extra) + 1;
    return cp;
}

// Windows-1252 assigns 0x80 to 0x9F to these characters; the rest of its
// upper half coincides with Latin-1.
constexpr char32_t kHighBlock[32] = {0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                     0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0,      0x017D, 0,
                                     0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                     0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

void append_utf8(std::string& out, char32_t cp) {
    if (cp < 0x80) {
        out += static_cast<char>(cp);
    } else if (cp < 0x800) {
        out += static_cast<char>(0xC0 | (cp >> 6));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (cp >> 12));
        out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (cp & 0x3F));
    }
}

}  // namespace

std::string from_windows_1252(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        char32_t cp = b;
        if (b >= 0x80 && b < 0xA0) cp = kHighBlock[b - 0x80] != 0 ? kHighBlock[b - 0x80] : 0xFFFD;
        append_utf8(out, cp);
    }
    return out;
}

std::optional<char> windows_1252_byte(char32_t cp) {
    if (cp < 0x80 || (cp >= 0xA0 && cp <= 0xFF)) return static_cast<char>(cp);
    for (unsigned k = 0; k < 32; ++k) {
        if (kHighBlock[k] != 0 && kHighBlock[k] == cp) return static_cast<char>(0x80 + k);
    }
    return std::nullopt;
}

std::string to_windows_1252(std::string_view utf8) {
    std::string bytes;
    bytes.reserve(utf8.size());
    for (std::size_t i = 0; i < utf8.size();) {
        const std::optional<char> byte = windows_1252_byte(next_code_point(utf8, i));
        if (!byte) throw std::invalid_argument("character outside Windows-1252");
        bytes += *byte;
    }
    return bytes;
}

}  // namespace scenariogen
