#include "compiler/memorizza_percorso.h"

#include "format/binary_writer.h"
#include "compiler/identity_codes.h"
#include "compiler/post_processing.h"
#include "platform/file_system.h"

namespace scenariogen {

namespace {
constexpr std::int16_t kIntestazioneTabella = 610;
constexpr std::int16_t kIntestazioneCelle = 5121;
}  // namespace

Esito compila(Scenario& s, std::int32_t& j, const DescriptionSources& sources) {
    s.j = j;
    s.codice_errore = 0;
    s.faults.clear();
    s.tabella_stazioni = tabella_stazioni_t{};
    // The cells and the grid are sized anew by the reading; none of an earlier compilation remains.
    s.percorso.clear();
    s.griglia = griglia_t{};
    memorizza_dati(s, sources);
    if (!s.percorso_dimensionato()) return Esito::kNonDimensionato;

    completa_celle(s);
    voce_stazione& scenario = s.tabella_stazioni[kVoceScenario];
    cella_percorso& intestazione = s.percorso[1];
    if (scenario.attributo_7 != 0 || intestazione.valore_1 != 0) errore("1250");
    scenario.attributo_7 = kIntestazioneTabella;
    intestazione.valore_1 = kIntestazioneCelle;
    if (scenario.orario != 0 || intestazione.valore_2 != 0) errore("1251");
    scenario.orario = codice_gara_st(s.tabella_stazioni);
    intestazione.valore_2 = codice_gara_og(s.tabella_stazioni);
    return Esito::kScritto;
}

void scrivi_file_binari(const Scenario& s, const ScenarioFiles& targets) {
    StagedFiles files;
    if (s.j != 0) files.stage(targets.grid(), [&](ByteOutput& out) { write_grid(s.griglia, out); });
    files.stage(targets.station_table(), [&](ByteOutput& out) { write_station_table(s.tabella_stazioni, out); });
    files.stage(targets.cells(), [&](ByteOutput& out) { write_cells(s.percorso, out); });
    files.commit();
}

Esito memorizza_percorso(Scenario& s, std::int32_t& j, const DescriptionSources& sources,
                         const ScenarioFiles& targets) {
    const Esito esito = compila(s, j, sources);
    if (esito == Esito::kScritto) scrivi_file_binari(s, targets);
    return esito;
}

}  // namespace scenariogen
