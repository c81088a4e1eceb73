// The three kilometric progressive records (entries 81 to 83): each holds the
// route position from which it applies (start), its reference value in
// metres at route position 0 (end) and its sense (position: 0 rising,
// 1 falling).
#include <array>

#include "compiler/markers.h"

namespace scenariogen {

namespace {

struct Terna {
    std::int32_t start = 0, end = 0, position = 0;
};

Terna leggi(const StationEntry& v) { return {v.start, v.end, v.position}; }

void scrivi(StationEntry& v, const Terna& t) {
    v.start = t.start;
    v.end = t.end;
    v.position = t.position;
}

// Ordered by start, largest first; all cleared when no start is strictly
// the largest.
std::array<Terna, 3> per_inizio(const Terna& t, const Terna& d, const Terna& u) {
    if (t.start > d.start && t.start > u.start) return d.start > u.start ? std::array{t, d, u} : std::array{t, u, d};
    if (d.start > t.start && d.start > u.start) return t.start > u.start ? std::array{d, t, u} : std::array{d, u, t};
    if (u.start > t.start && u.start > d.start) return t.start > d.start ? std::array{u, t, d} : std::array{u, d, t};
    return {};
}

// All starts 0: the last record with a positive reference comes first.
std::array<Terna, 3> per_riferimento(const Terna& t, const Terna& d, const Terna& u) {
    std::array<Terna, 3> r{};
    if (t.end > 0) r = {t, d, u};
    if (d.end > 0) r = {d, t, u};
    if (u.end > 0) r = {u, d, t};
    return r;
}

}  // namespace

void progressive_ordina(Scenario& s) {
    auto& tab = s.stations;
    const Terna t = leggi(tab[kProgressiveThreeEntry]);
    const Terna d = leggi(tab[kProgressiveTwoEntry]);
    const Terna u = leggi(tab[kProgressiveOneEntry]);
    const std::int64_t somma = static_cast<std::int64_t>(t.start) + d.start + u.start;
    const std::array<Terna, 3> r = somma != 0 ? per_inizio(t, d, u) : per_riferimento(t, d, u);
    for (int i = 0; i < 3; ++i) {
        StationEntry& voce = tab[static_cast<std::size_t>(kProgressiveThreeEntry + i)];
        scrivi(voce, r[static_cast<std::size_t>(i)]);
        if (voce.position == 1) voce.end = static_cast<std::int32_t>(static_cast<std::uint32_t>(voce.end) + 100u);
    }
}

}  // namespace scenariogen
