#include "lsp/description_outline.h"

#include <algorithm>
#include <charconv>

namespace scenariogen::lsp {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }

int skip_blanks(std::string_view line, int at) {
    while (at < static_cast<int>(line.size()) && is_blank(line[static_cast<std::size_t>(at)])) ++at;
    return at;
}

int trim_end(std::string_view line, int begin, int end) {
    while (end > begin && is_blank(line[static_cast<std::size_t>(end - 1)])) --end;
    return end;
}

// The comma field that starts at `at` (blanks before it included).
FieldSpan field_at(std::string_view line, int at) {
    const int size = static_cast<int>(line.size());
    FieldSpan field;
    field.begin = skip_blanks(line, at);
    int i = field.begin;
    if (i < size && line[static_cast<std::size_t>(i)] == '"') {
        ++i;
        while (i < size && line[static_cast<std::size_t>(i)] != '"') ++i;
    }
    while (i < size && line[static_cast<std::size_t>(i)] != ',') ++i;
    field.closed_at = i;
    field.end = trim_end(line, field.begin, i);
    return field;
}

bool holds(std::string_view text, std::string_view part) { return text.find(part) != std::string_view::npos; }

bool holds_any_case(std::string_view text, std::string_view lower_part) {
    return std::search(text.begin(), text.end(), lower_part.begin(), lower_part.end(), [](char a, char b) {
               return (a >= 'A' && a <= 'Z' ? static_cast<char>(a - 'A' + 'a') : a) == b;
           }) != text.end();
}

std::string_view field_text(std::string_view line, const FieldSpan& field) {
    return line.substr(static_cast<std::size_t>(field.begin), static_cast<std::size_t>(field.end - field.begin));
}

}  // namespace

std::vector<FieldSpan> comma_fields(std::string_view line) {
    std::vector<FieldSpan> fields;
    if (skip_blanks(line, 0) == static_cast<int>(line.size())) return fields;
    int at = 0;
    for (;;) {
        fields.push_back(field_at(line, at));
        if (fields.back().closed_at >= static_cast<int>(line.size())) return fields;
        at = fields.back().closed_at + 1;
    }
}

std::vector<FieldSpan> value_fields(std::string_view line, const FieldSpan& keyword_field, const KeywordInfo& keyword) {
    const int size = static_cast<int>(line.size());
    std::vector<FieldSpan> values;
    if (keyword_field.closed_at >= size) return values;
    int at = keyword_field.closed_at + 1;
    for (const FieldInfo& info : keyword.fields) {
        FieldSpan value = field_at(line, at);
        if (!info.text) {
            int i = value.begin;
            while (i < size && line[static_cast<std::size_t>(i)] != ',' && !is_blank(line[static_cast<std::size_t>(i)]))
                ++i;
            value.end = i;
            value.closed_at = skip_blanks(line, i);  // a number also ends at blanks
        }
        values.push_back(value);
        if (value.closed_at >= size) break;
        at = line[static_cast<std::size_t>(value.closed_at)] == ',' ? value.closed_at + 1 : value.closed_at;
    }
    return values;
}

bool field_number(std::string_view line, const FieldSpan& field, long long& value) {
    std::string_view text = field_text(line, field);
    if (text.empty()) {
        value = 0;
        return true;
    }
    if (text.front() == '+') text.remove_prefix(1);
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return !text.empty() && error == std::errc() && end == text.data() + text.size();
}

Outline outline(const DocumentText& text, DescriptionRole role) {
    enum class Place { kBefore, kGeneral, kAfter };
    Outline result;
    result.lines.resize(static_cast<std::size_t>(text.line_count()));
    Place place = Place::kBefore;
    for (int index = 0; index < text.line_count(); ++index) {
        const std::string_view line = text.line(index);
        OutlineLine& out = result.lines[static_cast<std::size_t>(index)];
        if (skip_blanks(line, 0) == static_cast<int>(line.size())) continue;
        out.first = field_at(line, 0);
        const std::string_view first = field_text(line, out.first);
        const bool header = holds(first, "[") && holds(first, "]") && first.front() != '-';
        if (place == Place::kBefore) {
            out.kind = holds_any_case(first, "[generale]") ? LineKind::kHeader : LineKind::kIgnored;
            if (out.kind == LineKind::kHeader) place = role == DescriptionRole::kLine ? Place::kGeneral : Place::kAfter;
        } else if (holds(first, "-")) {
            out.kind = LineKind::kComment;
        } else if (header) {
            out.kind = LineKind::kHeader;
            place = Place::kAfter;
        } else {
            const KeywordPlace where = role == DescriptionRole::kTrain ? KeywordPlace::kTrain
                                       : place == Place::kGeneral      ? KeywordPlace::kLineGeneral
                                                                       : KeywordPlace::kLineObjects;
            out.keyword = recognise_keyword(first, where);
            out.kind = out.keyword ? LineKind::kKeyword : LineKind::kIgnored;
        }
        if (out.kind == LineKind::kHeader) {
            result.sections.push_back(Section{index, index, std::string(first)});
        } else if (!result.sections.empty()) {
            result.sections.back().last_line = index;
        }
    }
    return result;
}

}  // namespace scenariogen::lsp
