// The route's length and speeds against each other: objects beyond the
// route's end, a line limit that stops the train, boards that show what the
// line does not enforce, slowdowns that slow nothing.
#include <algorithm>
#include <string>

#include "lint/plausibility.h"

namespace scenariogen::lint {

namespace {

std::string kmh(std::int64_t v) { return std::to_string(v) + " km/h"; }

// The speed lines in order of position (the check reports lines out of order).
std::vector<const KeywordLine*> by_position(const std::vector<KeywordLine>& lines) {
    std::vector<const KeywordLine*> sorted;
    for (const KeywordLine& l : lines) sorted.push_back(&l);
    std::stable_sort(sorted.begin(), sorted.end(),
                     [](const KeywordLine* a, const KeywordLine* b) { return a->number(0) < b->number(0); });
    return sorted;
}

// The limit lines in force somewhere from `from` to `to` metres: the one in
// force at `from`, and those that begin after it up to `to`.
std::vector<const KeywordLine*> limits_over(const std::vector<const KeywordLine*>& limits, std::int64_t from,
                                            std::int64_t to) {
    std::vector<const KeywordLine*> over;
    for (const KeywordLine* l : limits) {
        const std::int64_t p = l->number(0);
        if (p <= from) {
            over.assign(1, l);
        } else if (p <= to) {
            over.push_back(l);
        }
    }
    return over;
}

std::int64_t speed_of(const KeywordLine* l) { return l->number(1); }

std::int64_t position_of_last_station(const DescribedRoute& route) {
    std::int64_t last = -1;
    for (const KeywordLine& s : route.stations) last = std::max(last, s.number(0));
    return last;
}

}  // namespace

// A route length written in kilometres leaves most objects beyond its end:
// each of them is reported, and the length line is where the mistake is.
void check_route_length(const DescribedRoute& route, Report& r) {
    if (!route.length) return;
    const KeywordLine& l = *route.length;
    const std::int64_t length = l.number(0);
    if (length < 0 || length > 1000000) return;  // outside the field: an error already
    std::size_t beyond = 0;
    for (const KeywordLine& object : route.positioned) beyond += object.number(0) > length;
    const bool most_beyond = beyond >= 3 && beyond * 2 > route.positioned.size();
    if (length > 0 && !most_beyond) return;
    std::string message = length == 0
                              ? "the route is 0 m long"
                              : std::to_string(beyond) + " of the " + std::to_string(route.positioned.size()) +
                                    " objects of the two files stand beyond the route's end, at " + metres(length);
    message += ": the route length is in metres";
    if (length > 0 && length <= 1000)
        message += "; a route of " + std::to_string(length) + " km is written " + std::to_string(length * 1000);
    r.warning(l.file, l.values[0].span, "route-length", std::move(message));
}

void check_zero_limits(const DescribedRoute& route, Report& r) {
    const std::int64_t last_station = position_of_last_station(route);
    const std::vector<const KeywordLine*> limits = by_position(route.speeds);
    for (std::size_t i = 0; i < limits.size(); ++i) {
        const KeywordLine& l = *limits[i];
        if (speed_of(&l) != 0 || l.number(0) >= last_station) continue;
        std::string stretch = "from " + metres(l.number(0));
        if (i + 1 < limits.size()) stretch += " to " + metres(limits[i + 1]->number(0));
        r.warning(l.file, l.values[1].span, "speed-limit",
                  "a line limit of 0 km/h " + stretch +
                      ": the train cannot run there, and the stations after it cannot be reached");
        r.at_position(l.number(0));
    }
}

// A speed board announces the limit where it stands or one that begins soon
// after it; one that shows less than any of them shows a slip.
void check_boards_against_limits(const DescribedRoute& route, Report& r) {
    const std::vector<const KeywordLine*> limits = by_position(route.speeds);
    for (const KeywordLine& board : route.boards) {
        const std::int64_t p = board.number(0);
        std::vector<const KeywordLine*> over = limits_over(limits, p, p + kBoardReach);
        // A limit faster than any railway is reported as such; the board is no help to judge it.
        std::erase_if(over, [](const KeywordLine* l) { return speed_of(l) > kFastestLimit; });
        if (over.empty()) continue;
        const std::int64_t top = std::max({board.number(1), board.number(2), board.number(3)});
        const auto lowest = *std::min_element(over.begin(), over.end(), [](const KeywordLine* a, const KeywordLine* b) {
            return speed_of(a) < speed_of(b);
        });
        if (top >= speed_of(lowest)) continue;
        r.warning(board.file, board.values[1].span, "board-limit",
                  "the board shows at most " + kmh(top) + ", but the line limit is " + kmh(speed_of(over.front())) +
                      " here, and no limit of " + kmh(top) + " or less begins within " + metres(kBoardReach) +
                      " after it: a board shows the limit where it stands or one ahead");
        r.at_position(p);
        r.note(lowest->file, lowest->values[1].span,
               "the line limit of " + kmh(speed_of(lowest)) + " from " + metres(lowest->number(0)));
    }
}

void check_slowdowns_against_limits(const DescribedRoute& route, Report& r) {
    const std::vector<const KeywordLine*> limits = by_position(route.speeds);
    for (const KeywordLine& s : route.slowdowns) {
        const std::int64_t p = s.number(0);
        const std::int64_t v = s.number(1);
        if (v == 0) {
            r.warning(s.file, s.values[1].span, "slowdown-speed",
                      "a slowdown to 0 km/h stops the train on the open line: a slowdown's speed is the speed to "
                      "keep over its length");
            r.at_position(p);
            continue;
        }
        const std::vector<const KeywordLine*> over = limits_over(limits, p, p + std::max<std::int64_t>(s.number(2), 0));
        if (over.empty()) continue;
        const auto highest =
            *std::max_element(over.begin(), over.end(),
                              [](const KeywordLine* a, const KeywordLine* b) { return speed_of(a) < speed_of(b); });
        if (v < speed_of(highest)) continue;
        r.warning(s.file, s.values[1].span, "slowdown-speed",
                  "the slowdown's " + kmh(v) + " is no slower than the line limit over its " + metres(s.number(2)) +
                      ", " + kmh(speed_of(highest)) + " at most: it slows nothing");
        r.at_position(p);
        r.note(highest->file, highest->values[1].span,
               "the line limit of " + kmh(speed_of(highest)) + " from " + metres(highest->number(0)));
    }
}

// A slowdown's second number is its length: one written as the position
// where it ends makes it longer than its start, and long.
void check_slowdown_lengths(const DescribedRoute& route, Report& r) {
    for (const KeywordLine& s : route.slowdowns) {
        const std::int64_t p = s.number(0);
        const std::int64_t length = s.number(2);
        if (length <= kLongSlowdown || length <= p) continue;
        r.warning(s.file, s.values[2].span, "slowdown-length",
                  "a slowdown " + metres(length) + " long, from " + metres(p) + " to " + metres(p + length) +
                      ": the third value is the slowdown's length, not where it ends; one that ends at " +
                      metres(length) + " is " + metres(length - p) + " long");
        r.at_position(p);
    }
}

// A kilometric progressive that counts down (sense 1) reaches its reference
// less the position; kilometre posts far below 0 on the route, from a
// reference of 1000 or less, come from a reference written in kilometres.
void check_progressives(const DescribedRoute& route, Report& r) {
    if (!route.length) return;
    const std::int64_t length = route.length->number(0);
    for (const KeywordLine& l : route.progressives) {
        const std::int64_t start = l.number(0);
        const std::int64_t reference = l.number(1);
        // A reference of 1 to 1000 looks like kilometres; 0 is a count that begins at the route's start.
        if (l.number(2) != 1 || start > length || reference <= 0 || reference > 1000) continue;
        const std::int64_t at_end = reference - length;
        if (at_end >= -kBelowZeroKm) continue;
        r.warning(l.file, l.values[1].span, "progressive",
                  "counting down from a reference of " + metres(reference) + ", the kilometre posts reach " +
                      std::to_string(at_end) +
                      " m at the route's end: the reference is in metres (49.6 km is "
                      "49600)");
    }
}

}  // namespace scenariogen::lint
