// UTF-8, the program's text, to and from UTF-16, the text of the Windows API.
#pragma once

#include <string>
#include <string_view>

namespace scenariogen::windows {

// Throws FileError naming `text` when it is not valid UTF-8.
std::wstring widen(std::string_view text);
// The same into a buffer of `capacity` characters, ended by a 0, without
// allocating or throwing (for an interruption handler); false when the text
// is not valid UTF-8 or does not fit.
bool widen_into(const char* text, wchar_t* buffer, int capacity) noexcept;
std::string narrow(std::wstring_view text);

// The system's words for an error code of GetLastError().
std::string error_text(unsigned long code);

}  // namespace scenariogen::windows
