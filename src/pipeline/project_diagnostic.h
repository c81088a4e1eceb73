// A fault of a scenario's project file, at its place, and its text for the
// terminal in the form of the descriptions' diagnostics:
//
//   FILE:LINE:COLUMN: error: sentence
//     the line of the file
//     ^~~~
#pragma once

#include <string>
#include <string_view>

namespace scenariogen {

struct ProjectDiagnostic {
    std::string file;     // the project file's path, as the user sees it
    int line = 0;         // 1-based; 0: the file as a whole
    int column = 1;       // 1-based, in bytes
    int end_column = 1;   // one past the last byte
    std::string message;  // one sentence, without the file
};

// The diagnostic, with the line of `text` it stands on and a caret under it.
std::string format_project_diagnostic(const ProjectDiagnostic& diagnostic, std::string_view text);

}  // namespace scenariogen
