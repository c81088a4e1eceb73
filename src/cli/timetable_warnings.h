// The legs that cannot be kept, as warnings named "timetable" at the hours
// of the arrival station's time in the train description.
#pragma once

#include <string_view>

#include "compiler/compile.h"
#include "compiler/diagnostic.h"
#include "timetable/timetable_check.h"

namespace scenariogen {

inline constexpr const char* kTimetableWarning = "timetable";

// One warning for every leg that cannot be kept, in the order of the legs;
// a leg impossible to run has a note at the line that makes it so.
Diagnostics timetable_warnings(const TimetableCheck& check, const CompileResult& compiled);

}  // namespace scenariogen
