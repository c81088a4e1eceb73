// The compilation: both descriptions read into the records, the cells
// completed by the placement rules, the header values and identity codes
// stored.
#include "compiler/compile.h"

#include "compiler/compilation_state.h"
#include "compiler/description_reading.h"
#include "compiler/identity_codes.h"
#include "compiler/post_processing.h"
#include "format/binary_format.h"

namespace scenariogen {

namespace {

Diagnostic run_ending_fault(std::int32_t number) {
    Diagnostic fault;
    fault.number = number;
    return fault;
}

// The header values and the identity codes go into slots that must still be
// empty; a taken slot ends the run (errors 1250 and 1251).
bool store_header_values(CompilationState& s) {
    StationEntry& scenario = s.stations[kScenarioEntry];
    Cell& header = s.cells[1];
    if (scenario.attribute_7 != 0 || header.value_1 != 0) {
        s.record(run_ending_fault(1250));
        return false;
    }
    scenario.attribute_7 = format::kStationTableHeader;
    header.value_1 = format::kCellFileHeader;
    if (scenario.time != 0 || header.value_2 != 0) {
        s.record(run_ending_fault(1251));
        return false;
    }
    scenario.time = long_identity_code(s.stations);
    header.value_2 = short_identity_code(s.stations);
    return true;
}

CompileResult result_of(CompilationState&& s, CompileOutcome outcome, const ReadingExtent& extent) {
    CompileResult r;
    r.outcome = outcome;
    r.cells = std::move(s.cells);
    r.stations = std::move(s.stations);
    r.grid = std::move(s.grid);
    r.plan_stretches = std::move(s.plan_stretches);
    r.faults = std::move(s.faults);
    r.last_error = s.last_error;
    r.error_position = s.error_position;
    r.train_read = extent.train_read;
    r.reading_failed = extent.reading_failed;
    r.placements = std::move(s.placements);
    r.station_sources = std::move(s.station_sources);
    return r;
}

}  // namespace

std::optional<SourceRange> placing_line(const CompileResult& result, std::int32_t cell) {
    for (auto it = result.placements.rbegin(); it != result.placements.rend(); ++it) {
        const bool marks_cells = it->keyword == syntax::Keyword::kSignal || it->keyword == syntax::Keyword::kSlowdown;
        if (marks_cells && it->first_cell <= cell && cell <= it->last_cell)
            return syntax::range_in(it->file, it->keyword_at);
    }
    return std::nullopt;
}

namespace {

// Errors 1250 and 1251: the first object whose cells take cell 1, where the
// header values go.
std::optional<SourceRange> object_in_first_cell(const std::vector<Placement>& placements) {
    using syntax::Keyword;
    for (const Placement& p : placements) {
        const bool stretch = p.keyword == Keyword::kGradient || p.keyword == Keyword::kSpeed ||
                             p.keyword == Keyword::kAdhesion || p.keyword == Keyword::kCurve ||
                             p.keyword == Keyword::kMountain;
        if (!stretch && p.first_cell <= 1 && 1 <= p.last_cell) return syntax::range_in(p.file, p.keyword_at);
    }
    return std::nullopt;
}

// Faults that the placement rules and the header slots find have a cell but
// no place in the texts: they stand at the line of the object in that cell.
void locate_faults(CompileResult& result) {
    for (Diagnostic& fault : result.faults) {
        if (fault.where) continue;
        if (fault.cell) fault.where = placing_line(result, *fault.cell);
        if (fault.number == 1250 || fault.number == 1251) fault.where = object_in_first_cell(result.placements);
    }
}

}  // namespace

CompileResult compile(const CompileInput& input) {
    CompilationState s;
    s.scenario_name = input.scenario_name;
    s.train_number = input.train_number;
    s.build_grid = input.build_grid;
    s.grid_coordinates = input.grid_coordinates;
    const ReadingExtent extent = read_descriptions(s, DescriptionTexts{input.line_text, input.train_text});
    if (!s.has_cells()) return result_of(std::move(s), CompileOutcome::kNoCells, extent);
    apply_placement_rules(s);
    const bool stored = store_header_values(s);
    CompileResult result =
        result_of(std::move(s), stored ? CompileOutcome::kCompiled : CompileOutcome::kHeaderSlotsTaken, extent);
    locate_faults(result);
    return result;
}

}  // namespace scenariogen
