#include "cli/output_folder.h"

#include <ostream>

namespace scenariogen {

FolderLock lock_output_folder(const std::string& folder, bool no_wait, std::ostream& err) {
    return FolderLock(folder, no_wait ? FolderLock::Wait::kNo : FolderLock::Wait::kUntilFree, [&] {
        err << "scenariogen: waiting for the folder " << folder << ": another scenariogen run is writing into it"
            << std::endl;
    });
}

void report_busy_folder(const FolderBusy& busy, std::ostream& err) {
    err << "scenariogen: cannot write into " << busy.path() << ": " << busy.reason()
        << " (without --no-wait, the run waits for it)\n";
}

}  // namespace scenariogen
