// The comma-field reader shared by both description files. A file is a
// stream of fields; each request names whether it wants a text or a number.
//
// - Blanks before a field are skipped. A comma or a line end ends a field.
// - A text runs to the next comma or line end (a text that begins with a
//   double quote runs to its closing quote).
// - A number is a signed decimal integer that fits 32 bits; it also ends at
//   a blank, so blank-separated numbers read one by one. An empty number is 0.
// - eof() is true once nothing but one line end remains.
// - Reading past the end, or a number field that holds anything else, is a
//   ReadFailure.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenariogen {

struct FieldPosition {
    int line = 1;    // 1-based
    int column = 1;  // 1-based, in bytes
};

// A field that cannot be read as asked; `where` is the field's start.
class ReadFailure : public std::runtime_error {
public:
    ReadFailure(const std::string& what, FieldPosition where) : std::runtime_error(what), where_(where) {}
    FieldPosition where() const { return where_; }

private:
    FieldPosition where_;
};

class FieldReader {
public:
    explicit FieldReader(std::string content) : content_(std::move(content)) {}

    bool eof() const;

    // The next field as text; the view stays valid while the reader lives.
    std::string_view read_text();
    std::int32_t read_number();
    // Numbers for narrower fields: a value that does not fit is a ReadFailure.
    std::int16_t read_int16();
    std::uint8_t read_uint8();

    // Where the field last read started.
    FieldPosition last_field() const { return last_; }
    // The text of a line, without its line end (for diagnostics).
    std::string line_text(int line) const;

private:
    void skip_blanks();
    bool at_line_end() const;
    void consume_line_end();
    void consume_terminator();
    void start_field();
    FieldPosition here() const;

    std::string content_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::size_t line_start_ = 0;
    FieldPosition last_;
};

}  // namespace scenariogen
