#include "views/plot/scenario_plot.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>
#include <utility>

#include "format/binary_format.h"
#include "format/records.h"
#include "text/text_lines.h"

namespace scenariogen {

namespace {

// Header values that the compiler stores in every scenario it writes.
constexpr std::int16_t kCellHeader = 5121;       // cell 1, valore_1
constexpr std::int16_t kTableHeader = 610;       // entry 85, attributo_7
constexpr std::int32_t kCellLength = 50;         // metres per cell
constexpr std::size_t kFewestCells = 141;        // a route of length 0: cells 0 to 7000 / 50
constexpr std::size_t kFewestGridMetres = 7001;  // metres 0 to 7000

// ------------------------------------------------------------------------
// Page layout, in millimetres on A4 landscape.

constexpr double kPageWidth = 297;
constexpr double kPageHeight = 210;
constexpr double kMargin = 8;

constexpr double kTopY = 13;  // plan and legend
constexpr double kTopHeight = 75;

constexpr double kProfileX0 = 37;
constexpr double kProfileX1 = 270;
constexpr double kStationBandTop = 91.5;
constexpr double kStationBandBottom = 116;
constexpr double kChartTop = 118;
constexpr double kChartBottom = 154;
constexpr double kChartPad = 1.5;
constexpr double kGradientTop = 155.5;
constexpr double kGradientBottom = 161.5;
constexpr double kLaneTop = 163;
constexpr double kLaneHeight = 4.3;
constexpr int kLanes = 6;
constexpr double kAxisY = kLaneTop + kLanes * kLaneHeight + 0.6;

constexpr const char* kFont = "DejaVu Sans, Liberation Sans, Arial, Helvetica, sans-serif";

// Colours, each paired with its own line pattern or marker and lane, so that
// a grey print keeps every kind apart.
constexpr const char* kInk = "#000";
constexpr const char* kGridLine = "#d9d9d9";
constexpr const char* kSignalColour = "#1f4e9c";
constexpr const char* kSpeedColour = "#b2182b";
constexpr const char* kBoardColour = "#8c510a";
constexpr const char* kSignColour = "#4d4d4d";
constexpr const char* kSlowdownColour = "#e66101";
constexpr const char* kCodeDropColour = "#6a3d9a";
constexpr const char* kMountainColour = "#1b7837";
constexpr const char* kProgressiveColour = "#6a3d9a";

enum Lane { kSignalLane, kBoardLane, kSignLane, kSlowdownLane, kCodeDropLane, kMountainLane };
constexpr const char* kLaneNames[kLanes] = {"Signals",   "Speed boards", "Sign boards",
                                            "Slowdowns", "Code drops",   "Mountain"};

// ------------------------------------------------------------------------
// Text and numbers.

std::string num(double v) {
    if (!std::isfinite(v)) return "0";
    if (std::abs(v) < 0.005) return "0";
    char buf[48];
    const auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 2);
    std::string s(buf, result.ptr);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.') s.pop_back();
    }
    return s;
}

std::string fixed(double v, int decimals) {
    char buf[48];
    const auto result = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, decimals);
    std::string s(buf, result.ptr);
    if (s.front() == '-') s.replace(0, 1, "\u2212");
    return s;
}

// Metres as kilometres, "12.800 km".
std::string km_text(double metres) { return fixed(metres / 1000.0, 3) + " km"; }

// A signed integer with a real minus sign and an explicit plus.
std::string signed_text(long v) {
    if (v > 0) return "+" + std::to_string(v);
    if (v < 0) return "\u2212" + std::to_string(-v);
    return "0";
}

// UTF-8 text made safe for XML: markup characters escaped, control
// characters that XML 1.0 forbids replaced.
std::string xml(std::string_view utf8) {
    std::string out;
    out.reserve(utf8.size());
    for (const char c : utf8) {
        switch (c) {
            case '&':
                out += "&amp;";
                break;
            case '<':
                out += "&lt;";
                break;
            case '>':
                out += "&gt;";
                break;
            case '"':
                out += "&quot;";
                break;
            case '\'':
                out += "&apos;";
                break;
            default:
                if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r') {
                    out += "\uFFFD";
                } else {
                    out += c;
                }
        }
    }
    return out;
}

// A name from the station table, as UTF-8 without surrounding blanks.
std::string table_text(std::string_view bytes) {
    std::string text = from_windows_1252(bytes);
    const auto first = text.find_first_not_of(' ');
    if (first == std::string::npos) return "";
    const auto last = text.find_last_not_of(' ');
    return text.substr(first, last - first + 1);
}

// A sign text "(   P.L.  )(km 6+532)" as its lines, "P.L. / km 6+532".
std::string sign_lines(std::string_view bytes) {
    const std::string text = from_windows_1252(bytes);
    std::string out;
    std::size_t at = 0;
    bool any = false;
    while ((at = text.find('(', at)) != std::string::npos) {
        const auto close = text.find(')', at + 1);
        const std::string line =
            table_text(text.substr(at + 1, close == std::string::npos ? std::string::npos : close - at - 1));
        if (!line.empty()) {
            if (any) out += " / ";
            out += line;
            any = true;
        }
        if (close == std::string::npos) break;
        at = close + 1;
    }
    return any ? out : table_text(bytes);
}

// Seconds since midnight as "6:33", or "6:33:20" when the seconds are not 0.
std::string clock_text(std::int64_t seconds) {
    if (seconds < 0) return "\u2212" + clock_text(-seconds);
    const std::int64_t h = seconds / 3600;
    const std::int64_t m = (seconds / 60) % 60;
    const std::int64_t s = seconds % 60;
    std::string out = std::to_string(h) + ":" + (m < 10 ? "0" : "") + std::to_string(m);
    if (s != 0) out += std::string(":") + (s < 10 ? "0" : "") + std::to_string(s);
    return out;
}

// A generous estimate of the width of a text in the page's sans-serif font.
double text_width(std::string_view utf8, double size) {
    double em = 0;
    for (const char ch : utf8) {
        const auto c = static_cast<unsigned char>(ch);
        if ((c & 0xC0) == 0x80) continue;  // inside a multi-byte character
        if (c >= 'A' && c <= 'Z') {
            em += 0.74;
        } else if (c >= 'a' && c <= 'z') {
            em += 0.6;
        } else if (c >= '0' && c <= '9') {
            em += 0.64;
        } else if (c == ' ' || c == '.' || c == ',' || c == ':' || c == '(' || c == ')') {
            em += 0.34;
        } else {
            em += 0.7;
        }
    }
    return em * size;
}

// The text, shortened with an ellipsis to fit `room` millimetres.
std::string fit_text(const std::string& text, double size, double room) {
    if (text_width(text, size) <= room) return text;
    const double budget = room - text_width("\u2026", size);
    std::string cut;
    double width = 0;
    for (std::size_t i = 0; i < text.size();) {
        std::size_t n = 1;
        while (i + n < text.size() && (static_cast<unsigned char>(text[i + n]) & 0xC0) == 0x80) ++n;
        const std::string character = text.substr(i, n);
        const double w = text_width(character, size);
        if (width + w > budget) break;
        cut += character;
        width += w;
        i += n;
    }
    while (!cut.empty() && cut.back() == ' ') cut.pop_back();
    return cut.empty() ? cut : cut + "\u2026";
}

// 1, 2 or 5 times a power of ten, the smallest not below `at_least`.
double nice_step(double at_least) {
    if (!(at_least > 0) || !std::isfinite(at_least)) return 1;
    const double power = std::pow(10.0, std::floor(std::log10(at_least)));
    for (const double m : {1.0, 2.0, 5.0, 10.0}) {
        if (m * power >= at_least * (1 - 1e-9)) return m * power;
    }
    return 10 * power;
}

// ------------------------------------------------------------------------
// Label placement: rectangles already taken on the page.

struct Box {
    double x0, y0, x1, y1;
};

bool overlap(const Box& a, const Box& b) { return a.x0 < b.x1 && b.x0 < a.x1 && a.y0 < b.y1 && b.y0 < a.y1; }

bool inside(const Box& inner, const Box& outer) {
    return inner.x0 >= outer.x0 && inner.x1 <= outer.x1 && inner.y0 >= outer.y0 && inner.y1 <= outer.y1;
}

class Taken {
public:
    bool free(const Box& b) const {
        return std::none_of(boxes_.begin(), boxes_.end(), [&](const Box& t) { return overlap(t, b); });
    }
    void take(const Box& b) { boxes_.push_back(b); }

private:
    std::vector<Box> boxes_;
};

// Whether the segment a-b crosses the box (Liang-Barsky clipping).
bool segment_hits(PagePoint a, PagePoint b, const Box& box) {
    double t0 = 0, t1 = 1;
    const double dx = b.x - a.x, dy = b.y - a.y;
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {a.x - box.x0, box.x1 - a.x, a.y - box.y0, box.y1 - a.y};
    for (int i = 0; i < 4; ++i) {
        if (p[i] == 0) {
            if (q[i] < 0) return false;
        } else {
            const double t = q[i] / p[i];
            if (p[i] < 0) {
                t0 = std::max(t0, t);
            } else {
                t1 = std::min(t1, t);
            }
            if (t0 > t1) return false;
        }
    }
    return true;
}

// ------------------------------------------------------------------------
// SVG output.

class Svg {
public:
    std::string out;

    void open_group(const std::string& attributes, const std::string& title = "") {
        out += "<g";
        if (!attributes.empty()) out += " " + attributes;
        out += ">";
        if (!title.empty()) out += "<title>" + xml(title) + "</title>";
        out += "\n";
    }
    void close_group() { out += "</g>\n"; }

    void line(PagePoint a, PagePoint b, const std::string& style) {
        out += "<line x1=\"" + num(a.x) + "\" y1=\"" + num(a.y) + "\" x2=\"" + num(b.x) + "\" y2=\"" + num(b.y) +
               "\" " + style + "/>\n";
    }
    void rect(const Box& b, const std::string& style) {
        out += "<rect x=\"" + num(b.x0) + "\" y=\"" + num(b.y0) + "\" width=\"" + num(b.x1 - b.x0) + "\" height=\"" +
               num(b.y1 - b.y0) + "\" " + style + "/>\n";
    }
    void circle(PagePoint c, double r, const std::string& style) {
        out += "<circle cx=\"" + num(c.x) + "\" cy=\"" + num(c.y) + "\" r=\"" + num(r) + "\" " + style + "/>\n";
    }
    void path(const std::string& d, const std::string& style) { out += "<path d=\"" + d + "\" " + style + "/>\n"; }
    // anchor: "start", "middle" or "end".
    void text(PagePoint at, double size, const std::string& utf8, const std::string& style = "",
              const char* anchor = "start") {
        out += "<text x=\"" + num(at.x) + "\" y=\"" + num(at.y) + "\" font-size=\"" + num(size) + "\"";
        if (std::string_view(anchor) != "start") out += std::string(" text-anchor=\"") + anchor + "\"";
        if (!style.empty()) out += " " + style;
        out += ">" + xml(utf8) + "</text>\n";
    }
    void vertical_text(PagePoint at, double size, const std::string& utf8, const std::string& style = "") {
        out += "<text transform=\"translate(" + num(at.x) + " " + num(at.y) + ") rotate(-90)\" font-size=\"" +
               num(size) + "\" text-anchor=\"middle\"";
        if (!style.empty()) out += " " + style;
        out += ">" + xml(utf8) + "</text>\n";
    }
};

std::string stroke(const char* colour, double width, const std::string& dash = "") {
    std::string s = std::string("fill=\"none\" stroke=\"") + colour + "\" stroke-width=\"" + num(width) + "\"";
    if (!dash.empty()) s += " stroke-dasharray=\"" + dash + "\"";
    return s;
}
std::string fill(const char* colour) { return std::string("fill=\"") + colour + "\" stroke=\"none\""; }
std::string fill_and_stroke(const char* fill_colour, const char* stroke_colour, double width) {
    return std::string("fill=\"") + fill_colour + "\" stroke=\"" + stroke_colour + "\" stroke-width=\"" + num(width) +
           "\"";
}
// Text over lines: a white halo keeps it readable.
const std::string kHalo = "stroke=\"#fff\" stroke-width=\"0.5\" stroke-linejoin=\"round\" paint-order=\"stroke\"";

// The symbols, shared by the drawing and the legend. `base` is the point
// the symbol stands on.
void signal_symbol(Svg& svg, PagePoint base) {
    svg.line(base, {base.x, base.y - 2.6}, stroke(kSignalColour, 0.3));
    svg.circle({base.x, base.y - 2.8}, 0.65, fill(kSignalColour));
}
void plan_signal_symbol(Svg& svg, PagePoint at) {
    svg.rect({at.x - 0.55, at.y - 0.55, at.x + 0.55, at.y + 0.55}, fill(kSignalColour));
}
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

// ------------------------------------------------------------------------
// Decoding, with the checks that tell a compiled scenario from other bytes.

[[noreturn]] void rethrow_for(FileKind file, const DecodeError& error) {
    std::string what = error.what();
    const std::string tail = " at byte offset " + std::to_string(error.offset());
    if (what.size() >= tail.size() && what.compare(what.size() - tail.size(), tail.size(), tail) == 0) {
        what.erase(what.size() - tail.size());
    }
    throw ScenarioDecodeError(file, what, error.offset());
}

std::vector<Cell> read_cells(std::string_view bytes) {
    std::vector<Cell> celle;
    try {
        celle = decode_cells(bytes);
    } catch (const DecodeError& error) {
        rethrow_for(FileKind::kCells, error);
    }
    if (celle.size() < kFewestCells) {
        throw ScenarioDecodeError(
            FileKind::kCells,
            "the file ends before cell " + std::to_string(kFewestCells - 1) + ", the last cell of the shortest route",
            bytes.size());
    }
    if (celle[1].value_1 != kCellHeader) {
        throw ScenarioDecodeError(
            FileKind::kCells,
            "cell 1 does not hold the header value " + std::to_string(kCellHeader) + " of a compiled scenario",
            format::kCellSize + format::cell::kValore1);
    }
    return celle;
}

StationTable read_station_table(std::string_view bytes) {
    StationTable tabella;
    try {
        tabella = decode_station_table(bytes);
    } catch (const DecodeError& error) {
        rethrow_for(FileKind::kStationTable, error);
    }
    const StationEntry& scenario = tabella[kScenarioEntry];
    if (scenario.attribute_7 != kTableHeader) {
        std::size_t offset = 0;
        for (int k = 0; k < kScenarioEntry; ++k) {
            offset += format::kStationFixedSize + tabella[static_cast<std::size_t>(k)].name.size();
        }
        offset += format::station::kNome + scenario.name.size() + format::station::kAttributo7;
        throw ScenarioDecodeError(
            FileKind::kStationTable,
            "entry 85 does not hold the header value " + std::to_string(kTableHeader) + " of a compiled scenario",
            offset);
    }
    return tabella;
}

// The computed part of the grid: metres 0 to `last`.
struct Plan {
    std::vector<double> x;
    std::vector<double> y;
    std::int32_t last = -1;

    PlanPoint at(std::int32_t m) const {
        const auto i = static_cast<std::size_t>(std::clamp(m, 0, last));
        return {x[i], y[i]};
    }
    // The unit heading of the track at metre m.
    PlanPoint heading(std::int32_t m) const {
        const PlanPoint a = at(std::max(m - 1, 0));
        const PlanPoint b = at(std::min(m + 1, last));
        const double dx = b.x - a.x, dy = b.y - a.y;
        const double n = std::hypot(dx, dy);
        return n > 0 ? PlanPoint{dx / n, dy / n} : PlanPoint{0, 1};
    }
};

Plan read_plan(std::string_view bytes) {
    DecodedGrid grid;
    try {
        grid = decode_grid(bytes);
    } catch (const DecodeError& error) {
        rethrow_for(FileKind::kGrid, error);
    }
    if (grid.x.size() < kFewestGridMetres) {
        throw ScenarioDecodeError(FileKind::kGrid,
                                  "the grid ends before metre " + std::to_string(kFewestGridMetres - 1) +
                                      ", the last metre of the shortest route",
                                  bytes.size());
    }
    std::size_t computed = 0;
    while (computed < grid.x.size() && grid.x[computed].tag != format::grid::kEmpty &&
           grid.y[computed].tag != format::grid::kEmpty) {
        ++computed;
    }
    if (computed > 0) {
        const auto starts = [&](std::size_t m, double x, double y) {
            return computed > m && grid.x[m].tag == format::grid::kInt16 && grid.x[m].value == x &&
                   grid.y[m].tag == format::grid::kInt16 && grid.y[m].value == y;
        };
        if (!starts(0, 0, 0) || !starts(1, 0, 1)) {
            throw ScenarioDecodeError(FileKind::kGrid,
                                      "the plan does not start with the metres (0, 0) and (0, 1) of a compiled "
                                      "scenario",
                                      0);
        }
    }
    const auto value_size = [](const GridValue& v) -> std::size_t {
        return 2 + (v.tag == format::grid::kInt16 ? 2 : v.tag == format::grid::kDouble ? 8 : 0);
    };
    std::size_t y_block = 0;
    for (const GridValue& v : grid.x) y_block += value_size(v);
    for (const auto* block : {&grid.x, &grid.y}) {
        std::size_t offset = block == &grid.x ? 0 : y_block;
        for (std::size_t m = 0; m < computed; ++m) {
            if (!std::isfinite((*block)[m].value)) {
                throw ScenarioDecodeError(
                    FileKind::kGrid, "metre " + std::to_string(m) + " holds a coordinate that is not a number", offset);
            }
            offset += value_size((*block)[m]);
        }
    }
    Plan plan;
    plan.x.reserve(computed);
    plan.y.reserve(computed);
    for (std::size_t m = 0; m < computed; ++m) {
        plan.x.push_back(grid.x[m].value);
        plan.y.push_back(grid.y[m].value);
    }
    plan.last = static_cast<std::int32_t>(computed) - 1;
    return plan;
}

// ------------------------------------------------------------------------
// What the station table holds.

bool only_a_name(const StationEntry& v) {
    return v.kind == 0 && v.start == 0 && v.end == 0 && v.position == 0 && v.time == 0;
}

struct Station {
    PlottedStation plotted;
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::string details;  // for the tooltip
};

std::vector<Station> read_stations(const StationTable& tabella) {
    std::vector<Station> stations;
    for (std::size_t k = 1; k <= kFirstSignEntry; ++k) {
        const StationEntry& v = tabella[k];
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
        const StationEntry& v = tabella[stations[i].plotted.entry];
        std::string& times = stations[i].plotted.times;
        if (i == 0) {
            times = "dep " + clock_text(v.time);
        } else if (v.dwell == 0 && i + 1 == stations.size()) {
            times = "arr " + clock_text(v.time);
        } else if (v.dwell > 0) {
            times = clock_text(std::int64_t{v.time} - v.dwell) + " \u2013 " + clock_text(v.time);
        } else {
            times = clock_text(v.time);
        }
        stations[i].details = stations[i].plotted.name + " at " + km_text(v.position) + " (area " + km_text(v.start) +
                              " to " + km_text(v.end) + "), type " + std::to_string(v.kind) + ", stop " +
                              std::to_string(v.dwell) + " s, " + stations[i].plotted.times;
    }
    return stations;
}

// A kilometric progressive: from `from_m` on, kilometre value = reference ±
// position.
struct Progressive {
    std::int32_t from_m = 0;
    std::int32_t to_m = 0;  // where the next one takes over
    std::int32_t reference_m = 0;
    bool falling = false;

    double value_m(double position) const { return falling ? reference_m - position : reference_m + position; }
    // Route positions in [from_m, to_m] where the value is a multiple of `step`.
    std::vector<double> positions_of_multiples(double step) const {
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
};

std::vector<Progressive> read_progressives(const StationTable& tabella, std::int32_t end_m) {
    std::vector<Progressive> used;
    for (int k = kProgressiveThreeEntry; k <= kProgressiveOneEntry; ++k) {
        const StationEntry& v = tabella[static_cast<std::size_t>(k)];
        if (v.start == 0 && v.end == 0 && v.position == 0) continue;  // not used
        used.push_back({v.start, end_m, v.end, v.position == 1});
    }
    std::sort(used.begin(), used.end(), [](const Progressive& a, const Progressive& b) { return a.from_m < b.from_m; });
    for (std::size_t i = 0; i + 1 < used.size(); ++i) used[i].to_m = used[i + 1].from_m;
    used.erase(std::remove_if(used.begin(), used.end(),
                              [&](const Progressive& p) { return p.from_m >= p.to_m || p.from_m >= end_m; }),
               used.end());
    for (Progressive& p : used) p.from_m = std::max(p.from_m, 0);
    return used;
}

std::string kilometre_value_text(double metres, double step_m) {
    if (step_m >= 1000) return fixed(metres / 1000.0, 0);
    return fixed(metres / 1000.0, 1);
}

// ------------------------------------------------------------------------
// The plan.

std::int32_t position_to_cell_start(std::size_t cell) {
    return static_cast<std::int32_t>((static_cast<std::int64_t>(cell) - 1) * kCellLength);
}

// Metres of the centre line kept for drawing: samples no further apart than
// 0.15 mm on the page, then every sample that a straight line
// through its neighbours would miss by more than a few hundredths of a
// millimetre.
std::vector<std::int32_t> thin_track(const Plan& plan, double scale) {
    std::vector<std::int32_t> samples;
    const auto step = static_cast<std::int32_t>(std::clamp(std::floor(0.15 / scale), 1.0, 1e6));
    for (std::int32_t m = 0; m < plan.last; m += step) samples.push_back(m);
    samples.push_back(plan.last);
    if (samples.size() <= 2) return samples;
    const double tolerance = 0.03 / scale;
    std::vector<char> keep(samples.size(), 0);
    keep.front() = keep.back() = 1;
    std::vector<std::pair<std::size_t, std::size_t>> pending{{0, samples.size() - 1}};
    while (!pending.empty()) {
        const auto [a, b] = pending.back();
        pending.pop_back();
        if (b <= a + 1) continue;
        const PlanPoint pa = plan.at(samples[a]), pb = plan.at(samples[b]);
        const double dx = pb.x - pa.x, dy = pb.y - pa.y;
        const double length2 = dx * dx + dy * dy;
        double farthest = -1;
        std::size_t at = a;
        for (std::size_t i = a + 1; i < b; ++i) {
            const PlanPoint p = plan.at(samples[i]);
            double t = length2 > 0 ? ((p.x - pa.x) * dx + (p.y - pa.y) * dy) / length2 : 0;
            t = std::clamp(t, 0.0, 1.0);
            const double d = std::hypot(p.x - (pa.x + t * dx), p.y - (pa.y + t * dy));
            if (d > farthest) {
                farthest = d;
                at = i;
            }
        }
        if (farthest > tolerance) {
            keep[at] = 1;
            pending.push_back({a, at});
            pending.push_back({at, b});
        }
    }
    std::vector<std::int32_t> kept;
    for (std::size_t i = 0; i < samples.size(); ++i) {
        if (keep[i]) kept.push_back(samples[i]);
    }
    return kept;
}

struct PlanInput {
    const Plan& plan;
    const std::vector<Station>& stations;
    const std::vector<PlottedMark>& signals;
    const std::vector<Progressive>& progressives;
    std::int32_t route_length_m;
};

class PlanDrawing {
public:
    PlanDrawing(Svg& svg, const PlanInput& in, Box frame) : svg_(svg), in_(in), frame_(frame) {}

    // Draws the plan; fills the track and the mapping of `result` and the
    // station flags.
    void draw(ScenarioPlot& result, std::vector<Station>& stations) {
        svg_.rect(frame_, stroke("#999", 0.2));
        svg_.text({frame_.x0 + 2, frame_.y0 + 4.2}, 3, "Plan", "font-weight=\"bold\"");
        taken_.take({frame_.x0, frame_.y0, frame_.x0 + 12, frame_.y0 + 5.5});
        if (in_.plan.last < 1) {
            svg_.text({(frame_.x0 + frame_.x1) / 2, (frame_.y0 + frame_.y1) / 2}, 2.6,
                      "The grid holds no computed metre: there is no plan to draw.", "", "middle");
            return;
        }
        map(result.plan_mapping);
        const std::vector<std::int32_t> metres = thin_track(in_.plan, map_.scale);
        for (const std::int32_t m : metres) {
            result.track_metres.push_back(m);
            result.track.push_back(in_.plan.at(m));
            page_track_.push_back(map_.page(in_.plan.at(m)));
        }
        std::string d;
        for (std::size_t i = 0; i < page_track_.size(); ++i) {
            d += (i == 0 ? "M" : "L") + num(page_track_[i].x) + " " + num(page_track_[i].y);
        }
        svg_.open_group("", "Track centre line, metres 0 to " + std::to_string(in_.plan.last));
        svg_.path(d, stroke(kInk, 0.45) + " stroke-linejoin=\"round\" stroke-linecap=\"round\"");
        svg_.close_group();

        north_arrow();
        scale_bar();
        const double mm_per_km = 1000 * map_.scale;
        const double tick_km = nice_step(std::max(1.0, 0.9 / mm_per_km));
        const double label_km = nice_step(std::max(tick_km, 7.0 / mm_per_km));
        route_kilometres(tick_km);
        progressive_kilometres(tick_km);
        signals();
        station_dots();
        // Labels, most important first.
        station_labels(stations);
        route_end();
        route_kilometre_labels(label_km);
        progressive_labels(label_km);
    }

private:
    void map(PlanMapping& mapping) {
        double x0 = std::numeric_limits<double>::max(), x1 = -x0, y0 = x0, y1 = -x0;
        for (std::int32_t m = 0; m <= in_.plan.last; ++m) {
            const PlanPoint p = in_.plan.at(m);
            x0 = std::min(x0, p.x);
            x1 = std::max(x1, p.x);
            y0 = std::min(y0, p.y);
            y1 = std::max(y1, p.y);
        }
        const double pad_side = 9, pad_top = 8, pad_bottom = 9;
        const double width = std::max(x1 - x0, 1.0), height = std::max(y1 - y0, 1.0);
        const double scale = std::min((frame_.x1 - frame_.x0 - 2 * pad_side) / width,
                                      (frame_.y1 - frame_.y0 - pad_top - pad_bottom) / height);
        mapping.scale = scale;
        mapping.centre = {(x0 + x1) / 2, (y0 + y1) / 2};
        mapping.page_centre = {(frame_.x0 + frame_.x1) / 2, (frame_.y0 + pad_top + frame_.y1 - pad_bottom) / 2};
        map_ = mapping;
    }

    PagePoint page_at(std::int32_t m) const { return map_.page(in_.plan.at(m)); }
    // The page direction of travel and the page normal to its left.
    std::pair<PagePoint, PagePoint> page_axes(std::int32_t m) const {
        const PlanPoint h = in_.plan.heading(m);
        return {{h.x, -h.y}, {-h.y, -h.x}};
    }
    bool on_plan(double position) const { return position >= 0 && position <= in_.plan.last; }

    bool hits_track(const Box& b) const {
        for (std::size_t i = 1; i < page_track_.size(); ++i) {
            if (segment_hits(page_track_[i - 1], page_track_[i], b)) return true;
        }
        return false;
    }
    bool fits(const Box& b) const { return inside(b, frame_) && taken_.free(b) && !hits_track(b); }

    // Places a label beside the point p (page), trying the sides in order;
    // returns whether it was placed.
    bool label_near(PagePoint p, const std::string& text, double size, const std::string& style,
                    const std::vector<PagePoint>& directions, double gap) {
        const double w = text_width(text, size), h = size * 0.78;
        for (const PagePoint& d : directions) {
            // The box's corner nearest to p sits at `gap` along d.
            const double cx = p.x + d.x * (gap + w / 2), cy = p.y + d.y * (gap + h / 2);
            const Box b{cx - w / 2, cy - h / 2, cx + w / 2, cy + h / 2};
            if (!fits(b)) continue;
            taken_.take(b);
            svg_.text({b.x0, b.y1}, size, text, style + " " + kHalo);
            return true;
        }
        return false;
    }

    void north_arrow() {
        const double x = frame_.x1 - 6, top = frame_.y0 + 3;
        svg_.open_group("", "North: the plan's +y axis points up the page");
        svg_.text({x, top + 3}, 2.8, "N", "font-weight=\"bold\"", "middle");
        svg_.path("M" + num(x) + " " + num(top + 4) + "l1.4 3.6h-2.8z", fill(kInk));
        svg_.line({x, top + 7.4}, {x, top + 11}, stroke(kInk, 0.35));
        svg_.close_group();
        taken_.take({x - 2.5, top, x + 2.5, top + 11.5});
    }

    void scale_bar() {
        const double width_mm = frame_.x1 - frame_.x0;
        const double metres = nice_step(0.22 * width_mm / map_.scale);
        const double len = metres * map_.scale;
        const double x = frame_.x0 + 4, y = frame_.y1 - 5;
        // The printed scale, to two significant digits.
        const double ratio = 1000.0 / map_.scale;
        const double unit = std::pow(10.0, std::floor(std::log10(ratio)) - 1);
        // A plan of absurd extent (a damaged grid file) gets a scale in powers of ten.
        const double rounded = std::round(ratio / unit) * unit;
        char scale_digits[64];
        std::snprintf(scale_digits, sizeof scale_digits, rounded < 1e15 ? "%.0f" : "%.1e", rounded);
        std::string ratio_text = scale_digits;
        if (rounded < 1e15)
            for (int i = static_cast<int>(ratio_text.size()) - 3; i > 0; i -= 3)
                ratio_text.insert(static_cast<std::size_t>(i), "\u2009");
        svg_.open_group("", "Scale bar");
        svg_.rect({x, y, x + len / 2, y + 1}, fill_and_stroke(kInk, kInk, 0.2));
        svg_.rect({x + len / 2, y, x + len, y + 1}, fill_and_stroke("#fff", kInk, 0.2));
        svg_.text({x, y - 0.8}, 2, "0", "", "middle");
        const std::string length =
            metres >= 1000 ? fixed(metres / 1000, metres >= 10000 || std::fmod(metres, 1000) == 0 ? 0 : 1) + " km"
                           : fixed(metres, 0) + " m";
        svg_.text({x + len, y - 0.8}, 2, length, "", "middle");
        svg_.text({x + len + 3, y + 1}, 2, "1 : " + ratio_text + " on A4", "fill=\"#444\"");
        svg_.close_group();
        taken_.take({x - 1, y - 3, x + len + 3 + text_width("1 : " + ratio_text + " on A4", 2), y + 1.5});
    }

    void route_kilometres(double tick_km) {
        std::string d;
        const double step = tick_km * 1000;
        for (double p = step; p <= in_.plan.last; p += step) {
            const auto m = static_cast<std::int32_t>(p);
            const PagePoint a = page_at(m);
            const PagePoint left = page_axes(m).second;
            d += "M" + num(a.x) + " " + num(a.y) + "l" + num(left.x * 1.3) + " " + num(left.y * 1.3);
        }
        if (d.empty()) return;
        svg_.open_group("", "Route kilometres, a tick every " + fixed(tick_km, 0) + " km");
        svg_.path(d, stroke(kInk, 0.2));
        svg_.close_group();
    }

    void route_kilometre_labels(double label_km) {
        const double step = label_km * 1000;
        svg_.open_group("font-size=\"2\" fill=\"#333\"");
        for (double p = step; p <= in_.plan.last; p += step) {
            const auto m = static_cast<std::int32_t>(p);
            const PagePoint left = page_axes(m).second;
            label_near(page_at(m), fixed(p / 1000, 0), 2, "", {left}, 1.6);
        }
        svg_.close_group();
    }

    void progressive_kilometres(double tick_km) {
        std::string d;
        for (const Progressive& prog : in_.progressives) {
            for (const double p : prog.positions_of_multiples(tick_km * 1000)) {
                if (!on_plan(p)) continue;
                const auto m = static_cast<std::int32_t>(std::lround(p));
                const PagePoint a = page_at(m);
                const PagePoint left = page_axes(m).second;
                d += "M" + num(a.x) + " " + num(a.y) + "l" + num(-left.x * 1.3) + " " + num(-left.y * 1.3);
            }
        }
        if (d.empty()) return;
        svg_.open_group("", "Line kilometres of the kilometric progressive");
        svg_.path(d, stroke(kProgressiveColour, 0.25));
        svg_.close_group();
    }

    void progressive_labels(double label_km) {
        for (const Progressive& prog : in_.progressives) {
            if (on_plan(prog.from_m)) {
                const auto m = static_cast<std::int32_t>(prog.from_m);
                const PagePoint right = page_axes(m).second;
                const PagePoint away{-right.x, -right.y};
                label_near(page_at(m), "line km " + fixed(prog.value_m(prog.from_m) / 1000.0, 3), 2,
                           std::string("font-style=\"italic\" fill=\"") + kProgressiveColour + "\"", {away, right},
                           1.8);
            }
            for (const double p : prog.positions_of_multiples(label_km * 1000)) {
                if (!on_plan(p)) continue;
                const auto m = static_cast<std::int32_t>(std::lround(p));
                const PagePoint left = page_axes(m).second;
                label_near(page_at(m), "km " + kilometre_value_text(prog.value_m(p), label_km * 1000), 2,
                           std::string("font-style=\"italic\" fill=\"") + kProgressiveColour + "\"",
                           {{-left.x, -left.y}}, 1.8);
            }
        }
    }

    // Signals closer than a millimetre to the last one drawn are left out:
    // on a long line they would hide the track.
    void signals() {
        svg_.open_group("");
        PagePoint last{-1e9, -1e9};
        for (const PlottedMark& s : in_.signals) {
            if (!on_plan(s.position_m)) continue;
            const PagePoint p = page_at(s.position_m);
            if (std::hypot(p.x - last.x, p.y - last.y) < 1.0) continue;
            last = p;
            svg_.open_group("", "Signal at " + km_text(s.position_m) + " (cell " + std::to_string(s.cell) + ")");
            plan_signal_symbol(svg_, p);
            svg_.close_group();
        }
        svg_.close_group();
    }

    void station_dots() {
        for (const Station& s : in_.stations) {
            if (!on_plan(s.plotted.position_m)) continue;
            const PagePoint p = page_at(s.plotted.position_m);
            svg_.open_group("", s.details);
            station_dot(svg_, p, 0.95);
            svg_.close_group();
            taken_.take({p.x - 1, p.y - 1, p.x + 1, p.y + 1});
        }
    }

    void station_labels(std::vector<Station>& stations) {
        for (Station& s : stations) {
            if (!on_plan(s.plotted.position_m)) continue;
            const auto m = s.plotted.position_m;
            const PagePoint p = page_at(m);
            const PagePoint left = page_axes(m).second;
            const PagePoint right{-left.x, -left.y};
            // Beside the track first (either side), then along it.
            const std::vector<PagePoint> directions{{1, 0}, {-1, 0},     right,       left,       {0, -1},
                                                    {0, 1}, {0.7, -0.7}, {-0.7, 0.7}, {0.7, 0.7}, {-0.7, -0.7}};
            s.plotted.named_in_plan = label_near(p, s.plotted.name, 2.3, "font-weight=\"bold\"", directions, 1.4) ||
                                      label_near(p, s.plotted.name, 2.3, "font-weight=\"bold\"", directions, 3.5);
        }
    }

    void route_end() {
        if (!on_plan(in_.route_length_m) || in_.route_length_m <= 0) return;
        const auto m = in_.route_length_m;
        const PagePoint p = page_at(m);
        const PagePoint left = page_axes(m).second;
        svg_.open_group("", "End of the route at " + km_text(m));
        svg_.line({p.x - left.x * 1.8, p.y - left.y * 1.8}, {p.x + left.x * 1.8, p.y + left.y * 1.8},
                  stroke(kInk, 0.5));
        svg_.close_group();
        label_near(p, "end of route", 2, "fill=\"#333\"", {left, {-left.x, -left.y}, {1, 0}, {-1, 0}}, 2.2);
    }

    Svg& svg_;
    const PlanInput& in_;
    Box frame_;
    PlanMapping map_;
    std::vector<PagePoint> page_track_;
    Taken taken_;
};

// ------------------------------------------------------------------------
// The profile.

struct ProfileData {
    std::int32_t end_m = 0;          // the end of the last cell
    std::size_t last_data_cell = 0;  // cells 1 to this hold gradient and speed
    std::vector<double> height;      // at 50·i metres, i = 0 to last_data_cell

    double height_at(double position) const {
        if (height.empty()) return 0;
        const double i = std::clamp(position / kCellLength, 0.0, static_cast<double>(height.size() - 1));
        const auto a = static_cast<std::size_t>(std::floor(i));
        const std::size_t b = std::min(a + 1, height.size() - 1);
        return height[a] + (height[b] - height[a]) * (i - static_cast<double>(a));
    }
};

ProfileData profile_data(const std::vector<Cell>& celle) {
    ProfileData data;
    data.end_m = position_to_cell_start(celle.size());  // the end of cell size − 1
    for (std::size_t i = 1; i < celle.size(); ++i) {
        if (celle[i].gradient != 0 || celle[i].speed_limit != 0) data.last_data_cell = i;
    }
    data.height.push_back(0);
    for (std::size_t i = 1; i <= data.last_data_cell; ++i) {
        data.height.push_back(data.height.back() + (celle[i].gradient - 100) * (kCellLength / 1000.0));
    }
    return data;
}

class ProfileDrawing {
public:
    ProfileDrawing(Svg& svg, const std::vector<Cell>& celle, const StationTable& tabella,
                   const std::vector<Progressive>& progressives, std::int32_t route_length_m)
        : svg_(svg),
          celle_(celle),
          tabella_(tabella),
          progressives_(progressives),
          route_length_m_(route_length_m),
          data_(profile_data(celle)) {}

    const ProfileData& data() const { return data_; }

    void draw(std::vector<Station>& stations, std::vector<PlottedMark>& marks) {
        svg_.text({kMargin, kStationBandTop + 3}, 3, "Profile", "font-weight=\"bold\"");
        svg_.text({kMargin, kStationBandTop + 6.5}, 2, "along the route", "fill=\"#444\"");
        distance_scale();
        background();
        station_areas(stations);
        height_axis();
        speed_axis();
        height_line();
        speed_line();
        route_end();
        station_lines(stations);
        gradient_band();
        lanes(marks);
        distance_axis();
        line_kilometres();
        station_labels(stations);
    }

private:
    double X(double position) const {
        return kProfileX0 + position / std::max(data_.end_m, 1) * (kProfileX1 - kProfileX0);
    }
    bool on_profile(double position) const { return position >= 0 && position <= data_.end_m; }
    double mm_per_km() const { return 1000.0 * (kProfileX1 - kProfileX0) / std::max(data_.end_m, 1); }
    double lane_base(int lane) const { return kLaneTop + (lane + 1) * kLaneHeight - 0.5; }

    void distance_scale() {
        major_km_ = nice_step(13.0 / mm_per_km());
        minor_km_ = major_km_;
        for (const double f : {0.5, 0.2, 0.1}) {
            if (major_km_ * f * mm_per_km() >= 1.5) {
                minor_km_ = major_km_ * f;
                if (f == 0.5) continue;
                break;
            }
        }
        minor_km_ = std::max(minor_km_, nice_step(1.5 / mm_per_km()));
    }

    void background() {
        std::string d;
        for (double k = 0; k * 1000 <= data_.end_m; k += major_km_) {
            d += "M" + num(X(k * 1000)) + " " + num(kChartTop) + "V" + num(kAxisY);
        }
        svg_.path(d, stroke(kGridLine, 0.15));
        svg_.rect({kProfileX0, kChartTop, kProfileX1, kChartBottom}, stroke(kInk, 0.25));
        svg_.rect({kProfileX0, kGradientTop, kProfileX1, kGradientBottom}, stroke(kInk, 0.2));
        svg_.text({kProfileX0 - 1.5, (kGradientTop + kGradientBottom) / 2 + 0.7}, 2, "Gradient (\u2030)", "", "end");
        for (int lane = 0; lane < kLanes; ++lane) {
            const double base = lane_base(lane);
            svg_.line({kProfileX0, base}, {kProfileX1, base}, stroke("#bdbdbd", 0.15));
            svg_.text({kProfileX0 - 1.5, base - 0.9}, 2, kLaneNames[lane], "", "end");
        }
    }

    void station_areas(const std::vector<Station>& stations) {
        svg_.open_group("fill=\"#000\" fill-opacity=\"0.08\"");
        for (const Station& s : stations) {
            const double a = X(std::clamp<double>(s.start, 0, data_.end_m));
            const double b = X(std::clamp<double>(s.end, 0, data_.end_m));
            if (b <= a) continue;
            svg_.rect({a, kChartTop, b, kChartBottom}, "");
        }
        svg_.close_group();
    }

    void height_axis() {
        double lo = 0, hi = 0;
        for (const double h : data_.height) {
            lo = std::min(lo, h);
            hi = std::max(hi, h);
        }
        if (hi - lo < 10) {
            const double mid = (hi + lo) / 2;
            lo = mid - 5;
            hi = mid + 5;
        }
        const double step = nice_step((hi - lo) / 4);
        height_lo_ = std::floor(lo / step) * step;
        height_hi_ = std::ceil(hi / step) * step;
        svg_.open_group("font-size=\"2\"");
        for (double h = height_lo_; h <= height_hi_ + step / 2; h += step) {
            const double y = height_y(h);
            svg_.line({kProfileX0 - 0.8, y}, {kProfileX0, y}, stroke(kInk, 0.2));
            svg_.line({kProfileX0, y}, {kProfileX1, y}, stroke(kGridLine, 0.12));
            svg_.text({kProfileX0 - 1.2, y + 0.7}, 2, std::abs(h) < 1e-9 ? "0" : fixed(h, step < 1 ? 1 : 0), "", "end");
        }
        svg_.close_group();
        svg_.vertical_text({kProfileX0 - 8.5, (kChartTop + kChartBottom) / 2}, 2.2, "Height (m)");
    }
    double height_y(double h) const {
        return kChartBottom - kChartPad -
               (h - height_lo_) / std::max(height_hi_ - height_lo_, 1e-9) * (kChartBottom - kChartTop - 2 * kChartPad);
    }

    void speed_axis() {
        int top = 0;
        for (std::size_t i = 1; i <= data_.last_data_cell; ++i) top = std::max(top, celle_[i].speed_limit * 5);
        const double step = nice_step(std::max(top, 20) / 4.0);
        speed_top_ = std::ceil((top + 1) / step) * step;
        svg_.open_group(std::string("font-size=\"2\" fill=\"") + kSpeedColour + "\"");
        for (double v = 0; v <= speed_top_ + step / 2; v += step) {
            const double y = speed_y(v);
            svg_.line({kProfileX1, y}, {kProfileX1 + 0.8, y}, stroke(kSpeedColour, 0.2));
            svg_.text({kProfileX1 + 1.2, y + 0.7}, 2, fixed(v, 0));
        }
        svg_.close_group();
        svg_.vertical_text({kProfileX1 + 9, (kChartTop + kChartBottom) / 2}, 2.2, "Speed limit (km/h)",
                           std::string("fill=\"") + kSpeedColour + "\"");
    }
    double speed_y(double v) const {
        return kChartBottom - kChartPad - v / speed_top_ * (kChartBottom - kChartTop - 2 * kChartPad);
    }

    void height_line() {
        if (data_.last_data_cell == 0) return;
        std::string d = "M" + num(X(0)) + " " + num(height_y(0));
        for (std::size_t i = 1; i <= data_.last_data_cell; ++i) {
            const bool bend = i == data_.last_data_cell || celle_[i + 1].gradient != celle_[i].gradient;
            if (bend) d += "L" + num(X(static_cast<double>(i) * kCellLength)) + " " + num(height_y(data_.height[i]));
        }
        svg_.open_group("", "Height from the gradients, 0 m at the start of the route");
        svg_.path(d, stroke(kInk, 0.45) + " stroke-linejoin=\"round\"");
        svg_.close_group();
    }

    void speed_line() {
        if (data_.last_data_cell == 0) return;
        std::string d;
        int current = -1;
        for (std::size_t i = 1; i <= data_.last_data_cell; ++i) {
            const int v = celle_[i].speed_limit * 5;
            const double x = X(position_to_cell_start(i));
            if (current < 0) {
                d = "M" + num(x) + " " + num(speed_y(v));
            } else if (v != current) {
                d += "H" + num(x) + "V" + num(speed_y(v));
            }
            current = v;
        }
        d += "H" + num(X(static_cast<double>(data_.last_data_cell) * kCellLength));
        svg_.open_group("", "Line speed limit");
        svg_.path(d, stroke(kSpeedColour, 0.4, "1.6 0.7"));
        svg_.close_group();
    }

    void route_end() {
        if (!on_profile(route_length_m_) || route_length_m_ <= 0) return;
        const double x = X(route_length_m_);
        svg_.open_group("", "End of the route at " + km_text(route_length_m_));
        svg_.line({x, kChartTop}, {x, kChartBottom}, stroke(kInk, 0.3, "2 0.6 0.4 0.6"));
        svg_.text({x - 0.8, kChartTop + 2.6}, 1.9, "end of route", "fill=\"#333\" " + kHalo, "end");
        svg_.close_group();
    }

    void station_lines(const std::vector<Station>& stations) {
        for (const Station& s : stations) {
            if (!on_profile(s.plotted.position_m)) continue;
            const double x = X(s.plotted.position_m);
            svg_.open_group("", s.details);
            svg_.line({x, kChartTop}, {x, kAxisY}, stroke("#7a7a7a", 0.2, "0.6 0.6"));
            station_dot(svg_, {x, height_y(data_.height_at(s.plotted.position_m))}, 0.75);
            svg_.close_group();
        }
    }

    void gradient_band() {
        if (data_.last_data_cell == 0) return;
        const double mid = (kGradientTop + kGradientBottom) / 2;
        std::size_t first = 1;
        std::string separators;
        std::string slopes;
        std::string labels;
        svg_.open_group("font-size=\"1.9\"");
        for (std::size_t i = 1; i <= data_.last_data_cell; ++i) {
            if (i < data_.last_data_cell && celle_[i + 1].gradient == celle_[first].gradient) continue;
            const double a = X(position_to_cell_start(first)), b = X(static_cast<double>(i) * kCellLength);
            const int g = celle_[first].gradient - 100;
            if (first > 1) separators += "M" + num(a) + " " + num(kGradientTop) + "V" + num(kGradientBottom);
            if (b - a > 1.2) {
                const double rise = g > 0 ? 1.8 : g < 0 ? -1.8 : 0;
                slopes += "M" + num(a + 0.3) + " " + num(mid + rise) + "L" + num(b - 0.3) + " " + num(mid - rise);
            }
            const std::string value = signed_text(g);
            const std::string with_unit = value + "\u2009\u2030";
            const std::string title = "Gradient " + value + " \u2030 from " + km_text(position_to_cell_start(first)) +
                                      " to " + km_text(static_cast<double>(i) * kCellLength);
            const std::string* shown = nullptr;
            if (text_width(with_unit, 1.9) + 0.6 < b - a) {
                shown = &with_unit;
            } else if (text_width(value, 1.9) + 0.4 < b - a) {
                shown = &value;
            }
            if (shown != nullptr) {
                labels += "<text x=\"" + num((a + b) / 2) + "\" y=\"" + num(mid + 0.7) + "\" text-anchor=\"middle\" " +
                          kHalo + "><title>" + xml(title) + "</title>" + xml(*shown) + "</text>\n";
            }
            first = i + 1;
        }
        svg_.path(slopes, stroke("#9a9a9a", 0.15));
        svg_.path(separators, stroke(kInk, 0.2));
        svg_.out += labels;
        svg_.close_group();
    }

    // The room a symbol takes in its lane, from a to b.
    void occupy(int lane, double a, double b) {
        lane_taken_.take({a, lane_base(lane) - 3.4, b, lane_base(lane)});
        lane_used_[lane] = true;
    }

    // A label right of x in a lane, placed once every symbol is drawn.
    void lane_label(double x, int lane, const std::string& text, const char* colour) {
        pending_labels_.push_back({x, lane, text, colour});
    }

    void place_lane_labels() {
        const double size = 1.8;
        for (const PendingLabel& l : pending_labels_) {
            const double w = text_width(l.text, size);
            const Box b{l.x + 0.2, lane_base(l.lane) - 2.6, l.x + 0.2 + w, lane_base(l.lane) - 0.6};
            if (b.x1 > kProfileX1 + 6 || !lane_taken_.free(b)) continue;
            lane_taken_.take(b);
            svg_.text({b.x0, lane_base(l.lane) - 0.9}, size, l.text, std::string("fill=\"") + l.colour + "\"");
        }
        for (int lane = 0; lane < kLanes; ++lane) {
            if (!lane_used_[lane]) {
                svg_.text({kProfileX0 + 1, lane_base(lane) - 0.9}, 1.8, "none", "fill=\"#777\" font-style=\"italic\"");
            }
        }
    }

    void mark(std::vector<PlottedMark>& marks, std::size_t cell) {
        marks.push_back({celle_[cell].kind, cell, position_to_cell_start(cell)});
    }

    std::string cell_place(std::size_t cell) const {
        return km_text(position_to_cell_start(cell)) + " (cell " + std::to_string(cell) + ")";
    }

    void lanes(std::vector<PlottedMark>& marks) {
        // Mountain stretches first, under their markers.
        mountain_stretches();
        for (std::size_t i = 0; i < celle_.size(); ++i) {
            const Cell& c = celle_[i];
            const double position = position_to_cell_start(i);
            if (c.kind == kEmpty || c.kind == kStationEnd || !on_profile(position)) continue;
            const double x = X(position);
            switch (c.kind) {
                case kSignal: {
                    svg_.open_group("", "Signal at " + cell_place(i) + ": values " + std::to_string(c.value_1) + " " +
                                            std::to_string(c.value_2) + " " + std::to_string(c.value_3) + " " +
                                            std::to_string(c.value_4) + ", time " + std::to_string(c.signal_time));
                    signal_symbol(svg_, {x, lane_base(kSignalLane)});
                    svg_.close_group();
                    occupy(kSignalLane, x - 0.7, x + 0.7);
                    mark(marks, i);
                    break;
                }
                case kSpeedBoard: {
                    const auto left = [](int v) { return static_cast<int>(std::floor(v / 20.0)); };
                    const auto right = [&](int v) { return (v - left(v) * 20) * 5; };
                    std::string speeds;
                    for (const int v : {c.value_1, c.value_2, c.value_3}) {
                        speeds += (speeds.empty() ? "" : ", ") + std::to_string(left(v));
                        if (right(v) != 0) speeds += "|" + std::to_string(right(v));
                    }
                    svg_.open_group("", "Speed board at " + cell_place(i) + ": A, B, C " + speeds +
                                            " km/h (left|right), stripes " + std::to_string(c.value_4));
                    board_symbol(svg_, {x, lane_base(kBoardLane)});
                    svg_.close_group();
                    occupy(kBoardLane, x - 0.8, x + 0.8);
                    std::string label = std::to_string(left(c.value_1));
                    if (right(c.value_1) != 0) label += "|" + std::to_string(right(c.value_1));
                    lane_label(x + 0.8, kBoardLane, label, kBoardColour);
                    mark(marks, i);
                    break;
                }
                case kSign: {
                    std::string text = "(no text)";
                    if (c.value_1 >= 0 && c.value_1 < kTableEntries) {
                        text = sign_lines(tabella_[static_cast<std::size_t>(c.value_1)].name);
                    }
                    svg_.open_group("", "Sign board at " + cell_place(i) + ": " + text);
                    sign_symbol(svg_, {x, lane_base(kSignLane)});
                    svg_.close_group();
                    occupy(kSignLane, x - 1.0, x + 1.0);
                    mark(marks, i);
                    break;
                }
                case kSlowdownStart: {
                    slowdown(i);
                    mark(marks, i);
                    break;
                }
                case kSlowdownEnd: {
                    mark(marks, i);  // drawn with its start
                    break;
                }
                case kSlowdownWarning: {
                    svg_.open_group(
                        "", "Slowdown warning at " + cell_place(i) + ": " + std::to_string(c.value_1) + " km/h");
                    warning_symbol(svg_, {x, lane_base(kSlowdownLane)});
                    svg_.close_group();
                    occupy(kSlowdownLane, x - 0.9, x + 0.9);
                    mark(marks, i);
                    break;
                }
                case kBeforeWarning: {
                    svg_.open_group(
                        "", "Point " + std::to_string(c.value_1) + " before a slowdown warning, " + cell_place(i));
                    before_warning_symbol(svg_, {x, lane_base(kSlowdownLane)});
                    svg_.close_group();
                    occupy(kSlowdownLane, x - 0.35, x + 0.35);
                    mark(marks, i);
                    break;
                }
                case kCodeDrop:
                case kCodeDropWithoutValue: {
                    const bool with_value = c.kind == kCodeDrop;
                    svg_.open_group("", "Code-drop point at " + cell_place(i) +
                                            (with_value ? ": " + std::to_string(c.value_1) : ", without value"));
                    code_drop_symbol(svg_, {x, lane_base(kCodeDropLane)}, with_value);
                    svg_.close_group();
                    occupy(kCodeDropLane, x - 0.8, x + 0.8);
                    if (with_value) lane_label(x + 0.8, kCodeDropLane, std::to_string(c.value_1), kCodeDropColour);
                    mark(marks, i);
                    break;
                }
                case kMountainMarker: {
                    svg_.open_group("", "Mountain marker at " + cell_place(i));
                    mountain_marker_symbol(svg_, {x, lane_base(kMountainLane)});
                    svg_.close_group();
                    occupy(kMountainLane, x - 0.2, x + 0.2);
                    mark(marks, i);
                    break;
                }
                default: {
                    svg_.open_group("", "Cell " + std::to_string(i) + ": unknown type " + std::to_string(c.kind));
                    svg_.text({x, lane_base(kSignLane) - 0.8}, 2, "?", "", "middle");
                    svg_.close_group();
                    mark(marks, i);
                }
            }
        }
        place_lane_labels();
    }

    void slowdown(std::size_t start) {
        std::size_t end = start;
        for (std::size_t j = start + 1; j < celle_.size(); ++j) {
            if (celle_[j].kind == kSlowdownEnd) {
                end = j;
                break;
            }
            if (celle_[j].kind == kSlowdownStart) break;
        }
        const Cell& c = celle_[start];
        const double a = X(position_to_cell_start(start));
        const double b = std::max(X(position_to_cell_start(end)), a + 0.5);
        const double base = lane_base(kSlowdownLane);
        svg_.open_group("", "Slowdown to " + std::to_string(c.value_1) + " km/h from " + cell_place(start) +
                                (end != start ? " to " + cell_place(end) : ", without an end cell"));
        svg_.rect({a, base - 2.2, b, base - 0.9}, fill_and_stroke(kSlowdownColour, kInk, 0.15));
        svg_.close_group();
        occupy(kSlowdownLane, a, b);
        lane_label(b, kSlowdownLane, std::to_string(c.value_1) + " km/h", kSlowdownColour);
    }

    void mountain_stretches() {
        std::size_t i = 1;
        while (i < celle_.size()) {
            const std::uint8_t kind = celle_[i].mountain_kind;
            if (kind == 0) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j + 1 < celle_.size() && celle_[j + 1].mountain_kind == kind) ++j;
            const double a = X(position_to_cell_start(i)), b = X(static_cast<double>(j) * kCellLength);
            const double base = lane_base(kMountainLane);
            svg_.open_group("", "Mountain stretch of kind " + std::to_string(kind) + " from " +
                                    km_text(position_to_cell_start(i)) + " to " +
                                    km_text(static_cast<double>(j) * kCellLength));
            svg_.rect({a, base - 3.5, std::max(b, a + 0.4), base - 1.7},
                      std::string("fill=\"") + kMountainColour + "\" fill-opacity=\"0.35\" stroke=\"" +
                          kMountainColour + "\" stroke-width=\"0.2\"");
            svg_.close_group();
            const std::string label = "kind " + std::to_string(kind);
            if (text_width(label, 1.4) + 0.6 < b - a) {
                svg_.text({(a + b) / 2, base - 2.1}, 1.4, label, std::string("fill=\"#0b3d1a\""), "middle");
            }
            lane_used_[kMountainLane] = true;
            i = j + 1;
        }
    }

    void distance_axis() {
        svg_.line({kProfileX0, kAxisY}, {kProfileX1, kAxisY}, stroke(kInk, 0.25));
        std::string minor, major;
        for (double k = 0; k * 1000 <= data_.end_m + 1e-6; k += minor_km_) {
            const double x = X(k * 1000);
            const double ratio = k / major_km_;
            const bool is_major = std::abs(ratio - std::round(ratio)) < 1e-6;
            (is_major ? major : minor) += "M" + num(x) + " " + num(kAxisY) + "v" + (is_major ? "1.2" : "0.6");
        }
        svg_.path(minor, stroke(kInk, 0.15));
        svg_.path(major, stroke(kInk, 0.25));
        svg_.open_group("font-size=\"2.1\" text-anchor=\"middle\"");
        for (double k = 0; k * 1000 <= data_.end_m + 1e-6; k += major_km_) {
            svg_.text({X(k * 1000), kAxisY + 3.7}, 2.1, kilometre_value_text(k * 1000, major_km_ * 1000));
        }
        svg_.close_group();
        svg_.text({kProfileX0 - 1.5, kAxisY + 3.7}, 2, "Route km", "", "end");
        svg_.text({(kProfileX0 + kProfileX1) / 2, kAxisY + 12.6}, 2.3, "Distance along the route (km)", "", "middle");
    }

    void line_kilometres() {
        const double y = kAxisY + 8;
        svg_.text({kProfileX0 - 1.5, y}, 2, "Line km", std::string("fill=\"") + kProgressiveColour + "\"", "end");
        if (progressives_.empty()) {
            svg_.text({kProfileX0, y}, 1.9, "(no kilometric progressive)", "fill=\"#666\" font-style=\"italic\"");
            return;
        }
        Taken taken;
        const std::string style = std::string("fill=\"") + kProgressiveColour + "\" font-style=\"italic\"";
        const auto label = [&](double position, const std::string& text) {
            const double w = text_width(text, 1.9);
            const double x = X(position);
            const Box b{x - w / 2 - 0.6, y - 1.8, x + w / 2 + 0.6, y + 0.4};
            if (b.x0 < kProfileX0 - 2 || b.x1 > kProfileX1 + 4 || !taken.free(b)) return;
            taken.take(b);
            svg_.text({x, y}, 1.9, text, style, "middle");
        };
        std::string ticks;
        for (const Progressive& p : progressives_) {
            const double a = X(p.from_m);
            ticks += "M" + num(a) + " " + num(y - 4) + "v2.2";
            label(p.from_m, fixed(p.value_m(p.from_m) / 1000.0, 3) + (p.falling ? " \u2193" : " \u2191"));
        }
        for (const Progressive& p : progressives_) {
            for (const double position : p.positions_of_multiples(major_km_ * 1000)) {
                if (!on_profile(position)) continue;
                ticks += "M" + num(X(position)) + " " + num(y - 3.6) + "v1.4";
                label(position, kilometre_value_text(p.value_m(position), major_km_ * 1000));
            }
        }
        svg_.open_group("", "Line kilometres of the kilometric progressive; the first value where it starts");
        svg_.path(ticks, stroke(kProgressiveColour, 0.25));
        svg_.close_group();
    }

    // Names and times written slanted upwards from the top of the chart, as
    // on a railway profile: labels need only a few millimetres of width, and
    // one that would touch the previous label is left out.
    void station_labels(std::vector<Station>& stations) {
        const double name_size = 2.2, time_size = 1.9;
        const double slant = std::sqrt(0.5);
        const double base_y = kStationBandBottom - 2.3;
        const double min_gap = 6.2;
        double last_x = -std::numeric_limits<double>::max();
        for (Station& s : stations) {
            if (!on_profile(s.plotted.position_m)) continue;
            const double x = X(s.plotted.position_m);
            if (x - last_x < min_gap) continue;
            // Room along the slant: up to the band's top and the page's right edge.
            const double room = std::min((base_y - kStationBandTop) / slant, (kPageWidth - 2 - x) / slant);
            const std::string name = fit_text(s.plotted.name, name_size, room);
            const std::string times = fit_text(s.plotted.times, time_size, room - 1);
            if (name.empty()) continue;
            last_x = x;
            svg_.open_group("", s.details);
            svg_.line({x, base_y + 0.6}, {x, kChartTop}, stroke("#7a7a7a", 0.2));
            svg_.out += "<g transform=\"translate(" + num(x + 0.3) + " " + num(base_y) + ") rotate(-45)\">";
            svg_.text({0, 0}, name_size, name, "font-weight=\"bold\"");
            svg_.text({0.9, 2.3}, time_size, times, "fill=\"#333\"");
            svg_.out += "</g>\n";
            svg_.close_group();
            s.plotted.named_in_profile = true;
        }
    }

    Svg& svg_;
    const std::vector<Cell>& celle_;
    const StationTable& tabella_;
    const std::vector<Progressive>& progressives_;
    std::int32_t route_length_m_;
    ProfileData data_;
    double major_km_ = 1;
    double minor_km_ = 1;
    double height_lo_ = 0;
    double height_hi_ = 1;
    double speed_top_ = 1;
    Taken lane_taken_;
    bool lane_used_[kLanes] = {};
    struct PendingLabel {
        double x;
        int lane;
        std::string text;
        const char* colour;
    };
    std::vector<PendingLabel> pending_labels_;
};

// ------------------------------------------------------------------------
// The legend.

struct LegendEntry {
    void (*symbol)(Svg&, PagePoint);
    const char* text;
};

void legend_line(Svg& svg, PagePoint at, const char* colour, double width, const std::string& dash) {
    svg.line({at.x - 3, at.y - 1}, {at.x + 3, at.y - 1}, stroke(colour, width, dash));
}

void draw_legend(Svg& svg, const Box& box, const std::vector<std::string>& summary) {
    svg.rect(box, stroke("#999", 0.2));
    svg.text({box.x0 + 2, box.y0 + 4.2}, 3, "Legend", "font-weight=\"bold\"");
    const std::vector<LegendEntry> entries{
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
        {[](Svg& s, PagePoint p) { legend_line(s, p, kSpeedColour, 0.4, "1.6 0.7"); },
         "Profile: line speed limit (km/h)"},
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
             s.rect({p.x - 3, p.y - 2.6, p.x + 3, p.y - 0.8}, std::string("fill=\"") + kMountainColour +
                                                                  "\" fill-opacity=\"0.35\" stroke=\"" +
                                                                  kMountainColour + "\" stroke-width=\"0.2\"");
             mountain_marker_symbol(s, {p.x + 1.5, p.y + 0.8});
         },
         "Mountain stretch (kind), marker"},
    };
    const double row = 4.3;
    const double column_width = (box.x1 - box.x0 - 4) / 2;
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

}  // namespace

ScenarioPlot plot_scenario(std::string_view cells, std::string_view station_table, std::string_view grid) {
    const std::vector<Cell> celle = read_cells(cells);
    const StationTable tabella = read_station_table(station_table);
    const Plan plan = read_plan(grid);

    ScenarioPlot result;
    result.last_computed_metre = plan.last;
    result.route_length_m = tabella[kTrainEntry].end;
    std::vector<Station> stations = read_stations(tabella);

    std::vector<PlottedMark> signals;
    for (std::size_t i = 0; i < celle.size(); ++i) {
        if (celle[i].kind == kSignal) signals.push_back({kSignal, i, position_to_cell_start(i)});
    }
    const std::int32_t end_m = position_to_cell_start(celle.size());
    const std::vector<Progressive> progressives = read_progressives(tabella, end_m);

    const std::string scenario_name = table_text(tabella[kScenarioEntry].name);
    const std::string train_number = table_text(tabella[kSignallingEntry].name);

    Svg svg;
    svg.out += "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n";
    svg.out += "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + num(kPageWidth) +
               "mm\" height=\"" + num(kPageHeight) + "mm\" viewBox=\"0 0 " + num(kPageWidth) + " " + num(kPageHeight) +
               "\" font-family=\"" + kFont + "\">\n";
    svg.out += "<title>" + xml("Plan and profile of " + scenario_name + ", train " + train_number) + "</title>\n";
    svg.rect({0, 0, kPageWidth, kPageHeight}, fill("#fff"));
    svg.text({kMargin, 9}, 4.4, scenario_name + "  \u2013  train " + train_number, "font-weight=\"bold\"");
    svg.text({kPageWidth - kMargin, 9}, 2.4,
             "route " + km_text(result.route_length_m) + "  \u00b7  cells 0 to " + std::to_string(celle.size() - 1) +
                 "  \u00b7  plan computed to metre " + std::to_string(plan.last),
             "fill=\"#333\"", "end");

    // The plan takes the width its shape needs; the legend the rest.
    double plan_width = 120;
    if (plan.last >= 1) {
        double x0 = plan.x[0], x1 = x0, y0 = plan.y[0], y1 = y0;
        for (std::size_t m = 0; m < plan.x.size(); ++m) {
            x0 = std::min(x0, plan.x[m]);
            x1 = std::max(x1, plan.x[m]);
            y0 = std::min(y0, plan.y[m]);
            y1 = std::max(y1, plan.y[m]);
        }
        const double aspect = std::max(x1 - x0, 1.0) / std::max(y1 - y0, 1.0);
        plan_width = std::clamp(aspect * (kTopHeight - 17) + 18 + 40, 115.0, 175.0);
    }
    const Box plan_frame{kMargin, kTopY, kMargin + plan_width, kTopY + kTopHeight};
    const Box legend_frame{plan_frame.x1 + 4, kTopY, kPageWidth - kMargin, kTopY + kTopHeight};

    svg.open_group("id=\"plan\"");
    const PlanInput plan_input{plan, stations, signals, progressives, result.route_length_m};
    PlanDrawing(svg, plan_input, plan_frame).draw(result, stations);
    svg.close_group();

    svg.open_group("id=\"profile\"");
    ProfileDrawing profile(svg, celle, tabella, progressives, result.route_length_m);
    profile.draw(stations, result.marks);
    svg.close_group();
    result.profile_end_m = profile.data().end_m;

    std::size_t n_signals = 0, n_boards = 0, n_signs = 0, n_slowdowns = 0, n_code_drops = 0;
    for (const PlottedMark& m : result.marks) {
        n_signals += m.kind == kSignal;
        n_boards += m.kind == kSpeedBoard;
        n_signs += m.kind == kSign;
        n_slowdowns += m.kind == kSlowdownStart;
        n_code_drops += m.kind == kCodeDrop || m.kind == kCodeDropWithoutValue;
    }
    std::size_t stretches = 0;
    for (std::size_t i = 1; i < celle.size(); ++i)
        stretches += celle[i].mountain_kind != 0 && celle[i].mountain_kind != celle[i - 1].mountain_kind;
    std::vector<std::string> summary{
        std::to_string(stations.size()) + " stations, " + std::to_string(n_signals) + " signals, " +
            std::to_string(n_boards) + " speed boards, " + std::to_string(n_signs) + " sign boards",
        std::to_string(n_slowdowns) + " slowdowns, " + std::to_string(n_code_drops) + " code-drop points, " +
            std::to_string(stretches) + " mountain stretches",
        "Cell i covers the metres (i \u2212 1)\u00b750 to i\u00b750; its objects are drawn at (i \u2212 1)\u00b750, "
        "the profile runs to the last cell.",
        "Hover over a mark in a browser for its values."};
    for (const Progressive& prog : progressives) {
        summary.push_back("Kilometric progressive from " + km_text(prog.from_m) + ": line km " +
                          fixed(prog.value_m(prog.from_m) / 1000.0, 3) +
                          (prog.falling ? ", falling (\u2193)" : ", rising (\u2191)"));
    }
    if (!stations.empty()) {
        const Station& first = stations.front();
        const Station& last = stations.back();
        summary.insert(summary.begin(), first.plotted.name + " " + first.plotted.times + "  \u2192  " +
                                            last.plotted.name + " " + last.plotted.times);
    }
    svg.open_group("id=\"legend\"");
    draw_legend(svg, legend_frame, summary);
    svg.close_group();

    svg.out += "</svg>\n";
    result.svg = std::move(svg.out);
    for (Station& s : stations) result.stations.push_back(std::move(s.plotted));
    return result;
}

}  // namespace scenariogen
