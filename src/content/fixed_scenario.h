// The identity of the scenario that the program holds as fixed content.
#pragma once

namespace scenariogen {

inline constexpr const char* kScenarioName = "Zervano-OdelmaVmod";
inline constexpr const char* kTrainNumber = "27340";

}  // namespace scenariogen
