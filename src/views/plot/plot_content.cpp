#include "views/plot/plot_content.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "views/plot/text_formats.h"

namespace scenariogen::plotting {

namespace {

std::string times_text(const StationEntry& v, std::size_t i, std::size_t count) {
    if (i == 0) return "dep " + clock_text(v.time);
    if (v.dwell == 0 && i + 1 == count) return "arr " + clock_text(v.time);
    if (v.dwell > 0) return clock_text(std::int64_t{v.time} - v.dwell) + " \u2013 " + clock_text(v.time);
    return clock_text(v.time);
}

}  // namespace

std::int32_t position_to_cell_start(std::size_t cell) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(cell) - 1) * kCellLength);
}

PlanPoint Plan::heading(std::int32_t m) const {
    const PlanPoint a = at(std::max(m - 1, 0));
    const PlanPoint b = at(std::min(m + 1, last));
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double n = std::hypot(dx, dy);
    return n > 0 ? PlanPoint{dx / n, dy / n} : PlanPoint{0, 1};
}

std::vector<std::int32_t> metres_drawn_exactly(const StationTable& table) {
    std::vector<std::int32_t> metres;
    for (const Station& s : read_stations(table)) metres.push_back(s.plotted.position_m);
    return metres;
}

std::vector<Station> read_stations(const StationTable& table) {
    std::vector<Station> stations;
    for (std::size_t k = 1; k <= kFirstSignEntry; ++k) {
        const StationEntry& v = table[k];
        if (only_a_name(v)) continue;  // a sign text, or nothing
        Station s;
        s.plotted.entry = k;
        s.plotted.name = table_text(v.name);
        if (s.plotted.name.empty()) s.plotted.name = "entry " + std::to_string(k);
        s.plotted.position_m = v.position;
        s.start = v.start;
        s.end = v.end;
        stations.push_back(std::move(s));
    }
    for (std::size_t i = 0; i < stations.size(); ++i) {
        const StationEntry& v = table[stations[i].plotted.entry];
        stations[i].plotted.times = times_text(v, i, stations.size());
        stations[i].details = stations[i].plotted.name + " at " + km_text(v.position) + " (area " + km_text(v.start) +
                              " to " + km_text(v.end) + "), type " + std::to_string(v.kind) + ", stop " +
                              std::to_string(v.dwell) + " s, " + stations[i].plotted.times;
    }
    return stations;
}

std::vector<double> Progressive::positions_of_multiples(double step) const {
    std::vector<double> out;
    if (!(step > 0) || to_m <= from_m) return out;
    const double a = value_m(from_m), b = value_m(to_m);
    const double lo = std::min(a, b), hi = std::max(a, b);
    for (double v = std::ceil(lo / step) * step; v <= hi; v += step) {
        out.push_back(falling ? reference_m - v : v - reference_m);
    }
    std::sort(out.begin(), out.end());
    return out;
}

std::vector<Progressive> read_progressives(const TableHeader& header, std::int32_t end_m) {
    std::vector<Progressive> used;
    for (const ProgressiveEntry& p : header.progressives) {
        if (p.used) used.push_back({p.from_m, end_m, p.reference_m, p.falling});
    }
    std::sort(used.begin(), used.end(), [](const Progressive& a, const Progressive& b) { return a.from_m < b.from_m; });
    for (std::size_t i = 0; i + 1 < used.size(); ++i) used[i].to_m = used[i + 1].from_m;
    used.erase(std::remove_if(used.begin(), used.end(),
                              [&](const Progressive& p) { return p.from_m >= p.to_m || p.from_m >= end_m; }),
               used.end());
    for (Progressive& p : used) p.from_m = std::max(p.from_m, 0);
    return used;
}

PageContent read_content(const std::vector<Cell>& cells, const StationTable& table, PlanSample plan) {
    const TableHeader header = read_table_header(table);
    const std::int32_t end_m = position_to_cell_start(cells.size());
    std::vector<PlottedMark> signals;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        if (cells[i].kind == kSignal) signals.push_back({kSignal, i, position_to_cell_start(i)});
    }
    return PageContent{.cells = cells,
                       .table = table,
                       .plan = Plan{std::move(plan)},
                       .stations = read_stations(table),
                       .signals = std::move(signals),
                       .progressives = read_progressives(header, end_m),
                       .route_length_m = header.route_length_m,
                       .end_m = end_m,
                       .scenario_name = table_text(header.scenario_name),
                       .train_number = table_text(header.train_number),
                       .run = std::nullopt};
}

}  // namespace scenariogen::plotting
