// Signals and temporary slowdowns.
#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/markers.h"

namespace scenariogen {

namespace {
constexpr std::int32_t kDistanzaAvviso = 1200;  // metres from warning to slowdown start
constexpr std::int32_t kInizioAvvisi = 1500;    // slowdowns up to here have no warning
}  // namespace

std::int32_t cella_oggetto(std::int32_t posizione) { return nearest(posizione / 50.0 + 1); }

void memo_segnale(Scenario& s, std::int32_t posizione, std::int32_t& sx, std::int32_t& s1, std::int32_t& s2,
                  std::int32_t& s3, std::int32_t& rapp, std::int32_t& dx, std::int32_t& d1, std::int32_t& d2,
                  std::int32_t& d3, std::int32_t& tempo) {
    const std::int32_t i = cella_oggetto(posizione);
    Cell& c = cella(s, i);
    if (!is_free(c)) {
        s.last_error = 16;
        return;
    }
    const std::int64_t lati = static_cast<std::int64_t>(sx) * 3 + dx;
    c.kind = kSignal;
    c.value_4 = low16(static_cast<std::int64_t>(rapp) * 10 + lati);
    c.value_1 = low16(static_cast<std::int64_t>(s1) * 10 + d1);
    c.value_2 = low16(static_cast<std::int64_t>(s2) * 10 + d2);
    c.value_3 = low16(static_cast<std::int64_t>(s3) * 10 + d3);
    if (tempo >= 1 && tempo <= 100) tempo = 101;
    c.signal_time = sx == 2 ? low8(tempo) : 0;
    for (std::int32_t n = 1; n <= 4; ++n)
        cella(s, static_cast<std::int64_t>(i) - 2 * n).approach_marker = low8(lati * 10 + n);
}

CelleRallentamento celle_rallentamento(std::int32_t posizione, std::int32_t l) {
    const double p = posizione;
    return {
        posizione > kInizioAvvisi, nearest((p - kDistanzaAvviso) / 50 + 1), nearest(p / 50 + 1),
        nearest((p + l) / 50 + 1), nearest((p - kDistanzaAvviso) / 50),
    };
}

void memo_rallentamento(Scenario& s, std::int32_t posizione, std::int32_t& v, std::int32_t& l, std::int32_t& f_tt,
                        std::int32_t f_ta, std::int32_t& d_v) {
    const CelleRallentamento celle = celle_rallentamento(posizione, l);
    if (celle.avviso) {
        if (!is_free(cella(s, celle.w))) {
            s.last_error = 17;
            return;
        }
    } else {
        f_ta = 0;
    }
    if (!is_free(cella(s, celle.s))) {
        s.last_error = 18;
        return;
    }
    if (!is_free(cella(s, celle.e))) {
        s.last_error = 19;
        return;
    }
    Cell& fine = cella(s, celle.e);
    fine.kind = kSlowdownEnd;
    if (d_v != 0) fine.value_2 = low16(d_v);
    Cell& inizio = cella(s, celle.s);  // over the end when both share a cell
    inizio.kind = kSlowdownStart;
    if (d_v != 0) inizio.value_2 = low16(d_v);
    if (celle.avviso) {
        Cell& avviso = cella(s, celle.w);
        avviso.kind = kSlowdownWarning;
        if (d_v != 0) avviso.value_2 = low16(d_v);
        avviso.value_1 = low16(v);
    }
    for (Cell* c : {&inizio, &fine}) {
        c->value_1 = low16(v);
        c->value_3 = low16(f_tt);
    }
    if (f_ta == 0) return;
    for (std::int32_t j = 0; j <= 3; ++j) {
        if (!is_free(cella(s, static_cast<std::int64_t>(celle.k) - j))) {
            s.last_error = 20;
            return;
        }
    }
    for (std::int32_t j = 0; j <= 3; ++j) {
        Cell& c = cella(s, static_cast<std::int64_t>(celle.k) - j);
        c.kind = kBeforeWarning;
        c.value_1 = low16(j + 1);
        if (d_v != 0) c.value_2 = low16(j + 1);
    }
}

}  // namespace scenariogen
