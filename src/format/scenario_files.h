// The names of a scenario's files, built from the scenario name and the train
// number, in one output folder.
#pragma once

#include <string>

namespace scenariogen {

struct ScenarioFiles {
    std::string folder;
    std::string scenario_name;
    std::string train_number;

    std::string line_description() const;   // <nome>_linea.txt
    std::string train_description() const;  // <nome>_<treno>-.txt
    std::string notes() const;              // <nome>_<treno>_note.txt
    std::string slowdown_order() const;     // <nome>_<treno>_rallentamenti.txt
    std::string train_card() const;         // <nome>_<treno>_scheda_treno.txt
    std::string grid() const;               // <nome>_linea.dat
    std::string station_table() const;      // <nome>_<treno>.sim
    std::string cells() const;              // <nome>_<treno>.dat

private:
    std::string path(const std::string& name) const;
};

}  // namespace scenariogen
