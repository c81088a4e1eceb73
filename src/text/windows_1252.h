// Windows-1252, the code page of every text file and every name in the
// binary files, to and from the program's own UTF-8.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace scenariogen {

// The one place where text leaves UTF-8: each character becomes one byte of
// Windows-1252. Throws std::invalid_argument for a character the code page
// cannot hold (a fault of the program's own content, never of user input).
std::string to_windows_1252(std::string_view utf8);

// The Windows-1252 byte of one character; none for a character that the
// code page cannot hold (the five bytes it leaves undefined stand for none).
std::optional<char> windows_1252_byte(char32_t character);

// The way back, for showing 8-bit names: Windows-1252 bytes as UTF-8; the
// five bytes the code page leaves undefined become U+FFFD.
std::string from_windows_1252(std::string_view bytes);

}  // namespace scenariogen
