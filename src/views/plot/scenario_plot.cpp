// The page: the title line, the plan and the legend side by side at the
// top, the profile across the bottom; on request the time-distance graph on
// a second page below.
#include "views/plot/scenario_plot.h"

#include <optional>
#include <utility>

#include "views/plot/legend.h"
#include "views/plot/page_layout.h"
#include "views/plot/plan_drawing.h"
#include "views/plot/plot_content.h"
#include "views/plot/profile_drawing.h"
#include "views/plot/svg_writer.h"
#include "views/plot/text_formats.h"
#include "views/plot/time_distance_graph.h"

namespace scenariogen {

namespace {

using namespace plotting;

void page_head(Svg& svg, const PageContent& content, double height) {
    svg.out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg.out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + num(kPageWidth) +
               "mm\" height=\"" + num(height) + "mm\" viewBox=\"0 0 " + num(kPageWidth) + " " + num(height) +
               "\" font-family=\"" + kFont + "\">\n";
    svg.out += "<title>" + xml("Plan and profile of " + content.scenario_name + ", train " + content.train_number) +
               "</title>\n";
    svg.rect({0, 0, kPageWidth, height}, fill("#fff"));
}

// The model's fastest run, when the page shows it and the train can brake.
std::optional<TimetableCheck> model_run(const std::vector<Cell>& cells, const StationTable& table,
                                        const RunDrawing& run) {
    if (!run.driving_curve && !run.time_distance_graph) return std::nullopt;
    const TrainModel model = train_model(run.model, table[kTrainEntry].start);
    if (!(model.braking > 0)) return std::nullopt;
    return check_timetable(cells, table, model);
}

void title_line(Svg& svg, const PageContent& content) {
    const std::string cells =
        content.cells.empty() ? std::string("no cells") : "cells 0 to " + std::to_string(content.cells.size() - 1);
    svg.text({kMargin, 9}, 4.4, content.scenario_name + "  \u2013  train " + content.train_number,
             "font-weight=\"bold\"");
    svg.text({kPageWidth - kMargin, 9}, 2.4,
             "route " + km_text(content.route_length_m) + "  \u00b7  " + cells + "  \u00b7  plan computed to metre " +
                 std::to_string(content.plan.last),
             "fill=\"#333\"", "end");
}

// The page from the records and the plan's sample.
ScenarioPlot plot_page(const std::vector<Cell>& cells, const StationTable& station_table, PlanSample plan,
                       const RunDrawing& run) {
    PageContent content = read_content(cells, station_table, std::move(plan));
    content.run = model_run(cells, station_table, run);
    const bool graph = run.time_distance_graph && content.run;
    ScenarioPlot result;
    result.run_left_out = (run.driving_curve || run.time_distance_graph) && !content.run;
    result.pages = graph ? 2 : 1;
    result.last_computed_metre = content.plan.last;
    result.route_length_m = content.route_length_m;

    Svg svg;
    page_head(svg, content, graph ? 2 * kPageHeight : kPageHeight);
    title_line(svg, content);
    // The plan takes the width its shape needs; the legend the rest.
    const Box plan_frame{kMargin, kTopY, kMargin + plan_frame_width(content.plan), kTopY + kTopHeight};
    const Box legend_frame{plan_frame.x1 + 4, kTopY, kPageWidth - kMargin, kTopY + kTopHeight};

    svg.open_group("id=\"plan\"");
    draw_plan(svg, content, plan_frame, result);
    svg.close_group();

    svg.open_group("id=\"profile\"");
    result.profile_end_m = draw_profile(svg, content, result);
    svg.close_group();

    svg.open_group("id=\"legend\"");
    draw_legend(svg, legend_frame, legend_summary(content, result.marks), content.run.has_value());
    svg.close_group();

    if (graph) {
        svg.open_group("id=\"graph\"");
        DrawnGraph drawn = draw_time_distance_graph(svg, content, *content.run, kPageHeight);
        svg.close_group();
        result.graph_run = std::move(drawn.run);
        result.graph_scheduled_marks = drawn.scheduled_marks;
    }

    svg.out += "</svg>\n";
    result.svg = std::move(svg.out);
    for (Station& s : content.stations) result.stations.push_back(std::move(s.plotted));
    result.timetable = std::move(content.run);
    return result;
}

}  // namespace

std::string plot_profile_window(const std::vector<Cell>& cells, const StationTable& station_table,
                                const PlanSample& plan, const std::optional<TimetableCheck>& run,
                                const ProfileWindow& window) {
    PageContent content = read_content(cells, station_table, plan);
    content.run = run;
    ScenarioPlot ignored;
    Svg svg;
    page_head(svg, content, kPageHeight);
    svg.open_group("id=\"profile\"");
    draw_profile(svg, content, ignored, window);
    svg.close_group();
    svg.out += "</svg>\n";
    return std::move(svg.out);
}

std::string plot_profile_window(const std::vector<Cell>& cells, const StationTable& station_table, const Grid& grid,
                                const std::optional<TimetableCheck>& run, const ProfileWindow& window) {
    return plot_profile_window(cells, station_table, sample_plan_for_page(grid, station_table), run, window);
}

PlanSample sample_plan_for_page(const Grid& grid, const StationTable& station_table) {
    return sample_plan(grid, metres_drawn_exactly(station_table));
}

ScenarioPlot plot_scenario(const std::vector<Cell>& cells, const StationTable& station_table, PlanSample plan,
                           const RunDrawing& run) {
    return plot_page(cells, station_table, std::move(plan), run);
}

ScenarioPlot plot_scenario(const std::vector<Cell>& cells, const StationTable& station_table, const Grid& grid,
                           const RunDrawing& run) {
    return plot_page(cells, station_table, sample_plan_for_page(grid, station_table), run);
}

ScenarioPlot plot_scenario(std::string_view cells, std::string_view station_table, ByteInput& grid,
                           std::uint64_t grid_size, const RunDrawing& run) {
    const std::vector<Cell> cell_records = read_scenario_cells(cells);
    const StationTable table = read_scenario_station_table(station_table);
    PlanSample plan = read_scenario_plan(grid, grid_size, metres_drawn_exactly(table));
    return plot_page(cell_records, table, std::move(plan), run);
}

ScenarioPlot plot_scenario(std::string_view cells, std::string_view station_table, std::string_view grid,
                           const RunDrawing& run) {
    StringInput input(grid);
    return plot_scenario(cells, station_table, input, grid.size(), run);
}

}  // namespace scenariogen
