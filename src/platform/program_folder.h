// The folder that holds the running program: the run's default output folder.
#pragma once

#include <string>

namespace scenariogen {

// Resolved from the running process, not from the current directory.
// Throws FileError when the system cannot tell.
std::string program_folder();

// Checks that `folder` exists and is a folder. Throws FileError otherwise.
void require_folder(const std::string& folder);

}  // namespace scenariogen
