// Signals and temporary slowdowns.
#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/markers.h"

namespace scenariogen {

namespace {
constexpr std::int32_t kDistanzaAvviso = 1200;   // metres from warning to slowdown start
constexpr std::int32_t kInizioAvvisi = 1500;     // slowdowns up to here have no warning
}  // namespace

std::int32_t cella_oggetto(std::int32_t posizione) { return nearest(posizione / 50.0 + 1); }

void memo_segnale(Scenario& s, std::int32_t posizione, std::int32_t& sx, std::int32_t& s1, std::int32_t& s2,
                  std::int32_t& s3, std::int32_t& rapp, std::int32_t& dx, std::int32_t& d1, std::int32_t& d2,
                  std::int32_t& d3, std::int32_t& tempo) {
    const std::int32_t i = cella_oggetto(posizione);
    cella_percorso& c = cella(s, i);
    if (!libera(c)) {
        s.codice_errore = 16;
        return;
    }
    const std::int64_t lati = static_cast<std::int64_t>(sx) * 3 + dx;
    c.tipo = kSegnale;
    c.valore_4 = low16(static_cast<std::int64_t>(rapp) * 10 + lati);
    c.valore_1 = low16(static_cast<std::int64_t>(s1) * 10 + d1);
    c.valore_2 = low16(static_cast<std::int64_t>(s2) * 10 + d2);
    c.valore_3 = low16(static_cast<std::int64_t>(s3) * 10 + d3);
    if (tempo >= 1 && tempo <= 100) tempo = 101;
    c.tempo_segnale = sx == 2 ? low8(tempo) : 0;
    for (std::int32_t n = 1; n <= 4; ++n) cella(s, static_cast<std::int64_t>(i) - 2 * n).preavviso = low8(lati * 10 + n);
}

CelleRallentamento celle_rallentamento(std::int32_t posizione, std::int32_t l) {
    const double p = posizione;
    return {
        posizione > kInizioAvvisi,
        nearest((p - kDistanzaAvviso) / 50 + 1),
        nearest(p / 50 + 1),
        nearest((p + l) / 50 + 1),
        nearest((p - kDistanzaAvviso) / 50),
    };
}

void memo_rallentamento(Scenario& s, std::int32_t posizione, std::int32_t& v, std::int32_t& l, std::int32_t& f_tt,
                        std::int32_t f_ta, std::int32_t& d_v) {
    const CelleRallentamento celle = celle_rallentamento(posizione, l);
    if (celle.avviso) {
        if (!libera(cella(s, celle.w))) {
            s.codice_errore = 17;
            return;
        }
    } else {
        f_ta = 0;
    }
    if (!libera(cella(s, celle.s))) {
        s.codice_errore = 18;
        return;
    }
    if (!libera(cella(s, celle.e))) {
        s.codice_errore = 19;
        return;
    }
    cella_percorso& fine = cella(s, celle.e);
    fine.tipo = kFineRallentamento;
    if (d_v != 0) fine.valore_2 = low16(d_v);
    cella_percorso& inizio = cella(s, celle.s);  // over the end when both share a cell
    inizio.tipo = kInizioRallentamento;
    if (d_v != 0) inizio.valore_2 = low16(d_v);
    if (celle.avviso) {
        cella_percorso& avviso = cella(s, celle.w);
        avviso.tipo = kAvvisoRallentamento;
        if (d_v != 0) avviso.valore_2 = low16(d_v);
        avviso.valore_1 = low16(v);
    }
    for (cella_percorso* c : {&inizio, &fine}) {
        c->valore_1 = low16(v);
        c->valore_3 = low16(f_tt);
    }
    if (f_ta == 0) return;
    for (std::int32_t j = 0; j <= 3; ++j) {
        if (!libera(cella(s, static_cast<std::int64_t>(celle.k) - j))) {
            s.codice_errore = 20;
            return;
        }
    }
    for (std::int32_t j = 0; j <= 3; ++j) {
        cella_percorso& c = cella(s, static_cast<std::int64_t>(celle.k) - j);
        c.tipo = kPrimaAvviso;
        c.valore_1 = low16(j + 1);
        if (d_v != 0) c.valore_2 = low16(j + 1);
    }
}

}  // namespace scenariogen
