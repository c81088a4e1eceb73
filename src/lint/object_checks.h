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

    // `start` is the [generale] header of the file, when it has one.
    void general_section(const std::vector<KeywordLine>& lines, std::optional<Span> start);
    void line_objects(const std::vector<KeywordLine>& lines);
    void train(const std::vector<KeywordLine>& lines, std::optional<Span> start);

private:
    // A change along the route (gradient, speed, adhesion): in increasing
    // order of position, each in a later cell than the one before.
    struct Changes {
        const KeywordLine* previous = nullptr;
        std::int64_t filled = 0;  // cells given the value in force so far
    };

    // Shared checks.
    bool position(const KeywordLine& l, std::size_t k, std::int64_t margin, std::string_view what, Placing placing);
    bool place(const KeywordLine& l, std::int64_t cell, std::string_view what, int compiler_error);
    bool free_or_report(const KeywordLine& l, std::int64_t cell, std::string_view what, int compiler_error);
    void take(const KeywordLine& l, std::int64_t cell, std::string_view what);
    void mark(const KeywordLine& l, std::int64_t cell, std::string_view what);
    void change(const KeywordLine& l, Changes& changes, std::string_view what);
    void repeated(const KeywordLine& l, std::map<Keyword, const KeywordLine*>& seen);
    void note(const KeywordLine& l, std::string message);
    int occupant(const KeywordLine& l, std::string_view what);

    // The line description.
    void progressives(const std::map<Keyword, const KeywordLine*>& seen);
    void signal_repetition(const KeywordLine& l);
    void curve(const KeywordLine& l, const KeywordLine*& previous);
    void mountain(const KeywordLine& l, const KeywordLine*& previous, int& count);
    void speed_board(const KeywordLine& l);
    void sign(const KeywordLine& l);

    // The train description.
    void settings(const std::vector<KeywordLine>& lines, std::optional<Span> start);
    void from_start(const std::vector<KeywordLine>& lines, std::optional<Span> start, Keyword keyword,
                    std::string_view nothing);
    void signal(const KeywordLine& l);
    void slowdown(const KeywordLine& l);
    void code_drop(const KeywordLine& l);
    void station(const KeywordLine& l);
    void station_markers(const KeywordLine& l, std::int64_t end, std::int64_t kind);

    Report& r_;
    std::optional<Route> route_;
    std::optional<CellMap> cells_;
    std::set<std::tuple<int, int, int, int>> markers_reported_;  // pairs of lines whose markers met, reported
    int signs_ = 0;

    // The stations so far.
    struct StationSeen {
        const KeywordLine* line;
        std::int64_t end;
        std::int64_t time;
    };
    std::vector<StationSeen> stations_;
};

}  // namespace scenariogen::lint
