#include "lsp/keyword_documentation.h"

namespace scenariogen::lsp {

namespace {

using syntax::Keyword;

// The keyword as a snippet writes it: a curve and the signal repetition
// choose their digits.
std::string snippet_keyword(Keyword keyword, bool snippet, int& next) {
    if (snippet && keyword == Keyword::kCurve) {
        next = 3;
        return "curva${1|d,s|}${2|1,2,3,4,5,6|}";
    }
    if (snippet && keyword == Keyword::kSignalRepetition) {
        next = 2;
        return "ripetizione segnali ${1|4,9|} codici";
    }
    return std::string(syntax::shape(keyword).spelling);
}

}  // namespace

std::string value_documentation(const syntax::ValueShape& value) {
    std::string text = "`" + std::string(value.name) + "`";
    if (!value.unit.empty()) text += " (" + std::string(value.unit) + ")";
    if (!value.meaning.empty()) text += ": " + std::string(value.meaning);
    return text;
}

std::string keyword_documentation(Keyword keyword) {
    const syntax::KeywordShape& shape = syntax::shape(keyword);
    std::string text = "**" + std::string(shape.spelling) + "**: " + std::string(shape.summary) + "\n\n";
    text += "| value | unit | meaning |\n|---|---|---|\n";
    for (const syntax::ValueShape& value : shape.values) {
        text += "| `" + std::string(value.name) + "` | " + std::string(value.unit) + " | " +
                std::string(value.meaning) + " |\n";
    }
    return text;
}

std::string keyword_snippet(Keyword keyword, bool snippet) {
    int next = 1;
    std::string text = snippet_keyword(keyword, snippet, next);
    const syntax::KeywordShape& shape = syntax::shape(keyword);
    if (!snippet) return text + ",  ";
    for (const syntax::ValueShape& value : shape.values) {
        const bool name = value.storage == syntax::Storage::kText;
        text += name ? ",   " : ",  ";
        if (snippet) text += "${" + std::to_string(next++) + ":" + std::string(value.name) + "}";
    }
    return text;
}

}  // namespace scenariogen::lsp
