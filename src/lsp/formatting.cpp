// Formatting: the keyword lines of each section aligned into columns, the
// way the generation run writes its descriptions (a comma, then at least two
// blanks). Only the blanks before the first field and after each comma
// change; the reader skips those, so every value reads as before. A
// document with a character that has no Windows-1252 form is left as it is.
#include <algorithm>
#include <string>
#include <vector>

#include "lsp/description_view.h"
#include "lsp/features.h"
#include "lsp/protocol_json.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

constexpr int kGap = 2;  // blanks after a comma, at least

// A column of a keyword line: the fields between two commas (numbers that
// blanks alone separate stay together), from the first one's first
// character to the comma after the last, or to the line's end.
struct Column {
    int begin = 0;
    int closed_at = 0;
};

struct KeywordRow {
    int line = 0;
    std::vector<Column> columns;
};

// The columns of a line from the fields the reader read on it.
std::vector<Column> columns_of(std::string_view text, const ViewLine& line) {
    std::vector<Column> columns;
    bool open = false;
    for (const ViewField& field : line.fields) {
        if (!open) columns.push_back({field.begin, field.end});
        auto at = static_cast<std::size_t>(field.end);
        while (at < text.size() && (text[at] == ' ' || text[at] == '\t')) ++at;
        const bool comma = at < text.size() && text[at] == ',';
        columns.back().closed_at = comma ? static_cast<int>(at) : static_cast<int>(text.size());
        open = !comma && at < text.size();
    }
    // A comma that ends the line leaves one more, empty column.
    if (!columns.empty() && columns.back().closed_at < static_cast<int>(text.size())) {
        columns.push_back({static_cast<int>(text.size()), static_cast<int>(text.size())});
    }
    return columns;
}

// The column each field of the rows starts at, so that every field starts
// at least kGap blanks after the comma that ends the field before it.
std::vector<int> column_starts(const std::vector<KeywordRow>& rows) {
    std::vector<int> starts{0};
    for (std::size_t c = 1;; ++c) {
        int start = -1;
        for (const KeywordRow& row : rows) {
            if (row.columns.size() <= c) continue;
            const Column& before = row.columns[c - 1];
            start = std::max(start, starts[c - 1] + (before.closed_at - before.begin) + 1 + kGap);
        }
        if (start < 0) return starts;
        starts.push_back(start);
    }
}

// The edits that move one row's fields to their columns.
void align_row(const DocumentText& document, std::string_view text, const KeywordRow& row,
               const std::vector<int>& starts, json& edits) {
    const auto replace = [&](int begin, int end, std::string blanks) {
        if (text.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)) == blanks) return;
        edits.push_back(
            {{"range", character_range_json(document, row.line, begin, end)}, {"newText", std::move(blanks)}});
    };
    replace(0, row.columns[0].begin, "");
    for (std::size_t c = 1; c < row.columns.size(); ++c) {
        const Column& before = row.columns[c - 1];
        const Column& column = row.columns[c];
        const int comma_column = starts[c - 1] + (before.closed_at - before.begin);
        // An empty last field gets no trailing blanks.
        const bool empty_last = c + 1 == row.columns.size() && column.begin == static_cast<int>(text.size());
        const int blanks = empty_last ? 0 : starts[c] - comma_column - 1;
        replace(before.closed_at + 1, column.begin, std::string(static_cast<std::size_t>(blanks), ' '));
    }
}

}  // namespace

json range_formatting(const OpenDocument& document, TextRange range) {
    json edits = json::array();
    for (json& edit : formatting(document)) {
        const int line = edit["range"]["start"]["line"].get<int>();
        if (line >= range.start.line && line <= range.end.line) edits.push_back(std::move(edit));
    }
    return edits;
}

json formatting(const OpenDocument& document) {
    json edits = json::array();
    if (document.unmappable) return edits;
    const DescriptionView view = view_description(document.description, document.pairing.role);
    for (const ViewSection& section : view.sections) {
        std::vector<KeywordRow> rows;
        for (int line = section.header_line + 1; line <= section.last_line; ++line) {
            const ViewLine& row = view.lines[static_cast<std::size_t>(line)];
            if (row.kind != LineKind::kKeyword) continue;
            rows.push_back({line, columns_of(description_line(document, line), row)});
        }
        const std::vector<int> starts = column_starts(rows);
        for (const KeywordRow& row : rows)
            align_row(document.text, description_line(document, row.line), row, starts, edits);
    }
    return edits;
}

}  // namespace scenariogen::lsp
