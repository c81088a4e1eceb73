#include "lsp/quick_fixes.h"

#include <algorithm>
#include <cctype>

#include "compiler/placement.h"
#include "lint/suggestion.h"
#include "syntax/keywords.h"
#include "syntax/number_token.h"
#include "text/windows_1252.h"

namespace scenariogen::lsp {

namespace {

using syntax::Keyword;

SourceFile other(SourceFile file) { return file == SourceFile::kLine ? SourceFile::kTrain : SourceFile::kLine; }

std::string file_words(SourceFile file) {
    return file == SourceFile::kLine ? "the line description" : "the train description";
}

// The field of a line that a diagnostic starting at `column` names.
const ViewField* field_at(const ViewLine& line, int column) {
    for (const ViewField& field : line.fields) {
        if (field.begin == column) return &field;
    }
    for (const ViewField& field : line.fields) {
        if (field.begin <= column && column < field.end) return &field;
    }
    return nullptr;
}

QuickFix replacement(const std::string& title, int line, const ViewField& field, const std::string& text_1252,
                     bool preferred) {
    return {title, {{false, line, field.begin, field.end, from_windows_1252(text_1252), false}}, preferred, false};
}

std::optional<QuickFix> respelt(int line, const ViewField& field, const std::string& spelling) {
    if (spelling == field.text) return std::nullopt;
    return replacement("Change to '" + from_windows_1252(spelling) + "'", line, field, spelling, true);
}

// A keyword written with other letters or blanks than the reader needs:
// the keyword as the table spells it, or the nearest spelling.
std::optional<QuickFix> spelling_fix(int line, const ViewField& field, SourceFile file) {
    if (const auto intent = syntax::intended_keyword(field.text);
        intent && syntax::file_of(syntax::shape(intent->keyword).section) == file) {
        return respelt(line, field, syntax::normalised(field.text));
    }
    if (const auto meant = lint::nearest_spelling(syntax::normalised(field.text), syntax::spellings(file))) {
        return respelt(line, field, *meant);
    }
    return std::nullopt;
}

// "pendenza 3000" or "pendenza: 3000": the keyword, then its first value
// without the comma between them. Semicolons written for commas all become
// commas.
std::optional<QuickFix> comma_fix(int line, const ViewField& field, SourceFile file) {
    const std::string_view raw = field.text;
    if (raw.find(';') != std::string_view::npos) {
        std::string text(raw);
        std::replace(text.begin(), text.end(), ';', ',');
        return replacement("Separate the values with commas", line, field, text, true);
    }
    for (const std::string& spelling : syntax::spellings(file)) {
        for (std::size_t end = spelling.size(); end < raw.size(); ++end) {
            if (syntax::normalised(raw.substr(0, end)) != spelling) continue;
            const char after = raw[end];
            if (std::isalnum(static_cast<unsigned char>(after))) break;
            const bool replaces = after == ':' || after == ';';
            const bool blank = after == ' ' || after == '\t';
            const int at = field.begin + static_cast<int>(end);
            const std::string comma = replaces || blank ? "," : ", ";
            return QuickFix{"Put a comma after '" + spelling + "'",
                            {{false, line, at, at + (replaces ? 1 : 0), comma, false}},
                            true,
                            false};
        }
    }
    return std::nullopt;
}

// A keyword line skipped for the dash in its keyword field.
std::optional<QuickFix> dash_fix(int line, const ViewLine& view_line, const ViewField& field, SourceFile file) {
    std::string undashed = syntax::normalised(field.text);
    std::replace(undashed.begin(), undashed.end(), '-', '_');
    if (view_line.fields.size() >= 2) {
        if (syntax::intended_keyword(undashed)) return respelt(line, field, undashed);
        if (const auto meant = lint::nearest_spelling(undashed, syntax::spellings(file))) {
            return respelt(line, field, *meant);
        }
    }
    return comma_fix(line, field, file);
}

std::optional<QuickFix> header_fix(int line, const ViewField& field, SourceFile file) {
    const std::string n = syntax::normalised(field.text);
    const auto& others = syntax::section_headers(other(file));
    if (std::find(others.begin(), others.end(), n) != others.end()) return std::nullopt;
    const auto meant = lint::nearest_spelling(n, syntax::section_headers(file));
    return meant ? respelt(line, field, *meant) : std::nullopt;
}

// A field taken for a keyword it only contains: a header misspelt, a
// keyword misspelt, or a keyword run into its first value. A field that
// holds a dash past the dash rule's limit has no one fix.
std::optional<QuickFix> taken_fix(int line, const ViewField& field, SourceFile file) {
    const std::string n = syntax::normalised(field.text);
    if (!n.empty() && n.front() == '[') {
        const auto meant = lint::nearest_spelling(n, syntax::section_headers(file));
        return meant ? respelt(line, field, *meant) : std::nullopt;
    }
    if (n.find('-') != std::string::npos) return std::nullopt;
    if (const auto meant = lint::nearest_spelling(n, syntax::spellings(file))) return respelt(line, field, *meant);
    return comma_fix(line, field, file);
}

// Gradients, speeds, adhesions and code-drop points take effect at a cell
// boundary; the other objects take the cell their position falls in.
bool at_boundary(Keyword keyword, std::size_t value) {
    const bool boundary = keyword == Keyword::kGradient || keyword == Keyword::kSpeed ||
                          keyword == Keyword::kAdhesion || keyword == Keyword::kCodeDrop;
    return boundary || value != 0 || !syntax::shape(keyword).positioned;
}

// A position off the 50 m grid, moved to where the compiler counts it: the
// start of the cell an object falls in, or the cell boundary a change takes
// effect at.
std::optional<QuickFix> grid_fix(int line, const ViewLine& view_line, const ViewField& field) {
    if (view_line.kind != LineKind::kKeyword) return std::nullopt;
    const auto index = static_cast<std::size_t>(
        std::find_if(view_line.values.begin(), view_line.values.end(),
                     [&](int v) { return &view_line.fields[static_cast<std::size_t>(v)] == &field; }) -
        view_line.values.begin());
    if (index >= view_line.values.size()) return std::nullopt;
    const syntax::NumberToken token = syntax::read_number_token(field.text);
    if (!token.value || !token.fits_32_bits || syntax::shape(*view_line.keyword).values[index].unit != "m") {
        return std::nullopt;
    }
    const auto metres = static_cast<std::int32_t>(*token.value);
    const std::int64_t cell = at_boundary(*view_line.keyword, index) ? std::int64_t{boundary_cell(metres)}
                                                                     : std::int64_t{object_cell(metres)} - 1;
    const std::int64_t rounded = 50 * cell;
    if (rounded == metres || rounded < 0) return std::nullopt;
    const std::string text = std::to_string(rounded);
    QuickFix fix = replacement("Round " + std::to_string(metres) + " m to " + text + " m, on the 50 m grid", line,
                               field, text, true);
    fix.needs_check = true;
    return fix;
}

// Where a line of `keyword` goes in the partner: after its last line of the
// same keyword, else before its last line that is not blank (the reader
// never interprets a file's last field: that line is "[fine]").
int insertion_line(const DescriptionView& partner, Keyword keyword) {
    int last_same = -1;
    int last_written = -1;
    for (int i = 0; i < static_cast<int>(partner.lines.size()); ++i) {
        const ViewLine& line = partner.lines[static_cast<std::size_t>(i)];
        if (line.kind == LineKind::kBlank) continue;
        last_written = i;
        if (line.kind == LineKind::kKeyword && line.keyword == keyword) last_same = i;
    }
    if (last_same >= 0) return last_same + 1;
    return std::max(last_written, 0);
}

std::optional<QuickFix> move_fix(int line, const ViewField& field, std::string_view line_text, SourceFile file,
                                 const PartnerText* partner) {
    const auto intent = syntax::intended_keyword(field.text);
    if (!partner || !intent || syntax::file_of(syntax::shape(intent->keyword).section) == file) return std::nullopt;
    const DescriptionView view = view_description(partner->description, other(file));
    const int at = insertion_line(view, intent->keyword);
    return QuickFix{"Move this line to " + file_words(other(file)),
                    {{false, line, 0, 0, "", true},
                     {true, at, 0, 0, from_windows_1252(line_text) + std::string(partner->line_end), false}},
                    false,
                    false};
}

}  // namespace

std::optional<QuickFix> quick_fix(const FixSite& site, const DescriptionView& view, SourceFile file,
                                  std::string_view line_text, const PartnerText* partner) {
    if (site.line < 0 || site.line >= static_cast<int>(view.lines.size())) return std::nullopt;
    const ViewLine& line = view.lines[static_cast<std::size_t>(site.line)];
    const ViewField* field = field_at(line, site.column);
    if (field == nullptr) return std::nullopt;
    const std::string& name = site.name;
    if (name == "unknown-keyword" || name == "keyword-case") return spelling_fix(site.line, *field, file);
    if (name == "contains-keyword") return taken_fix(site.line, *field, file);
    if (name == "dash-in-keyword") return dash_fix(site.line, line, *field, file);
    if (name == "unknown-header") return header_fix(site.line, *field, file);
    if (name == "blank-separated") {
        return QuickFix{"Put a comma after " + from_windows_1252(field->text),
                        {{false, site.line, field->end, field->end, ",", false}},
                        true,
                        false};
    }
    if (name == "not-multiple" || name == "unaligned") return grid_fix(site.line, line, *field);
    if (name == "wrong-file") return move_fix(site.line, *field, line_text, file, partner);
    return std::nullopt;
}

}  // namespace scenariogen::lsp
