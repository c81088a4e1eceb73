// Formatting: the keyword lines of each section aligned into columns, the
// way the generation run writes its descriptions (a comma, then at least two
// blanks). Only the blanks before the first field and after each comma
// change; the reader skips those, so every value reads as before.
#include <algorithm>
#include <string>
#include <vector>

#include "lsp/description_outline.h"
#include "lsp/features.h"
#include "lsp/protocol_json.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

constexpr int kGap = 2;  // blanks after a comma, at least

struct KeywordRow {
    int line = 0;
    std::vector<FieldSpan> fields;
};

// The column each field of the rows starts at, so that every field starts
// at least kGap blanks after the comma that ends the field before it.
std::vector<int> column_starts(const std::vector<KeywordRow>& rows) {
    std::vector<int> starts{0};
    for (std::size_t c = 1;; ++c) {
        int start = -1;
        for (const KeywordRow& row : rows) {
            if (row.fields.size() <= c) continue;
            const FieldSpan& before = row.fields[c - 1];
            start = std::max(start, starts[c - 1] + (before.closed_at - before.begin) + 1 + kGap);
        }
        if (start < 0) return starts;
        starts.push_back(start);
    }
}

// The edits that move one row's fields to their columns.
void align_row(const DocumentText& text, const KeywordRow& row, const std::vector<int>& starts, json& edits) {
    const std::string_view line = text.line(row.line);
    const auto replace = [&](int begin, int end, std::string blanks) {
        if (line.substr(static_cast<std::size_t>(begin), static_cast<std::size_t>(end - begin)) == blanks) return;
        edits.push_back({{"range", range_json(row.line, begin, end)}, {"newText", std::move(blanks)}});
    };
    replace(0, row.fields[0].begin, "");
    for (std::size_t c = 1; c < row.fields.size(); ++c) {
        const FieldSpan& before = row.fields[c - 1];
        const FieldSpan& field = row.fields[c];
        const int comma_column = starts[c - 1] + (before.closed_at - before.begin);
        // An empty last field gets no trailing blanks.
        const bool empty_last = c + 1 == row.fields.size() && field.begin == static_cast<int>(line.size());
        const int blanks = empty_last ? 0 : starts[c] - comma_column - 1;
        replace(before.closed_at + 1, field.begin, std::string(static_cast<std::size_t>(blanks), ' '));
    }
}

}  // namespace

json formatting(const OpenDocument& document) {
    const Outline shape = outline(document.text, document.pairing.role);
    json edits = json::array();
    for (const Section& section : shape.sections) {
        std::vector<KeywordRow> rows;
        for (int line = section.header_line + 1; line <= section.last_line; ++line) {
            if (shape.lines[static_cast<std::size_t>(line)].kind != LineKind::kKeyword) continue;
            rows.push_back({line, comma_fields(document.text.line(line))});
        }
        const std::vector<int> starts = column_starts(rows);
        for (const KeywordRow& row : rows) align_row(document.text, row, starts, edits);
    }
    return edits;
}

}  // namespace scenariogen::lsp
