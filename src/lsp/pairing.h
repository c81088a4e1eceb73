// Which description a file is, and the partner it compiles with. A line
// description and a train description pair
//
// - by a project file `scenario.json` in their folder, which names them
//   ({"line": FILE, "train": FILE, "name": NAME, "number": NUMBER,
//   "output": DIR}, file names relative to the folder), or else
// - by the names the program gives them: NAME_linea.txt with
//   NAME_NUMBER-.txt in the same folder.
//
// A line description without a partner compiles alone, with an empty train
// description; a train description without a line description does not
// compile.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "syntax/source_range.h"

namespace scenariogen::lsp {

inline constexpr std::string_view kProjectFile = "scenario.json";

struct Pairing {
    SourceFile role = SourceFile::kLine;
    std::string line_path;   // empty: no line description
    std::string train_path;  // empty: none
    std::string name;        // the scenario name, for the records
    std::string number;      // the train number
    std::string output;      // the project file's output folder, when it names one
    std::string project;     // the project file that paired them, when one did
};

// Whether a file exists, on disk or as an open buffer.
using FileKnown = std::function<bool(const std::string& path)>;

// Pairs the file at `path` (absolute); `text` decides its role when
// neither a project file nor its name does.
Pairing pair_file(const std::string& path, std::string_view text, const FileKnown& known);

// A role decided by the text alone, for a buffer that has no path.
SourceFile role_by_content(std::string_view text);

}  // namespace scenariogen::lsp
