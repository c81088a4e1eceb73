// An open document as the server holds it: the editor's text in the
// description files' own form, one byte per UTF-16 code unit. A character
// of Windows-1252 becomes its byte, any other character '?' (two for a
// character beyond U+FFFF). A protocol position (line, UTF-16 character)
// is therefore a line start plus a byte count, and a column the compiler
// reports in bytes is the column the editor shows.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenariogen::lsp {

// Editor text (UTF-8) as description bytes, by the rule above.
std::string description_bytes(std::string_view utf8);

struct TextPosition {
    int line = 0;       // 0-based
    int character = 0;  // 0-based, in UTF-16 code units
};

struct TextRange {
    TextPosition start;
    TextPosition end;
};

class DocumentText {
public:
    DocumentText() = default;
    explicit DocumentText(std::string bytes);

    const std::string& bytes() const { return bytes_; }
    int line_count() const { return static_cast<int>(line_starts_.size()); }
    // A line without its line end.
    std::string_view line(int index) const;
    std::size_t line_start(int index) const { return line_starts_[static_cast<std::size_t>(index)]; }
    // The offset of a position; a position past its line's end or past the
    // last line is taken back to the nearest end.
    std::size_t offset(TextPosition position) const;
    TextPosition position(std::size_t offset) const;

    // Replaces a range with editor text (UTF-8).
    void replace(TextRange range, std::string_view utf8);

private:
    void index_lines(std::size_t from_line);

    std::string bytes_;
    std::vector<std::size_t> line_starts_{0};
};

}  // namespace scenariogen::lsp
