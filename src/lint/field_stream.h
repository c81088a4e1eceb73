// The comma fields of a description text, cut exactly as the description
// reader cuts them, but with the place of every field and without failing:
// a field that the reader could not read is handed back for the check to
// report.
//
// - Blanks (space, tab) before a field are skipped; a comma or a line end
//   ends a field; CR LF, CR and LF each end a line.
// - A text runs to the next comma or line end; a text that begins with a
//   double quote runs to its closing quote, and what follows the quote up to
//   the comma is dropped.
// - A number also ends at a blank; after a field come blanks and then at
//   most one comma or one line end.
// - eof() is true once nothing but one line end remains.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <optional>
#include <string_view>

namespace scenariogen::lint {

// Where a field stands: 1-based line and columns in bytes, `end_column` one
// past its last byte (trailing blanks excluded).
struct Span {
    int line = 1;
    int column = 1;
    int end_column = 1;
};

struct Field {
    Span span;
    std::string_view text;         // as the reader hands it on (a number's token)
    bool ends_line = false;        // the field was the last of its line
    bool quoted = false;           // a text in double quotes
    bool unclosed_quote = false;   // ... whose closing quote is missing
    std::string_view dropped;      // what followed a closing quote before the comma
    bool blank_separated = false;  // a number ended by a blank, with another value after it on the line
};

class FieldStream {
public:
    explicit FieldStream(std::string_view text) : text_(text) {}

    bool eof() const;
    // The line just read has ended: the last field ended its line, or the
    // text is exhausted. True before the first field.
    bool line_ended() const { return line_ended_ || pos_ >= text_.size(); }
    int line() const { return line_; }

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

// A number field as the reader reads it: a signed decimal integer that fits
// 32 bits ("+" allowed), 0 when empty. `value` is absent when the token is
// not a whole number; `fits_32_bits` is false for a longer number.
struct NumberValue {
    bool empty = false;
    std::optional<std::int64_t> value;  // the number written, when it is one (up to 18 digits)
    bool fits_32_bits = true;
};
NumberValue number_value(std::string_view token);

// Calls `visit(number, line)` for each line of a text, without its line end
// (CR LF, CR and LF each end a line; a line end at the very end opens no
// further line), until `visit` returns false.
void for_each_line(std::string_view text, const std::function<bool(int, std::string_view)>& visit);

}  // namespace scenariogen::lint
