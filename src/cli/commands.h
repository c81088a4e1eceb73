// The program's commands besides the generation run: compiling an author's
// description files, and inspecting compiled binary files.
#pragma once

#include <cstdint>
#include <iosfwd>
#include <optional>
#include <string>

#include "views/dump/scenario_dump.h"

namespace scenariogen {

struct CompileOptions {
    std::string line;
    std::string train;
    std::string output = ".";
    std::string name;
    std::string train_number;
    bool no_grid = false;
};

// Compiles an author's files into DIR; the sources are never changed.
int run_compile(const CompileOptions& options, std::ostream& err);

struct DumpCommandOptions {
    std::string file;
    bool json = false;
    std::optional<FileKind> kind;  // told by name and content when not given
    DumpOptions dump;
};

int run_dump(const DumpCommandOptions& options, std::ostream& out, std::ostream& err);

struct PlotOptions {
    std::string folder;
    std::string name;
    std::string train_number;
    std::string output;  // empty: FOLDER/NAME_NUMBER.svg
};

// Draws the plan and the profile of the compiled scenario in a folder as
// one SVG page.
int run_plot(const PlotOptions& options, std::ostream& err);

}  // namespace scenariogen
