#include "compiler/fault_report.h"

#include "compiler/error_numbers.h"

namespace scenariogen {

namespace {
bool is_line_end(char c) { return c == '\r' || c == '\n'; }
}  // namespace

std::string source_line(std::string_view text, int line) {
    std::size_t begin = 0;
    for (int current = 1; current < line && begin < text.size(); ++current) {
        while (begin < text.size() && !is_line_end(text[begin])) ++begin;
        if (begin + 1 < text.size() && text[begin] == '\r' && text[begin + 1] == '\n') ++begin;
        if (begin < text.size()) ++begin;
    }
    std::size_t end = begin;
    while (end < text.size() && !is_line_end(text[end])) ++end;
    return std::string(text.substr(begin, end - begin));
}

std::string format_fault(const Diagnostic& fault, const SourceTexts& sources) {
    std::string text;
    std::string line;
    if (fault.where) {
        const bool in_line = fault.where->file == SourceFile::kLine;
        text += in_line ? sources.line_name : sources.train_name;
        if (fault.where->line > 0) {
            text += ":" + std::to_string(fault.where->line) + ":" + std::to_string(fault.where->column);
            line = source_line(in_line ? sources.line_text : sources.train_text, fault.where->line);
        }
        text += ": ";
    }
    text += "error " + std::to_string(fault.number) + ": " + std::string(error_sentence(fault.number));
    if (!fault.detail.empty()) text += ": " + fault.detail;
    if (fault.cell) text += " (cell " + std::to_string(*fault.cell) + ")";
    if (fault.position) text += " (at " + std::to_string(*fault.position) + " m)";
    text += "\n";
    if (fault.where && fault.where->line > 0) {
        text += "  " + line + "\n  ";
        // Tabs stay tabs, so that the caret lines up under the field.
        for (int i = 0; i + 1 < fault.where->column && i < static_cast<int>(line.size()); ++i) {
            text += line[static_cast<std::size_t>(i)] == '\t' ? '\t' : ' ';
        }
        text += "^\n";
    }
    return text;
}

}  // namespace scenariogen
