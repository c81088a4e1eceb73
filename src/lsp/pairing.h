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
#include <vector>

#include "pipeline/description_file_names.h"
#include "pipeline/project_file.h"
#include "syntax/source_range.h"

namespace scenariogen::lsp {

inline constexpr std::string_view kProjectFile = kProjectFileName;

struct Pairing {
    SourceFile role = SourceFile::kLine;
    std::string line_path;   // empty: no line description
    std::string train_path;  // empty: none
    std::string name;        // the scenario name, for the records
    std::string number;      // the train number
    std::string output;      // the project file's output folder, when it names one
    std::string project;     // the project file that paired them, when one did
};

using scenariogen::FileKnown;

// Pairs the file at `path` (absolute); `text` decides its role when
// neither a project file nor its name does.
Pairing pair_file(const std::string& path, std::string_view text, const FileKnown& known);

// The files on disk whose change, creation or removal may change what the
// file at `path`, paired as `pairing`, compiles with: the project file in its
// folder, its partners, and for a train description named NAME_NUMBER-.txt
// without a line description, the NAME_linea.txt it would pair with.
std::vector<std::string> pairing_inputs(const std::string& path, const Pairing& pairing);

// A role decided by the text alone, for a buffer that has no path.
SourceFile role_by_content(std::string_view text);

}  // namespace scenariogen::lsp
