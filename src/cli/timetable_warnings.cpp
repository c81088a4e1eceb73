#include "cli/timetable_warnings.h"

#include <optional>
#include <string>

#include "cli/blockage_source.h"
#include "compiler/diagnostic_format.h"
#include "compiler/field_reader.h"
#include "views/timetable/timetable_report.h"

namespace scenariogen {

namespace {

// The line of the "stazione" keyword that filled station table entry `entry`:
// stations take the entries 1, 2, 3 ... in the order of their lines.
std::optional<int> station_line(const CompileResult& compiled, std::size_t entry) {
    std::size_t seen = 0;
    for (const Placement& p : compiled.placements) {
        if (p.file != SourceFile::kTrain || p.keyword != "stazione") continue;
        if (++seen == entry) return p.line;
    }
    return std::nullopt;
}

// The place of the hours of a station line's time, its fourteenth value;
// the whole line when it does not read as a station line.
SourceRange hours_field(std::string_view train_text, int line) {
    constexpr int kValuesBeforeHours = 13;
    const std::string text(text_line(train_text, line));
    try {
        FieldReader reader(text + "\r\n");
        reader.read_text();  // the keyword
        for (int i = 0; i < kValuesBeforeHours; ++i) reader.read_number();
        reader.read_number();
        const FieldSpan hours = reader.last_field();
        return {SourceFile::kTrain, line, hours.column, hours.end_column};
    } catch (const ReadingFailure&) {
        return {SourceFile::kTrain, line, 1, static_cast<int>(text.size()) + 1};
    }
}

}  // namespace

Diagnostics timetable_warnings(const TimetableCheck& check, const CompileResult& compiled,
                               std::string_view train_text) {
    Diagnostics warnings;
    for (const LegCheck& leg : check.legs) {
        const std::optional<std::string> problem = leg_problem(check, leg);
        if (!problem) continue;
        Diagnostic d;
        d.severity = Severity::kWarning;
        d.name = kTimetableWarning;
        d.message = *problem;
        if (const std::optional<int> line = station_line(compiled, check.stations[leg.to].entry)) {
            d.where = hours_field(train_text, *line);
        }
        warnings.push_back(std::move(d));
        if (leg.blockage) {
            if (auto note = blockage_note(*leg.blockage, compiled)) warnings.push_back(std::move(*note));
        }
    }
    return warnings;
}

}  // namespace scenariogen
