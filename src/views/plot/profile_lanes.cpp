#include "views/plot/profile_lanes.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "views/plot/label_placement.h"
#include "views/plot/symbols.h"
#include "views/plot/text_formats.h"
#include "views/plot/text_measure.h"

namespace scenariogen::plotting {

namespace {

// A speed board's speed as drawn: left speed, and "|right" when there is one.
int left_speed(int v) { return static_cast<int>(std::floor(v / 20.0)); }
int right_speed(int v) { return (v - left_speed(v) * 20) * 5; }
std::string board_speed(int v) {
    std::string text = std::to_string(left_speed(v));
    if (right_speed(v) != 0) text += "|" + std::to_string(right_speed(v));
    return text;
}

// Speeds A, B and C of a board as its label: one value when all three agree.
std::string board_speeds(const Cell& c) {
    if (c.value_2 == c.value_1 && c.value_3 == c.value_1) return board_speed(c.value_1);
    return board_speed(c.value_1) + "/" + board_speed(c.value_2) + "/" + board_speed(c.value_3);
}

// What a signal cell's values hold: the side codes and rapp of value 4, and
// the paired left and right digits of values 1 to 3.
std::string signal_details(const Cell& c) {
    const int sides = c.value_4 % 10;
    std::string text = "left code sx " + std::to_string(sides / 3) + ", right code dx " + std::to_string(sides % 3) +
                       ", rapp " + std::to_string(c.value_4 / 10) + "; s1 s2 s3 " + std::to_string(c.value_1 / 10) +
                       " " + std::to_string(c.value_2 / 10) + " " + std::to_string(c.value_3 / 10) + ", d1 d2 d3 " +
                       std::to_string(c.value_1 % 10) + " " + std::to_string(c.value_2 % 10) + " " +
                       std::to_string(c.value_3 % 10);
    if (c.signal_time != 0) text += "; time " + std::to_string(c.signal_time);
    return text;
}

class ProfileLanes {
public:
    ProfileLanes(Svg& svg, const ProfileScale& scale, const PageContent& content)
        : svg_(svg), scale_(scale), cells_(content.cells), table_(content.table) {}

    void draw(std::vector<PlottedMark>& marks, std::vector<PlacedLabel>& labels) {
        // Mountain stretches first, under their markers.
        mountain_stretches();
        slowdowns_from_before();
        for (std::size_t i = 0; i < cells_.size(); ++i) {
            const Cell& c = cells_[i];
            const double position = position_to_cell_start(i);
            if (c.kind == kEmpty || c.kind == kStationEnd || !scale_.on_profile(position)) continue;
            object(i, scale_.X(position));
            marks.push_back({c.kind, i, position_to_cell_start(i)});
        }
        place_labels(labels);
    }

private:
    void object(std::size_t i, double x) {
        switch (cells_[i].kind) {
            case kSignal:
                return signal(i, x);
            case kSpeedBoard:
                return speed_board(i, x);
            case kSign:
                return sign(i, x);
            case kSlowdownStart:
                return slowdown(i);
            case kSlowdownEnd:
                return;  // drawn with its start
            case kSlowdownWarning:
                return symbol(
                    kSlowdownLane, x, 0.9, warning_symbol,
                    "Slowdown warning at " + cell_place(i) + ": " + std::to_string(cells_[i].value_1) + " km/h");
            case kBeforeWarning:
                return symbol(kSlowdownLane, x, 0.35, before_warning_symbol,
                              "Point " + std::to_string(cells_[i].value_1) +
                                  " of the four before a slowdown warning, " + cell_place(i));
            case kCodeDrop:
            case kCodeDropWithoutValue:
                return code_drop(i, x);
            case kMountainMarker:
                return symbol(kMountainLane, x, 0.2, mountain_marker_symbol, "Mountain marker at " + cell_place(i));
            default:
                svg_.open_group("", "Cell " + std::to_string(i) + ": unknown type " + std::to_string(cells_[i].kind));
                svg_.text({x, lane_base(kSignLane) - 0.8}, 2, "?", "", "middle");
                svg_.close_group();
        }
    }

    std::string cell_place(std::size_t cell) const {
        return km_text(position_to_cell_start(cell)) + " (cell " + std::to_string(cell) + ")";
    }

    // The room a symbol takes in its lane, from a to b.
    void occupy(int lane, double a, double b) {
        taken_.take({a, lane_base(lane) - 3.4, b, lane_base(lane)});
        used_[lane] = true;
    }

    // A symbol with its tooltip, taking `half_width` either side of x.
    void symbol(int lane, double x, double half_width, void (*draw_symbol)(Svg&, PagePoint), const std::string& title) {
        svg_.open_group("", title);
        draw_symbol(svg_, {x, lane_base(lane)});
        svg_.close_group();
        occupy(lane, x - half_width, x + half_width);
    }

    void signal(std::size_t i, double x) {
        const Cell& c = cells_[i];
        const int kind = signal_kind(c);
        svg_.open_group("",
                        "Signal of code " + std::to_string(kind) + " at " + cell_place(i) + ": " + signal_details(c));
        signal_symbol(svg_, {x, lane_base(kSignalLane)}, kind);
        svg_.close_group();
        occupy(kSignalLane, x - 0.7, x + 0.7);
    }

    void speed_board(std::size_t i, double x) {
        const Cell& c = cells_[i];
        std::string speeds;
        for (const int v : {c.value_1, c.value_2, c.value_3}) speeds += (speeds.empty() ? "" : ", ") + board_speed(v);
        symbol(kBoardLane, x, 0.8, board_symbol,
               "Speed board at " + cell_place(i) + ": speeds A, B, C " + speeds + " km/h (left|right), stripes " +
                   std::to_string(c.value_4));
        label(x + 0.8, kBoardLane, board_speeds(c), kBoardColour);
    }

    void sign(std::size_t i, double x) {
        const Cell& c = cells_[i];
        std::string text = "(no text)";
        if (c.value_1 >= 0 && c.value_1 < kTableEntries)
            text = sign_lines(table_[static_cast<std::size_t>(c.value_1)].name);
        symbol(kSignLane, x, 1.0, sign_symbol, "Sign board at " + cell_place(i) + ": " + text);
        label(x + 1.0, kSignLane, fit_text(text, kLabelSize, kLongestSignLabel), kSignColour);
    }

    void code_drop(std::size_t i, double x) {
        const Cell& c = cells_[i];
        const bool with_value = c.kind == kCodeDrop;
        svg_.open_group("", "Code-drop point at " + cell_place(i) +
                                (with_value ? ": " + std::to_string(c.value_1) : ", without value") + "; written at " +
                                km_text(position_to_cell_start(i) + kCellLength) +
                                ": a code-drop point goes to the cell that ends at its position");
        code_drop_symbol(svg_, {x, lane_base(kCodeDropLane)}, with_value);
        svg_.close_group();
        occupy(kCodeDropLane, x - 0.8, x + 0.8);
        if (with_value) label(x + 0.8, kCodeDropLane, std::to_string(c.value_1), kCodeDropColour);
    }

    // The end cell of the slowdown that starts at `start`; `start` when it has none.
    std::size_t slowdown_end(std::size_t start) const {
        for (std::size_t j = start + 1; j < cells_.size(); ++j) {
            if (cells_[j].kind == kSlowdownEnd) return j;
            if (cells_[j].kind == kSlowdownStart) break;
        }
        return start;
    }

    // A slowdown that starts before the stretch shown and runs into it: its
    // bar from the frame's edge (the rest come with the other objects).
    void slowdowns_from_before() {
        for (std::size_t i = 0; i < cells_.size(); ++i) {
            if (cells_[i].kind != kSlowdownStart) continue;
            const double start = position_to_cell_start(i);
            const std::size_t end = slowdown_end(i);
            if (start >= scale_.from_m() || end == i || !scale_.shows(start, position_to_cell_start(end))) continue;
            slowdown(i);
        }
    }

    // A slowdown is one bar from its start cell to its end cell.
    void slowdown(std::size_t start) {
        const std::size_t end = slowdown_end(start);
        const Cell& c = cells_[start];
        const double a = scale_.framed_X(position_to_cell_start(start));
        const double b = std::max(scale_.framed_X(position_to_cell_start(end)), a + 0.5);
        const double base = lane_base(kSlowdownLane);
        svg_.open_group("", "Slowdown to " + std::to_string(c.value_1) + " km/h from " + cell_place(start) +
                                (end != start ? " to " + cell_place(end) : ", without an end cell"));
        svg_.rect({a, base - 2.2, b, base - 0.9}, fill_and_stroke(kSlowdownColour, kInk, 0.15));
        svg_.close_group();
        occupy(kSlowdownLane, a, b);
        label(b, kSlowdownLane, std::to_string(c.value_1) + " km/h", kSlowdownColour);
    }

    void mountain_stretches() {
        std::size_t i = 1;
        while (i < cells_.size()) {
            const std::uint8_t kind = cells_[i].mountain_kind;
            if (kind == 0) {
                ++i;
                continue;
            }
            std::size_t j = i;
            while (j + 1 < cells_.size() && cells_[j + 1].mountain_kind == kind) ++j;
            mountain_stretch(kind, i, j);
            used_[kMountainLane] = true;
            i = j + 1;
        }
    }

    // Cells first to last of one kind of mountain stretch.
    void mountain_stretch(std::uint8_t kind, std::size_t first, std::size_t last) {
        if (!scale_.shows(position_to_cell_start(first), static_cast<double>(last) * kCellLength)) return;
        const double a = scale_.framed_X(position_to_cell_start(first));
        const double b = scale_.framed_X(static_cast<double>(last) * kCellLength);
        const double base = lane_base(kMountainLane);
        svg_.open_group("", "Mountain stretch of kind " + std::to_string(kind) + " from " +
                                km_text(position_to_cell_start(first)) + " to " +
                                km_text(static_cast<double>(last) * kCellLength) + " (cells " + std::to_string(first) +
                                " to " + std::to_string(last) + "; written from " +
                                km_text(static_cast<double>(first) * kCellLength) + " to " +
                                km_text(static_cast<double>(last + 1) * kCellLength) +
                                ": a stretch marks the cells from the one that ends at its start)");
        svg_.rect({a, base - 3.5, std::max(b, a + 0.4), base - 1.7}, mountain_stretch_style());
        svg_.close_group();
        const std::string text = "kind " + std::to_string(kind);
        if (text_width(text, 1.4) + 0.6 < b - a) {
            svg_.text({(a + b) / 2, base - 2.1}, 1.4, text, std::string("fill=\"#0b3d1a\""), "middle");
        }
    }

    // A label right of x in a lane, placed once every symbol is drawn.
    void label(double x, int lane, const std::string& text, const char* colour) {
        pending_.push_back({x, lane, text, colour});
    }

    void place_labels(std::vector<PlacedLabel>& placed) {
        for (const PendingLabel& l : pending_) {
            if (l.text.empty()) continue;
            const double w = text_width(l.text, kLabelSize);
            const Box b{l.x + 0.2, lane_base(l.lane) - 2.6, l.x + 0.2 + w, lane_base(l.lane) - 0.6};
            if (b.x1 > kProfileX1 + 6 || !taken_.free(b)) continue;
            taken_.take(b);
            placed.push_back({l.text, {b.x0, b.y0, b.x1, b.y1}});
            svg_.text({b.x0, lane_base(l.lane) - 0.9}, kLabelSize, l.text, std::string("fill=\"") + l.colour + "\"");
        }
        for (int lane = 0; lane < kLanes; ++lane) {
            if (!used_[lane]) {
                svg_.text({kProfileX0 + 1, lane_base(lane) - 0.9}, 1.8, "none", "fill=\"#777\" font-style=\"italic\"");
            }
        }
    }

    static constexpr double kLabelSize = 1.7;
    static constexpr double kLongestSignLabel = 24;  // millimetres

    struct PendingLabel {
        double x;
        int lane;
        std::string text;
        const char* colour;
    };

    Svg& svg_;
    const ProfileScale& scale_;
    const std::vector<Cell>& cells_;
    const StationTable& table_;
    Taken taken_;
    bool used_[kLanes] = {};
    std::vector<PendingLabel> pending_;
};

}  // namespace

void draw_lanes(Svg& svg, const ProfileScale& scale, const PageContent& content, ScenarioPlot& result) {
    ProfileLanes(svg, scale, content).draw(result.marks, result.profile_labels);
}

}  // namespace scenariogen::plotting
