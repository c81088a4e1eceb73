// Where things stand in a JSON text: the line and column of a byte, and
// the places of the members of its top-level object, for diagnostics about
// a small JSON file that point at the member they are about.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace scenariogen {

// A 1-based line and a 1-based column in bytes.
struct TextPlace {
    int line = 1;
    int column = 1;
};

// The place of byte `offset` (0-based; past the end: just after the last byte).
TextPlace place_of_offset(std::string_view text, std::size_t offset);

// A member of the top-level object: its key as written between the quotes,
// and the byte offsets of the key (its quotes included) and of the value.
struct MemberPlace {
    std::string raw_key;
    std::size_t key_begin = 0;
    std::size_t key_end = 0;  // one past the closing quote
    std::size_t value_begin = 0;
    std::size_t value_end = 0;  // one past the value's last byte
};

// The members of the top-level object of `text`, in the order written.
// The text must be valid JSON; of any other top-level value, none.
std::vector<MemberPlace> top_level_members(std::string_view text);

}  // namespace scenariogen
