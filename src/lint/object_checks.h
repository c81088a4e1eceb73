// The keyword lines as a whole: the route they describe, the order the
// format needs, the cells each object takes, and the objects that the
// compiler would refuse, overwrite or change. The line description comes
// first, as the compiler reads it, then the train description.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string_view>
#include <tuple>
#include <vector>

#include "lint/cell_map.h"
#include "lint/line_verdicts.h"
#include "lint/report.h"

namespace scenariogen::lint {

// A value of a line whose values the check follows: every number of such a
// line fits 32 bits.
inline std::int32_t as32(std::int64_t value) { return static_cast<std::int32_t>(value); }

// The route as its length makes it: cells 0 to U, the plan to G metres.
struct Route {
    std::int64_t length = 0;
    std::int32_t last_cell = 0;  // U = nearest((length + 7000) / 50)
    std::int64_t plan_end = 0;   // G = length + 7000
};

// How a position places its object.
enum class Placing {
    kCell,      // the object goes to cell nearest(p / 50 + 1)
    kBoundary,  // a change that takes effect at the cell boundary nearest(p / 50)
    kMetre,     // the plan, metre by metre
};

class ObjectChecks {
public:
    explicit ObjectChecks(Report& report) : r_(report) {}

    // The keyword lines of the line description, one by one in file order,
    // then its end; `start` is its [generale] header, when it has one.
    void line_description(const KeywordLine& l);
    void end_of_line_description(std::optional<Span> start);
    // The same for the train description.
    void train_description(const KeywordLine& l);
    void end_of_train_description(std::optional<Span> start);

private:
    // A change along the route (gradient, speed, adhesion): in increasing
    // order of position, each in a later cell than the one before.
    struct Changes {
        std::optional<KeywordLine> previous;
        std::int64_t filled = 0;  // cells given the value in force so far
    };

    // Shared checks.
    bool position(const KeywordLine& l, std::size_t k, std::int64_t margin, std::string_view what, Placing placing);
    bool place(const KeywordLine& l, std::int64_t cell, std::string_view what, int compiler_error);
    bool free_or_report(const KeywordLine& l, std::int64_t cell, std::string_view what, int compiler_error);
    void take(const KeywordLine& l, std::int64_t cell, std::string_view what);
    void mark(const KeywordLine& l, std::int64_t cell, std::string_view what);
    void change(const KeywordLine& l, Changes& changes, std::string_view what);
    void repeated(const KeywordLine& l);
    void note(const KeywordLine& l, std::string message);
    Occupant occupant(const KeywordLine& l, std::string_view what) const;

    // The line description.
    void general_setting(const KeywordLine& l);
    void progressives();
    void signal_repetition(const KeywordLine& l);
    void curve(const KeywordLine& l);
    void mountain(const KeywordLine& l);
    void speed_board(const KeywordLine& l);
    void sign(const KeywordLine& l);

    // The train description.
    void from_start(const KeywordLine& l);
    void signal(const KeywordLine& l);
    void slowdown(const KeywordLine& l);
    void code_drop(const KeywordLine& l);
    void station(const KeywordLine& l);
    void station_attributes(const KeywordLine& l, bool first_station);
    void station_markers(const KeywordLine& l, std::int64_t end, std::int64_t kind);

    Report& r_;
    std::optional<Route> route_;
    std::optional<CellMap> cells_;
    std::set<std::tuple<int, int, int, int>> markers_reported_;  // pairs of lines whose markers met, reported

    // The settings given (the first line of each) and the first line of
    // each list.
    std::map<Keyword, KeywordLine> seen_;
    Changes gradients_;
    Changes speeds_;
    Changes adhesions_;
    std::optional<KeywordLine> previous_curve_;
    std::optional<KeywordLine> previous_mountain_;
    int mountains_ = 0;
    int signs_ = 0;

    // The last station, and how many there are.
    struct StationSeen {
        KeywordLine line;
        std::int64_t end;
        std::int64_t time;
    };
    std::optional<StationSeen> previous_station_;
    int stations_ = 0;
};

}  // namespace scenariogen::lint
