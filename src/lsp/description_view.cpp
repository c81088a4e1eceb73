#include "lsp/description_view.h"

#include "syntax/line_reading.h"
#include "syntax/text_lines.h"

namespace scenariogen::lsp {

namespace {

bool is_header(std::string_view field) {
    const auto first = field.find_first_not_of(" \t");
    return first != std::string_view::npos && field[first] == '[' && field.find(']') != std::string_view::npos;
}

ViewField field_of(const syntax::FieldUse& use) {
    return {use.field.span.column - 1, use.field.span.end_column - 1, use.field.text};
}

ViewLine view_line(const syntax::LineReading& reading) {
    ViewLine line;
    for (const syntax::FieldUse& use : reading.uses) line.fields.push_back(field_of(use));
    const bool blank = std::all_of(line.fields.begin(), line.fields.end(), [](const ViewField& f) {
        return f.text.find_first_not_of(" \t") == std::string_view::npos;
    });
    if (blank) return line;
    const syntax::FieldUse& first = reading.uses.front();
    if (first.use == syntax::Use::kDashSkipped) {
        line.kind = LineKind::kComment;
    } else if (is_header(first.field.text)) {
        line.kind = LineKind::kHeader;
    } else if (first.use == syntax::Use::kKeywordField && first.readings > 0) {
        const syntax::KeywordReading& keyword = reading.readings[static_cast<std::size_t>(first.first_reading)];
        line.kind = LineKind::kKeyword;
        line.keyword = keyword.keyword;
        line.keyword_field = keyword.keyword_use;
        line.values = keyword.value_uses;
        line.missing = keyword.missing;
    } else {
        line.kind = LineKind::kIgnored;
    }
    return line;
}

class ViewBuilder : public syntax::LineSink {
public:
    explicit ViewBuilder(DescriptionView& view) : view_(view) {}
    void line(const syntax::LineReading& reading) override {
        const auto index = static_cast<std::size_t>(reading.line - 1);
        if (index < view_.lines.size()) view_.lines[index] = view_line(reading);
    }

private:
    DescriptionView& view_;
};

void find_sections(DescriptionView& view) {
    for (int index = 0; index < static_cast<int>(view.lines.size()); ++index) {
        const ViewLine& line = view.lines[static_cast<std::size_t>(index)];
        if (line.kind == LineKind::kHeader) {
            view.sections.push_back({index, index, std::string(line.fields.front().text)});
        } else if (line.kind != LineKind::kBlank && !view.sections.empty()) {
            view.sections.back().last_line = index;
        }
    }
}

}  // namespace

DescriptionView view_description(std::string_view text, SourceFile file) {
    DescriptionView view;
    int lines = 0;
    syntax::for_each_line(text, [&](int number, std::string_view) {
        lines = number;
        return true;
    });
    view.lines.resize(static_cast<std::size_t>(lines) + 1);  // and the empty line after the last line end
    ViewBuilder builder(view);
    syntax::read_lines(text, file, std::nullopt, &builder);
    find_sections(view);
    return view;
}

}  // namespace scenariogen::lsp
