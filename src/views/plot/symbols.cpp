#include "views/plot/symbols.h"

namespace scenariogen::plotting {

int signal_kind(const Cell& signal) {
    const int sx = (signal.value_4 % 10) / 3;
    return sx == 1 || sx == 2 ? sx : 0;
}

namespace {

// A signal's head, centred on `at`, of radius r.
void signal_head(Svg& svg, PagePoint at, double r, int kind) {
    if (kind == 1) return svg.circle(at, r * 0.85, fill_and_stroke("#fff", kSignalColour, r * 0.45));
    if (kind == 2) return svg.circle(at, r, fill(kSignalColour));
    svg.rect({at.x - r, at.y - r, at.x + r, at.y + r}, fill(kSignalColour));
}

}  // namespace

void signal_symbol(Svg& svg, PagePoint base, int kind) {
    svg.line(base, {base.x, base.y - 2.2}, stroke(kSignalColour, 0.3));
    signal_head(svg, {base.x, base.y - 2.8}, 0.65, kind);
}

void plan_signal_symbol(Svg& svg, PagePoint at, int kind) { signal_head(svg, at, 0.55, kind); }

void station_dot(Svg& svg, PagePoint at, double r) { svg.circle(at, r, fill_and_stroke("#fff", kInk, 0.3)); }

void board_symbol(Svg& svg, PagePoint base) {
    svg.line(base, {base.x, base.y - 1.2}, stroke(kBoardColour, 0.25));
    svg.rect({base.x - 0.8, base.y - 2.9, base.x + 0.8, base.y - 1.2}, fill_and_stroke("#fff", kBoardColour, 0.3));
}

void sign_symbol(Svg& svg, PagePoint base) {
    svg.line(base, {base.x, base.y - 1.4}, stroke(kSignColour, 0.25));
    svg.rect({base.x - 1.0, base.y - 2.7, base.x + 1.0, base.y - 1.4}, fill(kSignColour));
}

void warning_symbol(Svg& svg, PagePoint base) {
    svg.path("M" + num(base.x - 0.9) + " " + num(base.y - 0.6) + "h1.8l-0.9 -2.1z", fill(kSlowdownColour));
}

void before_warning_symbol(Svg& svg, PagePoint base) {
    svg.circle({base.x, base.y - 1.4}, 0.35, fill(kSlowdownColour));
}

void code_drop_symbol(Svg& svg, PagePoint base, bool with_value) {
    const std::string d = "M" + num(base.x) + " " + num(base.y - 3.0) + "l0.8 1.1l-0.8 1.1l-0.8 -1.1z";
    svg.path(d, with_value ? fill(kCodeDropColour) : fill_and_stroke("#fff", kCodeDropColour, 0.3));
}

void mountain_marker_symbol(Svg& svg, PagePoint base) {
    svg.line({base.x, base.y - 0.2}, {base.x, base.y - 1.5}, stroke(kMountainColour, 0.3));
}

std::string mountain_stretch_style() {
    return std::string("fill=\"") + kMountainColour + "\" fill-opacity=\"0.35\" stroke=\"" + kMountainColour +
           "\" stroke-width=\"0.2\"";
}

}  // namespace scenariogen::plotting
