// What the format allows but no railway means: values that a railway
// engineer would find absurd or suspicious, alone or against another line
// (a board against the line limit, a slowdown against the limit where it
// lies, a stop against the timetable). Each is a named warning at the line
// of the value, with a note at the other line where two lines disagree.
// The limits err on the side of silence: a steep mountain line, a 30 km/h
// branch line, a stop of 20 s at a halt are railways, not mistakes.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "lint/line_verdicts.h"
#include "lint/report.h"

namespace scenariogen::lint {

// The lines of both descriptions that the plausibility checks look at,
// gathered in file order: only lines whose values can all be followed.
struct DescribedRoute {
    std::optional<KeywordLine> length;
    std::vector<KeywordLine> positioned;  // every line whose first value is a position, of both files
    std::vector<KeywordLine> progressives;
    std::vector<KeywordLine> boards;
    std::vector<KeywordLine> speeds;
    std::vector<KeywordLine> slowdowns;
    std::vector<KeywordLine> stations;
    std::optional<KeywordLine> clock;
};

class Plausibility {
public:
    explicit Plausibility(Report& report) : r_(report) {}

    // The keyword lines of each file as the check reads them, in file order.
    void line_description(const KeywordLine& l);
    void train_description(const KeywordLine& l);
    // After both files: the lines against each other.
    void finish();

private:
    Report& r_;
    DescribedRoute route_;
};

// The single values, each against what any railway has.
void check_gradient(const KeywordLine& l, Report& r);
void check_curve(const KeywordLine& l, Report& r);
void check_sign_text(const KeywordLine& l, Report& r);
void check_speed_limit(const KeywordLine& l, Report& r);
void check_adhesion(const KeywordLine& l, Report& r);
void check_braked_mass(const KeywordLine& l, Report& r);
void check_coaches(const KeywordLine& l, Report& r);

// The lines against each other.
void check_route_length(const DescribedRoute& route, Report& r);
void check_zero_limits(const DescribedRoute& route, Report& r);
void check_boards_against_limits(const DescribedRoute& route, Report& r);
void check_slowdowns_against_limits(const DescribedRoute& route, Report& r);
void check_slowdown_lengths(const DescribedRoute& route, Report& r);
void check_progressives(const DescribedRoute& route, Report& r);
void check_station_names(const DescribedRoute& route, Report& r);
void check_stops(const DescribedRoute& route, Report& r);
void check_clock(const DescribedRoute& route, Report& r);
void check_running_times(const DescribedRoute& route, Report& r);

// Thresholds, stated once: what lies beyond them is no railway in service.
inline constexpr std::int64_t kSteepestGradient = 80;    // ‰: the steepest adhesion lines reach about 80 ‰
inline constexpr std::int64_t kFastestLimit = 400;       // km/h: no line in service allows more
inline constexpr std::int64_t kLowestBrakedMass = 30;    // %: freight trains run with about 50 % or more
inline constexpr std::int64_t kHighestBrakedMass = 250;  // %: the best-braked trains reach about 200 %
inline constexpr std::int64_t kMostCoaches = 40;         // the longest passenger trains have about 25
inline constexpr std::size_t kLongestName = 60;          // characters: the longest station names have about 60
inline constexpr std::size_t kLongestSignText = 120;     // characters: three sign lines of 40
inline constexpr std::int64_t kShortestStop = 15;        // s: a stop shorter than this is a slip
inline constexpr std::int64_t kBoardReach = 4000;        // m: a board announces the limits this far ahead
inline constexpr std::int64_t kLongSlowdown = 3000;      // m: longer slowdowns are rare
inline constexpr std::int64_t kBelowZeroKm = 1000;       // m: kilometre posts do not go this far below 0

}  // namespace scenariogen::lint
