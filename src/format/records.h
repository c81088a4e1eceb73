// The scenario records: the route cells, the station table and the plan grid.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/uninitialised_allocator.h"

namespace scenariogen {

// One 50 m stretch of route. Cell i covers the metres 50·(i − 1) to 50·i.
struct cella_percorso {
    std::uint8_t tipo = 0;        // the object in the cell, see TipoCella
    std::uint8_t riservato = 0;   // never written
    std::int16_t valore_1 = 0;
    std::int16_t valore_2 = 0;
    std::int16_t valore_3 = 0;
    std::int16_t valore_4 = 0;
    std::uint8_t tempo_segnale = 0;    // signal cells: the signal's time value
    std::uint8_t preavviso = 0;        // approach marker before a signal or a station end
    std::uint8_t montagna = 0;         // kind of mountain stretch
    std::uint8_t velocita_limite = 0;  // line speed in units of 5 km/h
    std::uint8_t pendenza = 0;         // gradient in per mille + 100
    std::uint8_t aderenza = 0;         // adhesion value
};

// Cell type codes.
enum TipoCella : std::uint8_t {
    kVuota = 0,
    kSegnale = 1,
    kFineRallentamento = 2,
    kInizioRallentamento = 3,
    kAvvisoRallentamento = 4,
    kPrimaAvviso = 5,
    kIndicatoreVMax = 6,
    kFineStazione = 10,
    kMarcaMontagna = 11,
    kAbbattimento = 12,
    kAbbattimentoSenzaValore = 13,
    kCartello = 14,
};

// A cell is free for a new object when it is empty or holds only a
// mountain marker.
inline bool libera(const cella_percorso& cella) { return cella.tipo == kVuota || cella.tipo == kMarcaMontagna; }

// One record of the station table: a station, a sign text or header values.
struct voce_stazione {
    std::uint8_t tipo = 0;
    std::int32_t inizio = 0;
    std::int32_t fine = 0;
    std::int32_t posizione = 0;
    std::uint8_t attributo_5 = 0;
    std::string nome;
    std::int16_t attributo_7 = 0;
    std::int16_t attributo_8 = 0;
    std::int16_t attributo_9 = 0;
    std::int16_t attributo_10 = 0;
    std::int16_t attributo_11 = 0;
    std::uint8_t attributo_12 = 0;
    std::uint8_t sosta = 0;
    std::uint8_t attributo_14 = 0;
    std::uint8_t attributo_15 = 0;
    std::int32_t orario = 0;
};

// Entries 0 to 86: stations from 1 upward, sign texts from 80 downward,
// kilometric progressives in 81 to 83, header values in 84 to 86.
inline constexpr int kVociTabella = 87;
inline constexpr int kPrimaVoceCartelli = 80;
inline constexpr int kVoceProgressivaTre = 81;
inline constexpr int kVoceProgressivaDue = 82;
inline constexpr int kVoceProgressivaUno = 83;
inline constexpr int kVoceTreno = 84;
inline constexpr int kVoceScenario = 85;
inline constexpr int kVoceSegnalamento = 86;

using tabella_stazioni_t = std::array<voce_stazione, kVociTabella>;

// A grid's coordinates are written metre by metre before they are read, so
// zeroing a million of them first would be waste.
using coordinate_t = std::vector<double, uninitialised_allocator<double>>;

// The plan grid: x and y of the track's centre line for metres 0 to G.
// Metres 0 and 1 hold 16-bit integers once the track's start is set; the
// metres after them are computed one by one, so the computed metres are
// always 2 up to `metri_calcolati` - 1, and every later metre is empty (its
// element holds no value and is never read).
struct griglia_t {
    std::int32_t ultimo_metro = -1;    // G; -1 while the grid has no size
    std::int32_t metri_calcolati = 0;  // 0: empty; otherwise metres below it hold values
    coordinate_t x;
    coordinate_t y;

    bool dimensionata() const { return ultimo_metro >= 0; }
    void dimensiona(std::int32_t g) {
        ultimo_metro = g;
        metri_calcolati = 0;
        x.resize(static_cast<std::size_t>(g) + 1);
        y.resize(static_cast<std::size_t>(g) + 1);
    }
};

}  // namespace scenariogen
