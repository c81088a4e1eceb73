// The comma fields of a description text, cut as the description reader cuts
// them. The reader does not read lines: it reads a stream of fields, one
// request at a time, each request naming whether it wants a text or a number.
//
// - Blanks (space, tab) before a field are skipped; a comma or a line end
//   ends a field; CR LF, CR and LF each end a line.
// - A text runs to the next comma or line end; a text that begins with a
//   double quote runs to its closing quote, and what follows the quote up to
//   the comma is dropped.
// - A number also ends at a blank; after a field come blanks and then at
//   most one comma or one line end.
// - eof() is true once nothing but one line end remains: the text is
//   exhausted.
//
// Cutting never fails: what a field holds is judged by whoever asked for it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "syntax/source_range.h"

namespace scenariogen::syntax {

struct Field {
    Span span;                     // trailing blanks excluded
    std::string_view text;         // as the reader hands it on: a number's token, a text without its quotes
    bool ends_line = false;        // the field was the last of its line
    bool quoted = false;           // a text in double quotes
    bool unclosed_quote = false;   // ... whose closing quote is missing
    std::string_view dropped;      // what followed a closing quote before the comma
    bool blank_separated = false;  // a number ended by a blank, with another value after it on the line
};

class FieldCursor {
public:
    explicit FieldCursor(std::string_view text) : text_(text) {}
    // The cursor views its text: a temporary string would be gone before it is read.
    explicit FieldCursor(std::string&&) = delete;
    explicit FieldCursor(const char* text) : text_(text) {}

    bool eof() const;
    // The line just read has ended: the last field ended its line, or the
    // text is exhausted. True before the first field.
    bool line_ended() const { return line_ended_ || pos_ >= text_.size(); }
    int line() const { return line_; }
    // Where the next field would begin, before its blanks.
    Span here() const;

    // Precondition: !eof(), as the reader requires.
    Field read_text();
    Field read_number();
    // Skips what is left of the current line, its line end included.
    void skip_line();

private:
    void skip_blanks();
    bool at_line_end() const;
    void consume_terminator(Field& field);
    Span span_from(std::size_t begin, std::size_t end) const;

    std::string_view text_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::size_t line_start_ = 0;
    bool line_ended_ = true;
};

// The characters that end a line, and the blanks that fields are trimmed of.
inline bool is_line_end(char c) { return c == '\r' || c == '\n'; }
inline bool is_blank(char c) { return c == ' ' || c == '\t'; }

}  // namespace scenariogen::syntax
