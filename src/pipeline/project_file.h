// A scenario's project file: `scenario.json`, in the folder of its
// descriptions, names them and the scenario, so that every front end (the
// commands, the preview, the editor) finds the same names:
//
//   {
//     "line": "valbruna_linea.txt",
//     "train": "valbruna_treno.txt",
//     "name": "Valbruna-Rocca",
//     "number": "4711",
//     "output": "."
//   }
//
// Every member may be left out. The files and the output folder are
// relative to the project file's folder, or absolute; "\" separates folders
// as "/" does, so that a project written on Windows reads everywhere.
// Reading never writes anything.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "pipeline/project_diagnostic.h"

namespace scenariogen {

inline constexpr std::string_view kProjectFileName = "scenario.json";

struct ProjectFile {
    std::string path;    // the file's path, as the user sees it
    std::string folder;  // its folder; empty: the current folder
    std::string text;    // as read, for showing its lines
    // The members as written; empty: not given.
    std::string line;
    std::string train;
    std::string name;
    std::string number;
    std::string output;
    // What is wrong with it: not JSON, an unknown member, a value of the
    // wrong kind, a file it names that does not exist.
    std::vector<ProjectDiagnostic> faults;

    // The members that name files, resolved from the project file's
    // folder; empty when not given.
    std::string line_path() const;
    std::string train_path() const;
    std::string output_folder() const;

    // Whether it names the file at `description` as the line (the train)
    // description: by the same path, or another path to the same file.
    bool names_line(const std::string& description) const;
    bool names_train(const std::string& description) const;
};

// The project file in `folder` (empty: the current folder), checked; none
// when the folder holds none.
std::optional<ProjectFile> read_project_file(const std::string& folder);

// A path as a project file writes it, resolved from `folder`: an absolute
// path as it stands, a relative one inside the folder; "\" and "/" both
// separate folders. Empty for an empty path.
std::string resolve_project_path(const std::string& folder, std::string_view written);

// `name` inside `folder`, or `name` alone when the folder is the current
// one (empty).
std::string path_in(const std::string& folder, std::string_view name);

// `path` as seen from `folder`: an absolute path as it stands, a relative
// one inside the folder.
std::string path_from(const std::string& folder, std::string_view path);

}  // namespace scenariogen
