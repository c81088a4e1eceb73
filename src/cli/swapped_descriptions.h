// LINE and TRAIN given the wrong way round: each file then holds mostly the
// other file's keywords, and the check would report every one of them.
#pragma once

#include <optional>
#include <string>

#include "compiler/diagnostic.h"

namespace scenariogen {

// The message for two descriptions that look swapped, judged by the
// diagnostics of their check; none when they do not.
std::optional<std::string> swapped_descriptions(const Diagnostics& diagnostics, const std::string& line_path,
                                                const std::string& train_path, const std::string& command);

}  // namespace scenariogen
