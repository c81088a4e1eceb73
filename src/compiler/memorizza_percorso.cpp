#include "compiler/memorizza_percorso.h"

#include "compiler/identity_codes.h"
#include "compiler/post_processing.h"
#include "format/binary_writer.h"
#include "platform/file_system.h"

namespace scenariogen {

namespace {
constexpr std::int16_t kIntestazioneTabella = 610;
constexpr std::int16_t kIntestazioneCelle = 5121;
}  // namespace

Esito compila(Scenario& s, std::int32_t& j, const DescriptionSources& sources) {
    s.j = j;
    s.last_error = 0;
    s.faults.clear();
    s.stations = StationTable{};
    // The cells and the grid are sized anew by the reading; none of an earlier compilation remains.
    s.cells.clear();
    s.grid = Grid{};
    memorizza_dati(s, sources);
    if (!s.has_cells()) return Esito::kNonDimensionato;

    completa_celle(s);
    StationEntry& scenario = s.stations[kScenarioEntry];
    Cell& intestazione = s.cells[1];
    if (scenario.attribute_7 != 0 || intestazione.value_1 != 0) errore("1250");
    scenario.attribute_7 = kIntestazioneTabella;
    intestazione.value_1 = kIntestazioneCelle;
    if (scenario.time != 0 || intestazione.value_2 != 0) errore("1251");
    scenario.time = codice_gara_st(s.stations);
    intestazione.value_2 = codice_gara_og(s.stations);
    return Esito::kScritto;
}

void scrivi_file_binari(const Scenario& s, const ScenarioFiles& targets) {
    StagedFiles files;
    if (s.j != 0) files.stage(targets.grid(), [&](ByteOutput& out) { write_grid(s.grid, out); });
    files.stage(targets.station_table(), [&](ByteOutput& out) { write_station_table(s.stations, out); });
    files.stage(targets.cells(), [&](ByteOutput& out) { write_cells(s.cells, out); });
    files.commit();
}

Esito memorizza_percorso(Scenario& s, std::int32_t& j, const DescriptionSources& sources,
                         const ScenarioFiles& targets) {
    const Esito esito = compila(s, j, sources);
    if (esito == Esito::kScritto) scrivi_file_binari(s, targets);
    return esito;
}

}  // namespace scenariogen
