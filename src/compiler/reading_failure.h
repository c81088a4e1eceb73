// A value that cannot be read or stored as the description asks (a field
// that is not a number, a number too large for its member, a text that ends
// where a value is expected). It ends the reading of both descriptions with
// error 25; the compilation turns it into that fault at the field's place.
#pragma once

#include <optional>
#include <stdexcept>
#include <string>

#include "syntax/source_range.h"

namespace scenariogen {

class ReadingFailure : public std::runtime_error {
public:
    explicit ReadingFailure(const std::string& what, std::optional<syntax::Span> where = std::nullopt)
        : std::runtime_error(what), where_(where) {}
    const std::optional<syntax::Span>& where() const { return where_; }

private:
    std::optional<syntax::Span> where_;
};

}  // namespace scenariogen
