#include "lsp/project_diagnostics.h"

#include <algorithm>

#include "compiler/diagnostic_format.h"

namespace scenariogen::lsp {

namespace {

constexpr int kError = 1;

// The UTF-16 code units of the first `bytes` bytes of a UTF-8 line, the
// protocol's measure of a column.
int utf16_units(std::string_view line, std::size_t bytes) {
    int units = 0;
    for (std::size_t i = 0; i < bytes && i < line.size(); ++i) {
        const auto b = static_cast<unsigned char>(line[i]);
        if ((b & 0xC0) != 0x80) units += b >= 0xF0 ? 2 : 1;
    }
    return units;
}

nlohmann::json position(std::string_view line, int line_number, int column) {
    const std::size_t bytes = static_cast<std::size_t>(std::max(column, 1) - 1);
    return {{"line", line_number - 1}, {"character", utf16_units(line, bytes)}};
}

}  // namespace

nlohmann::json project_diagnostics(const ProjectFile& project) {
    nlohmann::json list = nlohmann::json::array();
    for (const ProjectDiagnostic& fault : project.faults) {
        const int line_number = std::max(fault.line, 1);
        const std::string_view line = text_line(project.text, line_number);
        const int column = fault.line > 0 ? fault.column : 1;
        const int end_column = fault.line > 0 ? std::max(fault.end_column, column) : 1;
        list.push_back(
            {{"range",
              {{"start", position(line, line_number, column)}, {"end", position(line, line_number, end_column)}}},
             {"severity", kError},
             {"source", "scenariogen"},
             {"message", fault.message}});
    }
    return list;
}

}  // namespace scenariogen::lsp
