#include "views/plot/legend.h"

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

constexpr LegendEntry kEntries[] = {
    {[](Svg& s, PagePoint p) { legend_line(s, p, kInk, 0.45, ""); }, "Plan: track centre line (north up)"},
    {[](Svg& s, PagePoint p) {
         station_dot(s, {p.x, p.y - 1}, 0.95);
     },
     "Station, with its name"},
    {[](Svg& s, PagePoint p) {
         plan_signal_symbol(s, {p.x, p.y - 1});
     },
     "Plan: signal"},
    {[](Svg& s, PagePoint p) {
         legend_line(s, p, kInk, 0.45, "");
         s.line({p.x, p.y - 1}, {p.x, p.y - 2.3}, stroke(kInk, 0.2));
     },
     "Plan: route kilometre (tick left of the track)"},
    {[](Svg& s, PagePoint p) {
         legend_line(s, p, kInk, 0.45, "");
         s.line({p.x, p.y - 1}, {p.x, p.y + 0.3}, stroke(kProgressiveColour, 0.25));
     },
     "Line km of the kilometric progressive (right)"},
    {[](Svg& s, PagePoint p) { legend_line(s, p, kInk, 0.45, ""); }, "Profile: height from the gradients (m)"},
    {[](Svg& s, PagePoint p) { legend_line(s, p, kSpeedColour, 0.4, "1.6 0.7"); }, "Profile: line speed limit (km/h)"},
    {[](Svg& s, PagePoint p) {
         s.rect({p.x - 3, p.y - 2.4, p.x + 3, p.y + 0.2}, "fill=\"#000\" fill-opacity=\"0.08\"");
     },
     "Station area"},
    {[](Svg& s, PagePoint p) {
         signal_symbol(s, {p.x, p.y + 0.6});
     },
     "Signal"},
    {[](Svg& s, PagePoint p) {
         board_symbol(s, {p.x, p.y + 0.6});
     },
     "Speed-indicator board (speed A, km/h)"},
    {[](Svg& s, PagePoint p) {
         sign_symbol(s, {p.x, p.y + 0.6});
     },
     "Sign board"},
    {[](Svg& s, PagePoint p) {
         warning_symbol(s, {p.x - 2.2, p.y + 0.6});
         s.rect({p.x - 0.6, p.y - 1.6, p.x + 3, p.y - 0.3}, fill_and_stroke(kSlowdownColour, kInk, 0.15));
     },
     "Slowdown: warning, stretch (km/h)"},
    {[](Svg& s, PagePoint p) {
         code_drop_symbol(s, {p.x - 1.2, p.y + 0.6}, true);
         code_drop_symbol(s, {p.x + 1.2, p.y + 0.6}, false);
     },
     "Code-drop point: with value, without"},
    {[](Svg& s, PagePoint p) {
         s.rect({p.x - 3, p.y - 2.6, p.x + 3, p.y - 0.8}, mountain_stretch_style());
         mountain_marker_symbol(s, {p.x + 1.5, p.y + 0.8});
     },
     "Mountain stretch (kind), marker"},
};

// The model's fastest run, after the line speed limit.
constexpr LegendEntry kRunEntry{[](Svg& s, PagePoint p) { legend_line(s, p, kRunColour, 0.35, ""); },
                                "Profile: the train's fastest run (km/h)"};
constexpr std::size_t kRunEntryAt = 7;

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
    std::vector<std::string> summary{
        counts_of_marks(content, marks), counts_of_stretches(content, marks),
        "Cell i covers the metres (i \u2212 1)\u00b750 to i\u00b750; its objects are drawn at (i \u2212 1)\u00b750, "
        "the profile runs to the last cell.",
        "Hover over a mark in a browser for its values."};
    for (const Progressive& prog : content.progressives) {
        summary.push_back("Kilometric progressive from " + km_text(prog.from_m) + ": line km " +
                          fixed(prog.value_m(prog.from_m) / 1000.0, 3) +
                          (prog.falling ? ", falling (\u2193)" : ", rising (\u2191)"));
    }
    if (content.run) summary.push_back(run_summary(*content.run));
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
    const double row = 4.3;
    const double column_width = (box.x1 - box.x0 - 4) / 2;
    std::vector<LegendEntry> entries(std::begin(kEntries), std::end(kEntries));
    if (with_run) entries.insert(entries.begin() + kRunEntryAt, kRunEntry);
    const std::size_t per_column = (entries.size() + 1) / 2;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const double x = box.x0 + 2 + static_cast<double>(i / per_column) * column_width;
        const double y = box.y0 + 10 + static_cast<double>(i % per_column) * row;
        entries[i].symbol(svg, {x + 4, y});
        svg.text({x + 9, y}, 2.2, entries[i].text);
    }
    double y = box.y0 + 10 + static_cast<double>(per_column) * row + 1.5;
    svg.line({box.x0 + 2, y - 2.5}, {box.x1 - 2, y - 2.5}, stroke("#bbb", 0.15));
    for (const std::string& line : summary) {
        if (y > box.y1 - 1.5) break;
        svg.text({box.x0 + 2, y + 0.5}, 2.1, fit_text(line, 2.1, box.x1 - box.x0 - 4), "fill=\"#333\"");
        y += 3.3;
    }
}

}  // namespace scenariogen::plotting
