// A value that cannot be read or stored as the description asks (a field
// that is not a number, a number too large for its member, a text that ends
// where a value is expected). It ends the reading of both descriptions with
// error 25; the compilation turns it into that fault at the field's place.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

namespace scenariogen {

// A field's place in its text: 1-based line, 1-based columns in bytes,
// `end_column` one past its last byte.
struct FieldSpan {
    int line = 1;
    int column = 1;
    int end_column = 1;
};

class ReadingFailure : public std::runtime_error {
public:
    explicit ReadingFailure(const std::string& what, std::optional<FieldSpan> where = std::nullopt)
        : std::runtime_error(what), where_(where) {}
    const std::optional<FieldSpan>& where() const { return where_; }

private:
    std::optional<FieldSpan> where_;
};

}  // namespace scenariogen
