// One value of a keyword line against its shape: a whole number where one
// belongs, within what its field can store and what it can mean; a text
// that the reader stores as written.
#pragma once

#include <cstdint>
#include <string_view>

#include "lint/report.h"
#include "lint/syntax_names.h"

namespace scenariogen::lint {

struct Value {
    Span span;
    std::string_view text;  // a number's token, or the text as stored
    std::int64_t number = 0;
    bool empty = false;
};

// Reports what is wrong with the value; false when it is no number that its
// field can take, so that the line cannot be followed further.
bool check_value(Report& report, SourceFile file, const KeywordShape& keyword, const ValueShape& shape,
                 const Field& field, Value& value);

// The value as the format stores it, for a value outside its field.
std::int64_t stored_value(Storage storage, std::int64_t value);

}  // namespace scenariogen::lint
