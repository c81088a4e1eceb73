// The state of one compilation: everything the readers, the marker
// procedures and the post-processing share, from the first field read to
// the last byte written.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "compiler/error_numbers.h"
#include "format/records.h"

namespace scenariogen {

inline constexpr std::int32_t kLunghezzaMassima = 1000000;
inline constexpr int kMontagneMassime = 80;

struct Scenario {
    std::string nome_scenario;
    std::string numero_treno;
    std::int32_t j = 1;  // not 0: build and write the plan grid

    std::vector<cella_percorso> percorso;  // cells 0 to U; empty until sized
    tabella_stazioni_t tabella_stazioni{};
    griglia_t griglia;

    // Mountain stretches in the order read; index 0 is never used.
    std::array<std::int32_t, kMontagneMassime + 1> inizio_montagna{};
    std::array<std::int32_t, kMontagneMassime + 1> fine_montagna{};
    std::int32_t numero_montagne = 0;

    // The last fault recorded (0: none) and the last position set by a fault.
    std::int32_t codice_errore = 0;
    std::int32_t posizione_errore = 0;
    // Every fault in the order found; the last one is what codice_errore holds.
    std::vector<Fault> faults;

    bool percorso_dimensionato() const { return !percorso.empty(); }
    // The last cell index U.
    std::int32_t ultima_cella() const { return static_cast<std::int32_t>(percorso.size()) - 1; }

    // Records a fault: the number always, the position when given.
    void registra(Fault fault) {
        codice_errore = fault.codice;
        if (fault.posizione) posizione_errore = *fault.posizione;
        faults.push_back(std::move(fault));
    }
};

}  // namespace scenariogen
