// Mountain stretches and speed-indicator boards.
#include "compiler/cell_access.h"
#include "compiler/conversions.h"
#include "compiler/markers.h"

namespace scenariogen {

CelleMontagna celle_montagna(std::int32_t inizio, std::int32_t fine) {
    return {nearest(inizio / 50.0), nearest(fine / 50.0 - 1)};
}

void memo_montagna(Scenario& s, std::int32_t& inizio, std::int32_t& fine, std::int32_t& tipo) {
    bool con_marche = false;
    if (tipo > 10) {
        tipo -= 10;
        con_marche = true;
    }
    ++s.mountain_count;
    const auto n = static_cast<std::size_t>(s.mountain_count);
    s.mountain_starts.at(n) = inizio;
    s.mountain_ends.at(n) = fine;
    // A stretch that follows the previous one within 150 m continues it.
    if (n > 1 && static_cast<std::int64_t>(inizio) - s.mountain_ends[n - 1] <= 150) tipo = 3;

    const CelleMontagna celle = celle_montagna(inizio, fine);
    std::int32_t conteggio = 0;
    for (std::int64_t i = celle.prima; i <= celle.ultima; ++i) {
        Cell& c = cella(s, i);
        ++conteggio;
        c.mountain_kind = low8(tipo);
        if (con_marche && conteggio % 4 == 0 && c.kind == kEmpty) c.kind = kMountainMarker;
    }
}

void memo_indicatori_v_max(Scenario& s, std::int32_t posizione, const std::int32_t& vas, const std::int32_t& vbs,
                           const std::int32_t& vcs, const std::int32_t& strisces, const std::int32_t& vad,
                           const std::int32_t& vbd, const std::int32_t& vcd, const std::int32_t& strisced) {
    Cell& c = cella(s, cella_oggetto(posizione));
    if (!is_free(c)) {
        s.last_error = 21;
        return;
    }
    // Left-hand speed × 20 plus right-hand speed / 5, one value per rank.
    const auto velocita = [](std::int32_t sinistra, std::int32_t destra) {
        return nearest16(static_cast<double>(static_cast<std::int64_t>(sinistra) * 20) + destra / 5.0);
    };
    const std::int16_t valore_1 = velocita(vas, vad);
    const std::int16_t valore_2 = velocita(vbs, vbd);
    const std::int16_t valore_3 = velocita(vcs, vcd);
    c.kind = kSpeedBoard;
    c.value_1 = valore_1;
    c.value_2 = valore_2;
    c.value_3 = valore_3;
    c.value_4 = low16(static_cast<std::int64_t>(low16(strisces)) * 10 + low16(strisced));
}

}  // namespace scenariogen
