// Writes the generation run's own line and train descriptions into a
// folder, under the names the run gives them, for the language server's
// tests: the run itself deletes them once compiled.
#include <fstream>
#include <iostream>

#include "content/description_files.h"
#include "text/text_lines.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_fixed_descriptions DIR\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::ofstream(folder + "/Zervano-OdelmaVmod_linea.txt", std::ios::binary)
        << scenariogen::render_lines(scenariogen::line_description_lines());
    std::ofstream(folder + "/Zervano-OdelmaVmod_27340-.txt", std::ios::binary)
        << scenariogen::render_lines(scenariogen::train_description_lines());
    return 0;
}
