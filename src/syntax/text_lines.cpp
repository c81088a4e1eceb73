#include "syntax/text_lines.h"

#include "syntax/field_cursor.h"

namespace scenariogen::syntax {

void for_each_line(std::string_view text, const std::function<bool(int, std::string_view)>& visit) {
    std::size_t begin = 0;
    int number = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!is_line_end(text[i])) continue;
        if (!visit(number++, text.substr(begin, i - begin))) return;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        begin = i + 1;
    }
    if (begin < text.size()) visit(number, text.substr(begin));
}

}  // namespace scenariogen::syntax
