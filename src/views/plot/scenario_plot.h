// Pictures of a compiled scenario: the plan of the track and the profile
// along the route, drawn from its records or from its three binary files as
// one self-contained SVG page (A4 landscape); on request the train's fastest
// run over the profile, and the time-distance graph on a second page below.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "format/plan_sample.h"
#include "format/records.h"
#include "format/scenario_reading.h"
#include "platform/file_system.h"
#include "timetable/timetable_check.h"
#include "timetable/train_model.h"

namespace scenariogen {

// A point of the page in millimetres from its top left corner.
struct PagePoint {
    double x = 0;
    double y = 0;
};

// How the plan's metres map onto the page: north is up.
struct PlanMapping {
    double scale = 1;  // millimetres of page per metre of plan
    PlanPoint centre;  // the plan point drawn at `page_centre`
    PagePoint page_centre;

    PagePoint page(PlanPoint p) const {
        return {page_centre.x + (p.x - centre.x) * scale, page_centre.y - (p.y - centre.y) * scale};
    }
};

struct PlottedStation {
    std::size_t entry = 0;  // station table entry
    std::string name;       // UTF-8
    std::int32_t position_m = 0;
    std::string times;           // as written under the name
    bool named_in_plan = false;  // false where the label was left out to avoid overlaps
    bool named_in_profile = false;
};

// A label as placed on the page: its text and the room it takes.
struct PlacedLabel {
    std::string text;
    struct {
        double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
    } box;
};

// An object of a cell, drawn on the profile (and, for signals, on the plan).
struct PlottedMark {
    std::uint8_t kind = 0;  // cell type code
    std::size_t cell = 0;
    std::int32_t position_m = 0;  // (cell - 1) * 50
};

struct ScenarioPlot {
    std::string svg;
    std::size_t pages = 1;  // A4 pages of the SVG, one below the other

    // The plan: the centre line as drawn (metres kept after thinning, in
    // order, from the first to the last computed metre), and its mapping.
    std::vector<std::int32_t> track_metres;
    std::vector<PlanPoint> track;
    std::int32_t last_computed_metre = -1;  // -1: the grid holds no computed metre
    PlanMapping plan_mapping;

    // The profile: distance 0 to `profile_end_m` along the x axis, the
    // route's end unless an object lies beyond it.
    std::int32_t route_length_m = 0;
    std::int32_t profile_end_m = 0;
    std::vector<PlottedStation> stations;
    std::vector<PlottedMark> marks;
    std::size_t curves = 0;  // in the curve band

    // The labels placed beside the lanes of the profile and on the plan,
    // none over another of its drawing.
    std::vector<PlacedLabel> profile_labels;
    std::vector<PlacedLabel> plan_labels;

    // The running-time model's fastest run, when asked for: the driving
    // curve as drawn over the profile (one line for each part of the run
    // without a gap) on a speed scale from 0 to `speed_top_kmh`, and the
    // time-distance graph on the page below: the run as drawn and the number
    // of scheduled times marked.
    std::vector<std::vector<PagePoint>> driving_curve;
    double speed_top_kmh = 0;
    std::vector<std::vector<PagePoint>> graph_run;
    std::size_t graph_scheduled_marks = 0;
    bool run_left_out = false;  // asked for, but the train cannot brake: no braked-mass percentage
    // The timetable check the run comes from, when it was drawn.
    std::optional<TimetableCheck> timetable;
};

// What the page shows of the running-time model (see `scenariogen check`):
// the train's fastest run over the profile, and a second page with the
// time-distance graph. The model takes the choices, and the rest from its
// defaults and from the braked-mass percentage of the station table; a
// train that cannot brake gets no run.
struct RunDrawing {
    bool driving_curve = false;
    bool time_distance_graph = false;
    TrainModelChoice model;
};

// A stretch of the profile, metres along the route.
struct ProfileWindow {
    double from_m = 0;
    double to_m = 0;
};

// Draws the page from the records as a compilation holds them: the cells,
// the station table and the plan grid (its computed metres). Draws whatever
// the records hold; the page is meant for a compilation that gave cells.
ScenarioPlot plot_scenario(const std::vector<Cell>& cells, const StationTable& station_table, const Grid& grid,
                           const RunDrawing& run = {});

// The profile alone, as the page draws it but with the stretch `window`
// across the page's width: an SVG of the page's size that holds the group
// "profile". The labels, ticks and thinning are those of the stretch. The
// fastest run is the one the page drew (ScenarioPlot::timetable), if any.
std::string plot_profile_window(const std::vector<Cell>& cells, const StationTable& station_table, const Grid& grid,
                                const std::optional<TimetableCheck>& run, const ProfileWindow& window);

// The same with the plan's sample already taken (sample_plan_for_page).
ScenarioPlot plot_scenario(const std::vector<Cell>& cells, const StationTable& station_table, PlanSample plan,
                           const RunDrawing& run = {});
std::string plot_profile_window(const std::vector<Cell>& cells, const StationTable& station_table,
                                const PlanSample& plan, const std::optional<TimetableCheck>& run,
                                const ProfileWindow& window);

// The sample of the plan that the page draws from: kept, it serves every
// stretch of the same records without sampling the grid again.
PlanSample sample_plan_for_page(const Grid& grid, const StationTable& station_table);

// Draws the page from the bytes of the cell file, the station table file
// and the grid file. Throws ScenarioDecodeError when a file is not part of a
// compiled scenario.
ScenarioPlot plot_scenario(std::string_view cells, std::string_view station_table, std::string_view grid,
                           const RunDrawing& run = {});

// The same with the grid file's `grid_size` bytes read in pieces from
// `grid`: a grid of a million metres is 20 MB, of which the page needs a
// sample. Throws FileError when the grid cannot be read.
ScenarioPlot plot_scenario(std::string_view cells, std::string_view station_table, ByteInput& grid,
                           std::uint64_t grid_size, const RunDrawing& run = {});

}  // namespace scenariogen
