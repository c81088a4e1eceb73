// What the page draws, read from a compiled scenario's records: the
// computed part of the plan, the stations with their times, the signals,
// the kilometric progressives and the header values.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "format/plan_sample.h"
#include "format/records.h"
#include "format/scenario_reading.h"
#include "timetable/timetable_check.h"
#include "views/plot/scenario_plot.h"

namespace scenariogen::plotting {

constexpr std::int32_t kCellLength = 50;  // metres per cell

// Where cell i starts: (i − 1)·50 metres. The objects of a cell are drawn there.
std::int32_t position_to_cell_start(std::size_t cell);

// The computed part of the grid, sampled as a page needs it (metres 0 to
// `last`, their extent, and every sampled metre's coordinates).
struct Plan : PlanSample {
    // The unit heading of the track at metre m.
    PlanPoint heading(std::int32_t m) const;
};

struct Station {
    PlottedStation plotted;
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::string details;  // for the tooltip
};

std::vector<Station> read_stations(const StationTable& table);

// A kilometric progressive as drawn: from `from_m` to `to_m`, kilometre
// value = reference ± position.
struct Progressive {
    std::int32_t from_m = 0;
    std::int32_t to_m = 0;  // where the next one takes over
    std::int32_t reference_m = 0;
    bool falling = false;

    double value_m(double position) const { return falling ? reference_m - position : reference_m + position; }
    // Route positions in [from_m, to_m] where the value is a multiple of `step`.
    std::vector<double> positions_of_multiples(double step) const;
};

// The progressives in use on the profile, 0 to `end_m`, in route order.
std::vector<Progressive> read_progressives(const TableHeader& header, std::int32_t end_m);

// Everything the page is drawn from.
struct PageContent {
    const std::vector<Cell>& cells;
    const StationTable& table;
    Plan plan;
    std::vector<Station> stations;
    std::vector<PlottedMark> signals;
    std::vector<Progressive> progressives;
    std::int32_t route_length_m = 0;
    std::int32_t end_m = 0;  // the end of the last cell
    std::string scenario_name;
    std::string train_number;
    std::optional<TimetableCheck> run;  // the model's fastest run, when drawn
};

// The metres of the plan that a page draws exactly, whatever its sampling:
// the stations'.
std::vector<std::int32_t> metres_drawn_exactly(const StationTable& table);

PageContent read_content(const std::vector<Cell>& cells, const StationTable& table, PlanSample plan);

}  // namespace scenariogen::plotting
