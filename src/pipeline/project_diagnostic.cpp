#include "pipeline/project_diagnostic.h"

#include <algorithm>

#include "compiler/diagnostic_format.h"

namespace scenariogen {

namespace {

// The project file is UTF-8: its bytes are shown as they are, but control
// bytes, which could steer the terminal, as \xNN.
std::string shown(std::string_view line) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : line) {
        const auto b = static_cast<unsigned char>(c);
        if ((b < 0x20 && b != '\t') || b == 0x7F) {
            out += std::string("\\x") + kHex[b >> 4] + kHex[b & 0x0F];
        } else {
            out += c;
        }
    }
    return out;
}

// Blanks under the shown line up to byte `up_to`; tabs stay tabs, an
// escaped byte takes four columns and a UTF-8 character one.
std::string padding(std::string_view line, std::size_t up_to) {
    std::string pad;
    for (std::size_t i = 0; i < up_to && i < line.size(); ++i) {
        const auto b = static_cast<unsigned char>(line[i]);
        if (b == '\t') {
            pad += '\t';
        } else if (b < 0x20 || b == 0x7F) {
            pad += "    ";
        } else if ((b & 0xC0) != 0x80) {
            pad += ' ';
        }
    }
    return pad;
}

}  // namespace

std::string format_project_diagnostic(const ProjectDiagnostic& d, std::string_view text) {
    if (d.line <= 0) return d.file + ": error: " + d.message + "\n";
    std::string out =
        d.file + ":" + std::to_string(d.line) + ":" + std::to_string(d.column) + ": error: " + d.message + "\n";
    const std::string_view line = text_line(text, d.line);
    const std::size_t start = static_cast<std::size_t>(std::max(d.column, 1) - 1);
    out += "  " + shown(line) + "\n  " + padding(line, start) + "^";
    const std::size_t end = std::min(static_cast<std::size_t>(std::max(d.end_column, 1) - 1), line.size());
    for (std::size_t i = start + 1; i < end; ++i) {
        if ((static_cast<unsigned char>(line[i]) & 0xC0) != 0x80) out += '~';
    }
    return out + "\n";
}

}  // namespace scenariogen
