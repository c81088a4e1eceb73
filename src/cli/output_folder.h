// The output folder of a command that writes there: one run at a time.
#pragma once

#include <iosfwd>
#include <string>

#include "platform/folder_lock.h"

namespace scenariogen {

// Takes the lock of `folder` for as long as the command writes, reads back
// and deletes there. When another run holds it, waits and says so on `err`;
// with `no_wait`, throws FolderBusy instead. Throws FileError when the folder
// cannot be opened.
FolderLock lock_output_folder(const std::string& folder, bool no_wait, std::ostream& err);

// The message for a folder that another run holds.
void report_busy_folder(const FolderBusy& busy, std::ostream& err);

}  // namespace scenariogen
