// The arguments that say which scenario a command works on (LINE, TRAIN,
// --name, --train, -C DIR), shared by compile, check and preview, and their
// lookup through the one way every front end finds a scenario's names.
#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <vector>

#include "pipeline/scenario_names.h"

namespace CLI {
class App;
class Option;
}  // namespace CLI

namespace scenariogen {

class ScenarioArguments {
public:
    // Adds LINE and TRAIN (both; one, whose partner its project file or its
    // name finds; or neither in a folder with a project file), --name,
    // --train and -C DIR to `command`.
    void add_to(CLI::App& command);

    // The descriptions and names, or none when the command cannot go on:
    // then the faults of the project file, or why, are said on `err`.
    std::optional<ScenarioLookup> look_up(std::ostream& err) const;

    // The folder to write into: `given` (-o, from -C DIR), else the project
    // file's output folder, else -C DIR, else the current folder.
    std::string output_folder(const std::string& given, const ScenarioLookup& lookup) const;

    // A path the user gave, as seen from -C DIR.
    std::string from_folder(const std::string& path) const { return path_from(folder_, path); }
    const std::string& folder() const { return folder_; }

private:
    std::string folder_;
    std::string line_;
    std::string train_;
    std::string name_;
    std::string number_;
    CLI::Option* name_option_ = nullptr;
    CLI::Option* number_option_ = nullptr;
};

// Adds -C DIR to `command`.
void add_folder_option(CLI::App& command, std::string& folder);

// Says the faults of a project file at their places.
void report_project_faults(const ProjectFile& project, std::ostream& err);

// Before `files` are written under names of the fixed scenario taken for
// want of others: a warning that names the files and how to choose others.
void warn_of_default_names(const ScenarioNames& names, const std::vector<std::string>& files, std::ostream& err);

}  // namespace scenariogen
