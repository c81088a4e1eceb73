// The program's temporary files: each output is written to a temporary file
// beside it, named so that it is recognisably the program's and never a
// user's file: ".scenariogen-PID-RANDOM.tmp", with the creating process's
// number and 16 hexadecimal digits.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "platform/interruption.h"
#include "platform/system_files.h"

namespace scenariogen {

// Creates a new temporary file in the folder of `target`, marked for removal
// on an interruption, both in one step. Throws FileError naming `target`.
system_files::OpenFile create_temporary_beside(const std::string& target, std::string& temporary,
                                               std::optional<RemovedOnInterruption>& removed_on_interruption);

// The number of the process that made a temporary file of this name; none
// for any other name.
std::optional<std::uint64_t> temporary_file_owner(std::string_view name);

// Removes the temporary files in `folder` whose process has ended (killed
// before it could remove them). Failures are ignored: what stays is removed
// another time.
void remove_abandoned_temporary_files(const std::string& folder);

}  // namespace scenariogen
