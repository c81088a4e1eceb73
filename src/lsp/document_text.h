// An open document as the server holds it: the editor's text, in UTF-8, with
// its lines indexed. Protocol positions count UTF-16 code units; the
// description reader and every diagnostic count characters (one byte each
// in Windows-1252). Both are converted here, line by line.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenariogen::lsp {

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
    explicit DocumentText(std::string utf8);

    const std::string& utf8() const { return utf8_; }
    int line_count() const { return static_cast<int>(line_starts_.size()); }
    // A line without its line end, in UTF-8.
    std::string_view line(int index) const;
    // The byte offset of a position; a position past its line's end or past
    // the last line is taken back to the nearest end.
    std::size_t offset(TextPosition position) const;

    // Columns of line `index`, 0-based: from characters (as the reader counts
    // them) to UTF-16 code units, and back. Past the line's end, each column
    // counts one.
    int utf16_column(int index, int characters) const;
    int utf16_length(int index) const;
    int character_column(int index, int utf16) const;

    // Replaces a range with editor text (UTF-8).
    void replace(TextRange range, std::string_view utf8);

private:
    void index_lines(std::size_t from_line);

    std::string utf8_;
    std::vector<std::size_t> line_starts_{0};
};

}  // namespace scenariogen::lsp
