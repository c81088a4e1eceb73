#include "views/plot/legend.h"

#include <algorithm>

#include "views/plot/symbols.h"
#include "views/plot/text_formats.h"
#include "views/plot/text_measure.h"
#include "views/timetable/timetable_report.h"

namespace scenariogen::plotting {

namespace {

struct LegendEntry {
    void (*symbol)(Svg&, PagePoint);
    const char* text;
};

void legend_line(Svg& svg, PagePoint at, const char* colour, double width, const std::string& dash) {
    svg.line({at.x - 3, at.y - 1}, {at.x + 3, at.y - 1}, stroke(colour, width, dash));
}

void lane_line(Svg& s, PagePoint p) { s.line({p.x - 3, p.y + 0.6}, {p.x + 3, p.y + 0.6}, stroke("#bdbdbd", 0.15)); }

constexpr LegendEntry kEntries[] = {
    {[](Svg& s, PagePoint p) { legend_line(s, p, kInk, 0.45, ""); }, "Plan: track centre line, north up"},
    {[](Svg& s, PagePoint p) { legend_line(s, p, kRunOutColour, 0.3, "1 0.6"); },
     "Plan: run-out after the route's end"},
    {[](Svg& s, PagePoint p) {
         legend_line(s, p, kInk, 0.45, "");
         s.line({p.x, p.y - 1}, {p.x, p.y - 2.3}, stroke(kInk, 0.2));
     },
     "Plan: route km, tick left of the track"},
    {[](Svg& s, PagePoint p) {
         s.line({p.x - 3, p.y - 1}, {p.x - 1, p.y - 1}, stroke(kProgressiveColour, 0.25));
         s.text({p.x - 0.6, p.y}, 1.8, "km", std::string("fill=\"") + kProgressiveColour + "\" font-style=\"italic\"");
     },
     "Line km of the kilometric progressive"},
    {[](Svg& s, PagePoint p) {
         station_dot(s, {p.x, p.y - 1}, 0.95);
     },
     "Station, with its name and times"},
    {[](Svg& s, PagePoint p) {
         s.rect({p.x - 3, p.y - 2.4, p.x + 3, p.y + 0.2}, "fill=\"#000\" fill-opacity=\"0.08\"");
     },
     "Station area"},
    {[](Svg& s, PagePoint p) {
         s.line({p.x, p.y - 2.6}, {p.x, p.y + 0.6}, stroke(kInk, 0.3, "2 0.6 0.4 0.6"));
     },
     "End of the route"},
    {[](Svg& s, PagePoint p) { legend_line(s, p, kInk, 0.45, ""); }, "Height from the gradients (m)"},
    {[](Svg& s, PagePoint p) { legend_line(s, p, kSpeedColour, 0.4, "1.6 0.7"); }, "Line speed limit (km/h)"},
    {[](Svg& s, PagePoint p) {
         s.rect({p.x - 3, p.y - 2.2, p.x + 3, p.y + 0.2}, stroke(kInk, 0.2));
         s.line({p.x - 2.6, p.y - 0.2}, {p.x + 2.6, p.y - 1.8}, stroke("#9a9a9a", 0.15));
     },
     "Gradient (\u2030), rising to the right"},
    {[](Svg& s, PagePoint p) {
         const std::string style = std::string("fill=\"") + kCurveColour + "\" fill-opacity=\"0.35\" stroke=\"" +
                                   kCurveColour + "\" stroke-width=\"0.15\"";
         s.rect({p.x - 3, p.y - 2.2, p.x - 0.5, p.y - 1}, style);
         s.rect({p.x + 0.5, p.y - 1, p.x + 3, p.y + 0.2}, style);
     },
     "Curve: right up, left down; radius"},
    {[](Svg& s, PagePoint p) {
         lane_line(s, p);
         signal_symbol(s, {p.x - 2, p.y + 0.6}, 1);
         signal_symbol(s, {p.x, p.y + 0.6}, 2);
         signal_symbol(s, {p.x + 2, p.y + 0.6}, 0);
     },
     "Signal of code sx 1, 2, other"},
    {[](Svg& s, PagePoint p) {
         lane_line(s, p);
         board_symbol(s, {p.x, p.y + 0.6});
     },
     "Speed board: speeds A/B/C (km/h)"},
    {[](Svg& s, PagePoint p) {
         lane_line(s, p);
         sign_symbol(s, {p.x, p.y + 0.6});
     },
     "Sign board, with its text"},
    {[](Svg& s, PagePoint p) {
         lane_line(s, p);
         before_warning_symbol(s, {p.x - 2.6, p.y + 0.6});
         warning_symbol(s, {p.x - 1.2, p.y + 0.6});
         s.rect({p.x + 0.2, p.y - 1.6, p.x + 3, p.y - 0.3}, fill_and_stroke(kSlowdownColour, kInk, 0.15));
     },
     "Slowdown: points, warning, stretch"},
    {[](Svg& s, PagePoint p) {
         lane_line(s, p);
         code_drop_symbol(s, {p.x - 1.2, p.y + 0.6}, true);
         code_drop_symbol(s, {p.x + 1.2, p.y + 0.6}, false);
     },
     "Code-drop point: with value, without"},
    {[](Svg& s, PagePoint p) {
         lane_line(s, p);
         s.rect({p.x - 3, p.y - 2.6, p.x + 3, p.y - 0.8}, mountain_stretch_style());
         mountain_marker_symbol(s, {p.x + 1.5, p.y + 0.8});
     },
     "Mountain stretch (kind), marker"},
};

// The model's fastest run, after the line speed limit.
constexpr LegendEntry kRunEntry{[](Svg& s, PagePoint p) { legend_line(s, p, kRunColour, 0.35, ""); },
                                "The train's fastest run (km/h)"};
constexpr std::size_t kRunEntryAt = 9;

std::string counts_of_marks(const PageContent& content, const std::vector<PlottedMark>& marks) {
    std::size_t n_signals = 0, n_boards = 0, n_signs = 0;
    for (const PlottedMark& m : marks) {
        n_signals += m.kind == kSignal;
        n_boards += m.kind == kSpeedBoard;
        n_signs += m.kind == kSign;
    }
    return std::to_string(content.stations.size()) + " stations, " + std::to_string(n_signals) + " signals, " +
           std::to_string(n_boards) + " speed boards, " + std::to_string(n_signs) + " sign boards";
}

std::string counts_of_stretches(const PageContent& content, const std::vector<PlottedMark>& marks) {
    std::size_t n_slowdowns = 0, n_code_drops = 0;
    for (const PlottedMark& m : marks) {
        n_slowdowns += m.kind == kSlowdownStart;
        n_code_drops += m.kind == kCodeDrop || m.kind == kCodeDropWithoutValue;
    }
    const std::vector<Cell>& cells = content.cells;
    std::size_t stretches = 0;
    for (std::size_t i = 1; i < cells.size(); ++i) {
        stretches += cells[i].mountain_kind != 0 && cells[i].mountain_kind != cells[i - 1].mountain_kind;
    }
    return std::to_string(n_slowdowns) + " slowdowns, " + std::to_string(n_code_drops) + " code-drop points, " +
           std::to_string(stretches) + " mountain stretches";
}

// The model and how many legs it cannot keep.
std::string run_summary(const TimetableCheck& check) {
    std::size_t missed = 0;
    for (const LegCheck& leg : check.legs) missed += leg.status != LegStatus::kRunnable || leg.too_tight();
    return "Fastest run: " + model_summary(check.model) + "; " + std::to_string(missed) + " of " +
           std::to_string(check.legs.size()) + " legs cannot be kept";
}

}  // namespace

std::vector<std::string> legend_summary(const PageContent& content, const std::vector<PlottedMark>& marks) {
    std::vector<std::string> summary{counts_of_marks(content, marks), counts_of_stretches(content, marks)};
    for (const Progressive& prog : content.progressives) {
        summary.push_back("Kilometric progressive from " + km_text(prog.from_m) + ": line km " +
                          fixed(prog.value_m(prog.from_m) / 1000.0, 3) +
                          (prog.falling ? ", falling (\u2193)" : ", rising (\u2191)"));
    }
    if (content.run) summary.push_back(run_summary(*content.run));
    summary.push_back(
        "A gradient or speed written at p holds from the cell that ends at p, 50 m before; "
        "in a browser, every mark says its values and where they were written.");
    if (!content.stations.empty()) {
        const PlottedStation& first = content.stations.front().plotted;
        const PlottedStation& last = content.stations.back().plotted;
        summary.insert(summary.begin(), first.name + " " + first.times + "  \u2192  " + last.name + " " + last.times);
    }
    return summary;
}

void draw_legend(Svg& svg, const Box& box, const std::vector<std::string>& summary, bool with_run) {
    svg.rect(box, stroke("#999", 0.2));
    svg.text({box.x0 + 2, box.y0 + 4.2}, 3, "Legend", "font-weight=\"bold\"");
    const double row = 3.5, text_size = 1.9;
    std::vector<LegendEntry> entries(std::begin(kEntries), std::end(kEntries));
    if (with_run) entries.insert(entries.begin() + kRunEntryAt, kRunEntry);
    const double width = box.x1 - box.x0 - 4;
    const std::size_t columns = std::clamp<std::size_t>(static_cast<std::size_t>(width / 50), 2, 3);
    const double column_width = width / static_cast<double>(columns);
    const std::size_t per_column = (entries.size() + columns - 1) / columns;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double x = box.x0 + 2 + static_cast<double>(i / per_column) * column_width;
        const double y = box.y0 + 9 + static_cast<double>(i % per_column) * row;
        entries[i].symbol(svg, {x + 4, y});
        svg.text({x + 8.5, y}, text_size, fit_text(entries[i].text, text_size, column_width - 9));
    }
    double y = box.y0 + 9 + static_cast<double>(per_column) * row + 0.8;
    svg.line({box.x0 + 2, y - 2.3}, {box.x1 - 2, y - 2.3}, stroke("#bbb", 0.15));
    for (const std::string& line : summary) {
        if (y > box.y1 - 1) break;
        svg.text({box.x0 + 2, y + 0.4}, 1.9, fit_text(line, 1.9, width), "fill=\"#333\"");
        y += 2.9;
    }
}

}  // namespace scenariogen::plotting
