// The three kilometric progressive records (entries 81 to 83): each holds the
// route position from which it applies (start), its reference value in
// metres at route position 0 (end) and its sense (position: 0 rising,
// 1 falling).
#include <array>

#include "compiler/markers.h"

namespace scenariogen {

namespace {

struct Progressive {
    std::int32_t start = 0, end = 0, position = 0;
};

Progressive read_progressive(const StationEntry& v) { return {v.start, v.end, v.position}; }

void write_progressive(StationEntry& v, const Progressive& t) {
    v.start = t.start;
    v.end = t.end;
    v.position = t.position;
}

// Ordered by start, largest first; all cleared when no start is strictly
// the largest.
std::array<Progressive, 3> by_start(const Progressive& t, const Progressive& d, const Progressive& u) {
    if (t.start > d.start && t.start > u.start) return d.start > u.start ? std::array{t, d, u} : std::array{t, u, d};
    if (d.start > t.start && d.start > u.start) return t.start > u.start ? std::array{d, t, u} : std::array{d, u, t};
    if (u.start > t.start && u.start > d.start) return t.start > d.start ? std::array{u, t, d} : std::array{u, d, t};
    return {};
}

// All starts 0: the last record with a positive reference comes first.
std::array<Progressive, 3> by_reference(const Progressive& t, const Progressive& d, const Progressive& u) {
    std::array<Progressive, 3> r{};
    if (t.end > 0) r = {t, d, u};
    if (d.end > 0) r = {d, t, u};
    if (u.end > 0) r = {u, d, t};
    return r;
}

}  // namespace

void order_progressives(CompilationState& s) {
    auto& table = s.stations;
    const Progressive t = read_progressive(table[kProgressiveThreeEntry]);
    const Progressive d = read_progressive(table[kProgressiveTwoEntry]);
    const Progressive u = read_progressive(table[kProgressiveOneEntry]);
    const std::int64_t start_sum = static_cast<std::int64_t>(t.start) + d.start + u.start;
    const std::array<Progressive, 3> r = start_sum != 0 ? by_start(t, d, u) : by_reference(t, d, u);
    for (int i = 0; i < 3; ++i) {
        StationEntry& entry = table[static_cast<std::size_t>(kProgressiveThreeEntry + i)];
        write_progressive(entry, r[static_cast<std::size_t>(i)]);
        if (entry.position == 1) entry.end = static_cast<std::int32_t>(static_cast<std::uint32_t>(entry.end) + 100u);
    }
}

}  // namespace scenariogen
