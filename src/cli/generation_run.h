// The generation run: the scenario's fixed line and train written as
// description files, the three documents, then the compilation into the
// three binary files.
#pragma once

#include <iosfwd>
#include <string>

namespace scenariogen {

inline constexpr const char* kNomeScenario = "Zervano-OdelmaVmod";
inline constexpr const char* kNumeroTreno = "27340";

// Exit statuses shared by every command of the program.
enum ExitStatus : int {
    kSuccess = 0,
    kFaultRecorded = 1,  // a fault in the scenario data
    kUsage = 2,          // bad arguments, or an input file that cannot be read
    kOutputFailed = 3,   // an output file could not be written
};

// Runs the whole generation into `folder`, reporting on `status`.
int Form_Load(const std::string& folder, std::ostream& status);

}  // namespace scenariogen
