// Writes the fixed route's line and train descriptions (the two files the
// generation run writes and then compiles) into a folder, for the preview's
// browser test and its latency benchmark.
#include <iostream>

#include "content/description_files.h"
#include "content/fixed_scenario.h"
#include "format/scenario_files.h"
#include "platform/file_system.h"
#include "text/text_lines.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_fixed_route DIR\n";
        return 2;
    }
    using namespace scenariogen;
    const ScenarioFiles files{argv[1], kScenarioName, kTrainNumber};
    try {
        write_lines(files.line_description(), line_description_lines());
        write_lines(files.train_description(), train_description_lines());
    } catch (const FileError& failure) {
        std::cerr << "write_fixed_route: " << failure.path() << ": " << failure.reason() << "\n";
        return 3;
    }
    std::cout << files.line_description() << "\n" << files.train_description() << "\n";
    return 0;
}
