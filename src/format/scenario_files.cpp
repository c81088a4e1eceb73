#include "format/scenario_files.h"

#include "platform/file_system.h"

namespace scenariogen {

std::string ScenarioFiles::path(const std::string& name) const { return join_path(folder, name); }

std::string ScenarioFiles::line_description() const { return path(scenario_name + "_linea.txt"); }
std::string ScenarioFiles::train_description() const { return path(scenario_name + "_" + train_number + "-.txt"); }
std::string ScenarioFiles::notes() const { return path(scenario_name + "_" + train_number + "_note.txt"); }
std::string ScenarioFiles::slowdown_order() const {
    return path(scenario_name + "_" + train_number + "_rallentamenti.txt");
}
std::string ScenarioFiles::train_card() const { return path(scenario_name + "_" + train_number + "_scheda_treno.txt"); }
std::string ScenarioFiles::grid() const { return path(scenario_name + "_linea.dat"); }
std::string ScenarioFiles::station_table() const { return path(scenario_name + "_" + train_number + ".sim"); }
std::string ScenarioFiles::cells() const { return path(scenario_name + "_" + train_number + ".dat"); }

}  // namespace scenariogen
