#include "text/text_lines.h"

#include <stdexcept>

#include "platform/file_system.h"

namespace scenariogen {

std::string render_lines(const LineList& lines) {
    std::string bytes;
    for (std::size_t i = 0; i < lines.size() && i < kLineListCapacity; ++i) {
        if (lines[i] == kSentinel) return bytes;
        bytes += to_windows_1252(lines[i]);
        bytes += "\r\n";
    }
    throw std::logic_error("line list without its closing sentinel");
}

void write_lines(const std::string& path, const LineList& lines) { replace_file(path, render_lines(lines)); }

}  // namespace scenariogen
