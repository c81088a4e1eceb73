// The three kilometric progressive records (entries 81 to 83): each holds the
// route position from which it applies (inizio), its reference value in
// metres at route position 0 (fine) and its sense (posizione: 0 rising,
// 1 falling).
#include <array>

#include "compiler/markers.h"

namespace scenariogen {

namespace {

struct Terna {
    std::int32_t inizio = 0, fine = 0, posizione = 0;
};

Terna leggi(const voce_stazione& v) { return {v.inizio, v.fine, v.posizione}; }

void scrivi(voce_stazione& v, const Terna& t) {
    v.inizio = t.inizio;
    v.fine = t.fine;
    v.posizione = t.posizione;
}

// Ordered by start, largest first; all cleared when no start is strictly
// the largest.
std::array<Terna, 3> per_inizio(const Terna& t, const Terna& d, const Terna& u) {
    if (t.inizio > d.inizio && t.inizio > u.inizio) return d.inizio > u.inizio ? std::array{t, d, u} : std::array{t, u, d};
    if (d.inizio > t.inizio && d.inizio > u.inizio) return t.inizio > u.inizio ? std::array{d, t, u} : std::array{d, u, t};
    if (u.inizio > t.inizio && u.inizio > d.inizio) return t.inizio > d.inizio ? std::array{u, t, d} : std::array{u, d, t};
    return {};
}

// All starts 0: the last record with a positive reference comes first.
std::array<Terna, 3> per_riferimento(const Terna& t, const Terna& d, const Terna& u) {
    std::array<Terna, 3> r{};
    if (t.fine > 0) r = {t, d, u};
    if (d.fine > 0) r = {d, t, u};
    if (u.fine > 0) r = {u, d, t};
    return r;
}

}  // namespace

void progressive_ordina(Scenario& s) {
    auto& tab = s.tabella_stazioni;
    const Terna t = leggi(tab[kVoceProgressivaTre]);
    const Terna d = leggi(tab[kVoceProgressivaDue]);
    const Terna u = leggi(tab[kVoceProgressivaUno]);
    const std::int64_t somma = static_cast<std::int64_t>(t.inizio) + d.inizio + u.inizio;
    const std::array<Terna, 3> r = somma != 0 ? per_inizio(t, d, u) : per_riferimento(t, d, u);
    for (int i = 0; i < 3; ++i) {
        voce_stazione& voce = tab[static_cast<std::size_t>(kVoceProgressivaTre + i)];
        scrivi(voce, r[static_cast<std::size_t>(i)]);
        if (voce.posizione == 1) voce.fine = static_cast<std::int32_t>(static_cast<std::uint32_t>(voce.fine) + 100u);
    }
}

}  // namespace scenariogen
