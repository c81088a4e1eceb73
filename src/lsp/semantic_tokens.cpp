// Semantic tokens: each field coloured by what the reader does with it, so
// that the colours never contradict the compiler: a keyword the reader
// recognises, a value it reads (a number or a text), a header, and, as a
// comment, every field it skips or ignores.
#include <string>

#include "lsp/description_view.h"
#include "lsp/features.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

// The token types, in the order of the legend.
enum TokenType { kKeywordToken, kNumberToken, kStringToken, kCommentToken, kHeaderToken };

struct Token {
    int line = 0;
    int begin = 0;  // characters
    int end = 0;
    TokenType type = kCommentToken;
};

void line_tokens(int index, const ViewLine& line, std::vector<Token>& out) {
    const auto add = [&](const ViewField& field, TokenType type) {
        if (field.end > field.begin) out.push_back({index, field.begin, field.end, type});
    };
    switch (line.kind) {
        case LineKind::kBlank:
            return;
        case LineKind::kHeader:
            add(line.fields.front(), kHeaderToken);
            for (std::size_t i = 1; i < line.fields.size(); ++i) add(line.fields[i], kCommentToken);
            return;
        case LineKind::kComment:
        case LineKind::kIgnored:
            for (const ViewField& field : line.fields) add(field, kCommentToken);
            return;
        case LineKind::kKeyword:
            break;
    }
    const syntax::KeywordShape& shape = syntax::shape(*line.keyword);
    std::vector<TokenType> types(line.fields.size(), kCommentToken);
    types[static_cast<std::size_t>(line.keyword_field)] = kKeywordToken;
    for (std::size_t k = 0; k < line.values.size() && k < shape.values.size(); ++k) {
        const bool text = shape.values[k].storage == syntax::Storage::kText;
        types[static_cast<std::size_t>(line.values[k])] = text ? kStringToken : kNumberToken;
    }
    for (std::size_t i = 0; i < line.fields.size(); ++i) add(line.fields[i], types[i]);
}

}  // namespace

json semantic_token_legend() {
    return {{"tokenTypes", {"keyword", "number", "string", "comment", "namespace"}}, {"tokenModifiers", json::array()}};
}

json semantic_tokens(const OpenDocument& document, int first_line, int last_line) {
    const DescriptionView view = view_description(document.description, document.pairing.role);
    std::vector<Token> tokens;
    const int last = std::min(last_line, std::min(static_cast<int>(view.lines.size()), document.text.line_count()) - 1);
    for (int index = std::max(first_line, 0); index <= last; ++index) {
        line_tokens(index, view.lines[static_cast<std::size_t>(index)], tokens);
    }
    // Relative to the token before, in UTF-16 units.
    std::vector<int> data;
    data.reserve(tokens.size() * 5);
    int line = 0;
    int start = 0;
    for (const Token& t : tokens) {
        const int begin = document.text.utf16_column(t.line, t.begin);
        const int end = document.text.utf16_column(t.line, t.end);
        data.insert(data.end(),
                    {t.line - line, t.line == line ? begin - start : begin, end - begin, static_cast<int>(t.type), 0});
        line = t.line;
        start = begin;
    }
    return {{"data", data}};
}

}  // namespace scenariogen::lsp
