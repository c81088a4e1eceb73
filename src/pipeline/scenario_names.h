// How every front end finds a scenario's descriptions and names: the scenario
// name that begins every file name, and the train number. In this order:
//
// 1. the command line (LINE, TRAIN, --name, --train);
// 2. a project file `scenario.json` beside LINE that names LINE or TRAIN,
//    or, when no description is named, the one in the project's folder;
// 3. the names the program gives description files: NAME_linea.txt and
//    NAME_NUMBER-.txt;
// 4. the fixed scenario's names, which the front ends that write files
//    warn about.
//
// Each of the two names is looked up on its own. Nothing here writes.
#pragma once

#include <optional>
#include <string>

#include "pipeline/description_file_names.h"
#include "pipeline/project_file.h"

namespace scenariogen {

enum class NameOrigin { kCommandLine, kProjectFile, kFileNames, kDefault };

struct ScenarioNames {
    std::string name;
    std::string number;
    NameOrigin name_origin = NameOrigin::kDefault;
    NameOrigin number_origin = NameOrigin::kDefault;

    // One of them is the fixed scenario's, taken for want of another.
    bool defaulted() const { return name_origin == NameOrigin::kDefault || number_origin == NameOrigin::kDefault; }
};

// The names read from the descriptions' own file names: NAME of
// NAME_linea.txt, else of NAME_NUMBER-.txt, and NUMBER of NAME_NUMBER-.txt.
struct FileNameNames {
    std::optional<std::string> name;
    std::optional<std::string> number;
};
FileNameNames names_in_file_names(const std::string& line_path, const std::string& train_path);

// The names of the descriptions at `line_path` and `train_path` (either may
// be empty), by the order above: `name` and `number` from the command line,
// then `project` (null: none applies), then the file names, then the
// fixed scenario's.
ScenarioNames scenario_names(const std::string& line_path, const std::string& train_path, const ProjectFile* project,
                             const std::optional<std::string>& name, const std::optional<std::string>& number);

// What a command was given.
struct ScenarioRequest {
    std::string folder;  // -C DIR: relative paths start there; empty: the current folder
    std::string line;    // LINE as given; empty: none
    std::string train;   // TRAIN as given; empty: none
    std::optional<std::string> name;
    std::optional<std::string> number;
};

struct ScenarioLookup {
    std::string line_path;
    std::string train_path;
    ScenarioNames names;
    std::string output_folder;           // the project file's output folder; empty: it names none
    std::optional<ProjectFile> project;  // the project file read, whether it applies or not
    bool project_applies = false;        // it named the descriptions or gave names
    std::string failure;                 // why there is nothing to work on; empty: there is

    // True when the command can go on: no failure, no fault in the project file.
    bool usable() const { return failure.empty() && (!project || project->faults.empty()); }
};

// The descriptions and names a command works on. With LINE and TRAIN, they;
// with one of them, the pair the project file beside it names, else its
// partner by the descriptions' file names (one, not several); with neither,
// those the project file in the folder names.
ScenarioLookup look_up_scenario(const ScenarioRequest& request);

}  // namespace scenariogen
