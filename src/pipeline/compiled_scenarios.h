// The compiled scenarios a folder holds: the names NAME and NUMBER of every
// NAME_NUMBER.dat that has its NAME_NUMBER.sim and NAME_linea.dat beside
// it, for the front ends that read a compiled scenario from a folder.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "pipeline/scenario_names.h"

namespace scenariogen {

struct CompiledScenario {
    std::string name;
    std::string number;
};

// Sorted by name, then number; empty for a folder that cannot be listed.
std::vector<CompiledScenario> compiled_scenarios_in(const std::string& folder);

struct CompiledLookup {
    std::string folder;  // where the scenario's files are
    ScenarioNames names;
    std::optional<ProjectFile> project;  // the folder's project file, when it has one
    std::string failure;                 // why no one scenario was found; empty: one was

    bool usable() const { return failure.empty() && (!project || project->faults.empty()); }
};

// The compiled scenario in `folder` (empty: the current one): the names
// given, else those its project file gives (its output folder holding the
// files), else those of the one compiled scenario there; the fixed
// scenario's when there is none. Several there, and no names to choose
// one, is a failure that lists them.
CompiledLookup look_up_compiled_scenario(const std::string& folder, const std::optional<std::string>& name,
                                         const std::optional<std::string>& number);

}  // namespace scenariogen
