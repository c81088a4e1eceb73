// Text emission: every text file of a run (the two description files and the
// three driver documents) is assembled as a list of lines closed by a sentinel,
// encoded to Windows-1252 with CR LF after every line, and replaces its file.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "text/windows_1252.h"

namespace scenariogen {

// Closes a line list; never written to a file.
inline constexpr std::string_view kSentinel = "riferimento fine del file";

// Room of a line list: indices 0 to 1000.
inline constexpr std::size_t kLineListCapacity = 1001;

// A line list as the writers fill it: entries are UTF-8 text, the entry after
// the last output line is the sentinel.
using LineList = std::vector<std::string>;

// The bytes of a text file: every entry before the sentinel, encoded, each
// followed by CR LF. Throws std::logic_error when the list has no sentinel
// within its capacity.
std::string render_lines(const LineList& lines);

// Replaces the file `path` with the rendered lines, atomically: either the
// new content is complete on disk or the old file is left as it was.
// Throws FileError on a file-system failure.
void write_lines(const std::string& path, const LineList& lines);

}  // namespace scenariogen
