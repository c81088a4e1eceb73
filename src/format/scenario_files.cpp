#include "run/scenario_files.h"

#include "run/file_system.h"

namespace scenariogen {

std::string ScenarioFiles::path(const std::string& name) const { return join_path(folder, name); }

std::string ScenarioFiles::line_description() const { return path(nome_scenario + "_linea.txt"); }
std::string ScenarioFiles::train_description() const {
    return path(nome_scenario + "_" + numero_treno + "-.txt");
}
std::string ScenarioFiles::notes() const { return path(nome_scenario + "_" + numero_treno + "_note.txt"); }
std::string ScenarioFiles::slowdown_order() const {
    return path(nome_scenario + "_" + numero_treno + "_rallentamenti.txt");
}
std::string ScenarioFiles::train_card() const {
    return path(nome_scenario + "_" + numero_treno + "_scheda_treno.txt");
}
std::string ScenarioFiles::grid() const { return path(nome_scenario + "_linea.dat"); }
std::string ScenarioFiles::station_table() const { return path(nome_scenario + "_" + numero_treno + ".sim"); }
std::string ScenarioFiles::cells() const { return path(nome_scenario + "_" + numero_treno + ".dat"); }

}  // namespace scenariogen
