// The encoding of a description file as an author saved it. Description
// files are Windows-1252; editors often save UTF-8 instead (with or without a
// byte-order mark), and sometimes UTF-16. A UTF-8 file whose every character
// has a Windows-1252 form is transcoded; any other encoding is refused, with
// the place of each character that stands in the way.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace scenariogen {

enum class TextEncoding {
    kWindows1252,
    kUtf8,         // without a byte-order mark
    kUtf8WithBom,  // the mark EF BB BF, dropped
    kUtf16LittleEndian,
    kUtf16BigEndian,
    kUtf32LittleEndian,
    kUtf32BigEndian,
};

// A character that keeps the file from being read, or (line 0) a fault of
// the whole file.
struct EncodingProblem {
    int line = 0;            // 1-based, counted as the description reader counts lines; 0: the whole file
    int column = 0;          // 1-based, in characters of that line (= bytes of the Windows-1252 text)
    char32_t character = 0;  // the character, or the byte of a malformed sequence; 0 for the whole file
    bool malformed = false;  // an invalid UTF-8 sequence rather than a character without a Windows-1252 form
};

struct DecodedDescription {
    TextEncoding found = TextEncoding::kWindows1252;
    // The text in Windows-1252. When the file is refused, the text as far as
    // it can be made out: '?' in place of each character that stands in the
    // way (empty for UTF-16 and UTF-32).
    std::string windows_1252;
    std::vector<EncodingProblem> refusals;  // empty: the text can be read

    bool refused() const { return !refusals.empty(); }
};

// Recognises the encoding of a description file's bytes and gives its text
// in Windows-1252. Bytes that are not UTF-8 are taken as Windows-1252.
[[nodiscard]] DecodedDescription decode_description(std::string_view raw);

// The encoding's name, for messages: "UTF-8", "UTF-16 (little-endian)", ...
std::string_view encoding_name(TextEncoding encoding);

}  // namespace scenariogen
