// The legs that cannot be kept, as diagnostics at the arrival station's line
// of the train description: "FILE:LINE:COLUMN: warning: ... [timetable]".
#pragma once

#include <string>
#include <vector>

#include "compiler/compile.h"
#include "compiler/diagnostic.h"
#include "compiler/fault_report.h"
#include "timetable/timetable_check.h"

namespace scenariogen {

inline constexpr const char* kTimetableWarning = "timetable";

// One warning for every leg that cannot be kept, in the order of the legs,
// placed at the hours of the arrival station's time.
Diagnostics timetable_warnings(const TimetableCheck& check, const CompileResult& compiled, std::string_view train_text);

// A warning in the compilers' form, with the source line and a caret under
// the field; as an error when warnings count as errors (-Werror).
std::string format_warning(const Diagnostic& warning, const SourceTexts& sources, bool as_error);

}  // namespace scenariogen
