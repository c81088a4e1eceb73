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
//   ReadingFailure.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "compiler/reading_failure.h"

namespace scenariogen {

class FieldReader {
public:
    explicit FieldReader(std::string content) : content_(std::move(content)) {}

    bool eof() const;

    // The next field as text; the view stays valid while the reader lives.
    std::string_view read_text();
    std::int32_t read_number();
    // Numbers for narrower fields: a value that does not fit is a ReadingFailure.
    std::int16_t read_int16();
    std::uint8_t read_uint8();

    // Where the field last read stands.
    FieldSpan last_field() const { return last_; }

private:
    void skip_blanks();
    bool at_line_end() const;
    void consume_line_end();
    void consume_terminator();
    void start_field();
    FieldSpan here() const;
    void end_field(std::size_t end);

    std::string content_;
    std::size_t pos_ = 0;
    int line_ = 1;
    std::size_t line_start_ = 0;
    FieldSpan last_;
};

}  // namespace scenariogen
