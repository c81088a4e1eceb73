// Writes the largest route's line and train descriptions into a folder, for
// measuring the program from the command line.
#include <fstream>
#include <iostream>

#include "bench/largest_route.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: write_largest_route DIR\n";
        return 2;
    }
    const std::string folder = argv[1];
    std::ofstream(folder + "/grande_linea.txt", std::ios::binary) << scenariogen::largest_line_description();
    std::ofstream(folder + "/grande_treno.txt", std::ios::binary) << scenariogen::largest_train_description();
    return 0;
}
