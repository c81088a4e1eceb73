// The lines of a text as the description reader counts them.
#pragma once

#include <functional>
#include <string_view>

namespace scenariogen::syntax {

// Calls `visit(number, line)` for each line of a text, without its line end
// (CR LF, CR and LF each end a line; a line end at the very end opens no
// further line), until `visit` returns false.
void for_each_line(std::string_view text, const std::function<bool(int, std::string_view)>& visit);

}  // namespace scenariogen::syntax
