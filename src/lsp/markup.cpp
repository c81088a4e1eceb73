#include "lsp/markup.h"

#include <algorithm>
#include <vector>

namespace scenariogen::lsp {

namespace {

using Row = std::vector<std::string>;

std::string without_marks(std::string_view text) {
    std::string plain;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '`') continue;
        if (text.compare(i, 2, "**") == 0) {
            ++i;
            continue;
        }
        plain += text[i];
    }
    return plain;
}

std::string_view trimmed_of_spaces(std::string_view text) {
    const auto first = text.find_first_not_of(' ');
    if (first == std::string_view::npos) return {};
    return text.substr(first, text.find_last_not_of(' ') - first + 1);
}

bool is_table_row(std::string_view line) { return !line.empty() && line.front() == '|'; }

// |---|:--| and the like: the line under a table's header.
bool is_table_rule(std::string_view line) { return line.find_first_not_of("|-: ") == std::string_view::npos; }

Row cells_of(std::string_view line) {
    Row cells;
    line.remove_prefix(1);
    if (!line.empty() && line.back() == '|') line.remove_suffix(1);
    for (std::size_t begin = 0;;) {
        const std::size_t bar = line.find('|', begin);
        cells.push_back(without_marks(trimmed_of_spaces(line.substr(begin, bar - begin))));
        if (bar == std::string_view::npos) return cells;
        begin = bar + 1;
    }
}

// The characters of UTF-8 text: its bytes less those that continue one.
std::size_t width_of(std::string_view utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}

// A table's rows in columns two blanks apart.
std::string columns(const std::vector<Row>& rows) {
    std::vector<std::size_t> widths;
    for (const Row& row : rows) {
        widths.resize(std::max(widths.size(), row.size()));
        for (std::size_t i = 0; i < row.size(); ++i) widths[i] = std::max(widths[i], width_of(row[i]));
    }
    std::string text;
    for (const Row& row : rows) {
        std::string line;
        for (std::size_t i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size()) line += std::string(widths[i] - width_of(row[i]) + 2, ' ');
        }
        text += std::string(trimmed_of_spaces(line)) + "\n";
    }
    return text;
}

}  // namespace

std::string plain_text(std::string_view markdown) {
    std::string text;
    std::vector<Row> table;
    std::size_t begin = 0;
    while (begin <= markdown.size()) {
        const std::size_t end = std::min(markdown.find('\n', begin), markdown.size());
        const std::string_view line = markdown.substr(begin, end - begin);
        if (is_table_row(line)) {
            if (!is_table_rule(line)) table.push_back(cells_of(line));
        } else {
            text += columns(table);
            table.clear();
            text += without_marks(line);
            if (end < markdown.size()) text += '\n';
        }
        begin = end + 1;
    }
    return text + columns(table);
}

nlohmann::json markup_content(std::string markdown, bool markdown_accepted) {
    if (markdown_accepted) return {{"kind", "markdown"}, {"value", std::move(markdown)}};
    return {{"kind", "plaintext"}, {"value", plain_text(markdown)}};
}

}  // namespace scenariogen::lsp
