#include "lint/explanations.h"

#include <vector>

#include "compiler/error_numbers.h"
#include "lint/suggestion.h"
#include "lint/warnings.h"

namespace scenariogen {

namespace {

// Every entry, in the order of the kinds.
const std::vector<Explanation>& all_entries() {
    static const std::vector<Explanation> kAll = [] {
        std::vector<Explanation> all;
        for (const auto part : {error_number_explanations(), check_error_explanations(), warning_explanations(),
                                keyword_explanations()}) {
            all.insert(all.end(), part.begin(), part.end());
        }
        return all;
    }();
    return kAll;
}

// A code as typed, made comparable: lower case, blanks trimmed and made one,
// "à" (UTF-8 or Windows-1252) read as "a", "E16" and "error 16" as "16".
std::string comparable(std::string_view code) {
    std::string out;
    for (std::size_t i = 0; i < code.size(); ++i) {
        const auto c = static_cast<unsigned char>(code[i]);
        if (c == 0xC3 && i + 1 < code.size() && (code[i + 1] == '\xA0' || code[i + 1] == '\x80')) {
            out += 'a';
            ++i;
        } else if (c == 0xE0 || c == 0xC0) {
            out += 'a';
        } else if (c == ' ' || c == '\t') {
            if (!out.empty() && out.back() != ' ') out += ' ';
        } else {
            out += static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
        }
    }
    while (!out.empty() && out.back() == ' ') out.pop_back();
    for (const std::string_view prefix : {"error ", "e"}) {
        const std::string rest = out.substr(std::min(out.size(), prefix.size()));
        if (out.rfind(prefix, 0) == 0 && !rest.empty() && rest.find_first_not_of("0123456789") == std::string::npos) {
            return rest;
        }
    }
    // The keywords that come in variants: curvad1 ... curvas6, 4 or 9 codes.
    if (out.size() == 7 && out.rfind("curva", 0) == 0 && (out[5] == 'd' || out[5] == 's') && out[6] >= '1' &&
        out[6] <= '6') {
        return "curva";
    }
    if (out == "ripetizione segnali 9 codici") return "ripetizione segnali 4 codici";
    return out;
}

std::string first_sentence(std::string_view text) {
    const auto end = text.find(". ");
    std::string sentence(text.substr(0, end == std::string_view::npos ? text.size() : end));
    if (!sentence.empty() && sentence.back() == '.') sentence.pop_back();
    if (!sentence.empty() && sentence.front() >= 'A' && sentence.front() <= 'Z') sentence.front() += 'a' - 'A';
    return sentence;
}

std::string_view name_meaning(std::string_view name) {
    for (const auto table : {warning_names(), error_names()}) {
        for (const DiagnosticName& n : table) {
            if (n.name == name) return n.meaning;
        }
    }
    return {};
}

std::string indented(std::string_view lines, std::string_view indent) {
    std::string out;
    std::size_t begin = 0;
    while (begin <= lines.size()) {
        const auto end = lines.find('\n', begin);
        out += std::string(indent) + std::string(lines.substr(begin, end - begin)) + "\n";
        if (end == std::string_view::npos) break;
        begin = end + 1;
    }
    return out;
}

std::string value_label(const syntax::ValueShape& v) {
    return std::string(v.name) + (v.unit.empty() ? "" : " (" + std::string(v.unit) + ")");
}

}  // namespace

std::span<const Explanation> explanations() { return all_entries(); }

const Explanation* find_explanation(std::string_view code) {
    const std::string wanted = comparable(code);
    for (const Explanation& e : all_entries()) {
        if (comparable(e.code) == wanted) return &e;
    }
    return nullptr;
}

std::optional<std::string_view> nearest_code(std::string_view code) {
    std::vector<std::string> codes;
    for (const Explanation& e : all_entries()) codes.emplace_back(e.code);
    const std::optional<std::string> nearest = lint::nearest_spelling(comparable(code), codes);
    if (!nearest) return std::nullopt;
    return find_explanation(*nearest)->code;
}

std::string explanation_title(const Explanation& e) {
    switch (e.kind) {
        case ExplanationKind::kErrorNumber:
            return "error " + std::string(e.code) + ": " +
                   std::string(error_sentence(static_cast<std::int32_t>(std::stoi(std::string(e.code)))));
        case ExplanationKind::kCheckError:
            return "error [" + std::string(e.code) + "]: " + std::string(name_meaning(e.code));
        case ExplanationKind::kWarning:
            return "warning [" + std::string(e.code) + "]: " + std::string(name_meaning(e.code));
        case ExplanationKind::kKeyword:
            return "keyword '" + std::string(e.code) + "' (" + first_sentence(e.meaning) + ")";
    }
    return std::string(e.code);
}

std::string explanation_text(const Explanation& e) {
    std::string text = explanation_title(e) + "\n\n" + std::string(e.meaning) + "\n";
    if (!e.values.empty()) {
        std::size_t width = 0;
        for (const syntax::ValueShape& v : e.values) width = std::max(width, value_label(v).size());
        text += "\nValues, in order:\n";
        for (const syntax::ValueShape& v : e.values) {
            const std::string label = value_label(v);
            text += "  " + label + std::string(width + 2 - label.size(), ' ') + std::string(v.meaning) + "\n";
        }
    }
    text += "\nExample:\n" + indented(e.example, "  ");
    text += std::string(e.kind == ExplanationKind::kKeyword ? "\nHow it is written: " : "\nThe usual fix: ") +
            std::string(e.fix) + "\n";
    return text;
}

std::string explanation_markdown(const Explanation& e) {
    std::string text = "**" + explanation_title(e) + "**\n\n" + std::string(e.meaning) + "\n";
    if (!e.values.empty()) {
        text += "\n| Value | Unit | Meaning |\n|---|---|---|\n";
        for (const syntax::ValueShape& v : e.values) {
            text += "| " + std::string(v.name) + " | " + std::string(v.unit) + " | " + std::string(v.meaning) + " |\n";
        }
    }
    text += "\nExample:\n\n```\n" + std::string(e.example) + "\n```\n\n";
    text += std::string(e.kind == ExplanationKind::kKeyword ? "How it is written: " : "The usual fix: ") +
            std::string(e.fix) + "\n";
    return text;
}

std::string format_reference_markdown() {
    std::string text;
    for (const auto& [file, heading] :
         {std::pair{"Line description", "**What each value of the line description means**"},
          std::pair{"Train description", "**What each value of the train description means**"}}) {
        text += std::string(heading) + "\n\n| Keyword | Value | Unit | Meaning |\n|---|---|---|---|\n";
        for (const Explanation& e : keyword_explanations()) {
            if (e.meaning.rfind(file, 0) != 0) continue;
            bool first = true;
            for (const syntax::ValueShape& v : e.values) {
                text += "| " + (first ? "`" + std::string(e.code) + "`" : std::string()) + " | " + std::string(v.name) +
                        " | " + std::string(v.unit) + " | " + std::string(v.meaning) + " |\n";
                first = false;
            }
        }
        text += "\n";
    }
    return text;
}

}  // namespace scenariogen
