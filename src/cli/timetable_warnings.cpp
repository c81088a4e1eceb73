#include "cli/timetable_warnings.h"

#include <optional>
#include <string>

#include "cli/blockage_source.h"
#include "views/timetable/timetable_report.h"

namespace scenariogen {

namespace {

constexpr std::size_t kHoursValue = 13;  // the hours of a station line's time, its fourteenth value

// The hours of the time on the station line that filled station table entry
// `entry` (1, 2, 3 ...).
std::optional<SourceRange> hours_field(const CompileResult& compiled, std::size_t entry) {
    if (entry < 1 || entry > compiled.station_sources.size()) return std::nullopt;
    const std::vector<SourceRange>& values = compiled.station_sources[entry - 1].values;
    if (values.size() <= kHoursValue) return std::nullopt;
    return values[kHoursValue];
}

}  // namespace

Diagnostics timetable_warnings(const TimetableCheck& check, const CompileResult& compiled) {
    Diagnostics warnings;
    for (const LegCheck& leg : check.legs) {
        const std::optional<std::string> problem = leg_problem(check, leg);
        if (!problem) continue;
        Diagnostic d;
        d.severity = Severity::kWarning;
        d.name = kTimetableWarning;
        d.message = *problem;
        d.where = hours_field(compiled, check.stations[leg.to].entry);
        warnings.push_back(std::move(d));
        if (leg.blockage) {
            if (auto note = blockage_note(*leg.blockage, compiled)) warnings.push_back(std::move(*note));
        }
    }
    return warnings;
}

}  // namespace scenariogen
