// The faults of a scenario's project file as the protocol's diagnostics, at
// their places in the project file, for the editor to show on that file.
#pragma once

#include <nlohmann/json.hpp>

#include "pipeline/project_file.h"

namespace scenariogen::lsp {

nlohmann::json project_diagnostics(const ProjectFile& project);

}  // namespace scenariogen::lsp
