#include "compiler/fault_report.h"

namespace scenariogen {

std::string format_fault(const Fault& fault) {
    std::string text;
    if (fault.where) {
        text += fault.where->file;
        if (fault.where->line > 0) {
            text += ":" + std::to_string(fault.where->line) + ":" + std::to_string(fault.where->column);
        }
        text += ": ";
    }
    text += "error " + std::to_string(fault.number) + ": " + std::string(error_sentence(fault.number));
    if (!fault.detail.empty()) text += ": " + fault.detail;
    if (fault.cell) text += " (cell " + std::to_string(*fault.cell) + ")";
    if (fault.position) text += " (at " + std::to_string(*fault.position) + " m)";
    text += "\n";
    if (fault.where && fault.where->line > 0) {
        const std::string& line = fault.where->text;
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
