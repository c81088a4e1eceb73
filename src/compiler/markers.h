// The marker procedures: each turns one described object into cells of the
// route (or, for the progressives, into the table's header entries).
#pragma once

#include <cstdint>

#include "compiler/scenario.h"

namespace scenariogen {

// A mountain stretch from `inizio` to `fine` metres of kind `tipo` (above 10:
// kind tipo - 10 with a marker on every fourth cell). May rewrite `tipo`.
void memo_montagna(Scenario& s, std::int32_t& inizio, std::int32_t& fine, std::int32_t& tipo);

// The cells that a mountain stretch marks; first > last marks none.
struct CelleMontagna {
    std::int32_t prima;
    std::int32_t ultima;
};
CelleMontagna celle_montagna(std::int32_t inizio, std::int32_t fine);

// A speed-indicator board; error 21 when its cell is occupied.
void memo_indicatori_v_max(Scenario& s, std::int32_t posizione, const std::int32_t& vas, const std::int32_t& vbs,
                           const std::int32_t& vcs, const std::int32_t& strisces, const std::int32_t& vad,
                           const std::int32_t& vbd, const std::int32_t& vcd, const std::int32_t& strisced);

// The cell of an object at `posizione` metres: nearest(posizione / 50 + 1).
std::int32_t cella_oggetto(std::int32_t posizione);

// A signal and its four advance cells 2, 4, 6 and 8 cells before it;
// error 16 when its cell is occupied. May rewrite `tempo`.
void memo_segnale(Scenario& s, std::int32_t posizione, std::int32_t& sx, std::int32_t& s1, std::int32_t& s2,
                  std::int32_t& s3, std::int32_t& rapp, std::int32_t& dx, std::int32_t& d1, std::int32_t& d2,
                  std::int32_t& d3, std::int32_t& tempo);
inline constexpr std::int32_t kCelleAvvisoSegnale = 8;  // the farthest advance cell lies 8 cells back

// The cells of a slowdown: warning w (only past 1500 m), start s, end e, and
// k, the first of the four cells before the warning (k, k-1, k-2, k-3).
struct CelleRallentamento {
    bool avviso;
    std::int32_t w, s, e, k;
};
CelleRallentamento celle_rallentamento(std::int32_t posizione, std::int32_t l);

// A temporary slowdown; errors 17 to 20 when its cells are occupied.
void memo_rallentamento(Scenario& s, std::int32_t posizione, std::int32_t& v, std::int32_t& l, std::int32_t& f_tt,
                        std::int32_t f_ta, std::int32_t& d_v);

// Puts the three kilometric progressive records of entries 81 to 83 in
// order and adds 100 m to the reference of the falling ones.
void progressive_ordina(Scenario& s);

}  // namespace scenariogen
