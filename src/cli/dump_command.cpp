// `scenariogen dump`: what a compiled binary file holds, as a table or JSON.
#include <CLI/CLI.hpp>
#include <map>
#include <optional>
#include <ostream>

#include "cli/command.h"
#include "cli/command_output.h"
#include "format/binary_reader.h"
#include "platform/file_system.h"
#include "views/dump/scenario_dump.h"

namespace scenariogen {

namespace {

class DumpCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override {
        CLI::App* dump = app.add_subcommand("dump", "Show what a cell file, station table or grid file holds");
        dump->add_option("FILE", file_, "A binary file written by scenariogen")->required();
        dump->add_flag("--json", json_, "JSON instead of a table");
        dump->add_flag("--all", options_.all_cells, "Every cell that holds anything, not only changes");
        dump->add_option("--every", options_.every, "Grid: one row every N metres")
            ->option_text("N")
            ->check(CLI::PositiveNumber)
            ->capture_default_str();
        const std::map<std::string, FileKind> kinds{
            {"cells", FileKind::kCells}, {"stations", FileKind::kStationTable}, {"grid", FileKind::kGrid}};
        dump->add_option("--kind", kind_, "The file's kind, when its name does not tell")
            ->transform(CLI::CheckedTransformer(kinds));
        dump->add_option("-o,--output", output_, "Write to FILE instead of the standard output (-)")
            ->option_text("FILE");
        return dump;
    }

    int run(Console& console) override {
        std::string bytes;
        try {
            bytes = read_file(file_);
        } catch (const FileError& failure) {
            console.err << "scenariogen: cannot read " << failure.path() << ": " << failure.reason() << "\n";
            return kUsage;
        }
        std::string shown;
        try {
            const FileKind kind = kind_ ? *kind_ : detect_kind(file_, bytes);
            shown = json_ ? dump_json(kind, bytes, options_).dump(2) + "\n" : dump_table(kind, bytes, options_);
        } catch (const DecodeError& error) {
            console.err << "scenariogen: " << file_ << ": " << error.message() << " at byte offset " << error.offset()
                        << "\n";
            return kFaultRecorded;
        }
        return write_command_output(output_, shown, console);
    }

private:
    std::string file_;
    bool json_ = false;
    std::optional<FileKind> kind_;  // told by name and content when not given
    DumpOptions options_;
    std::string output_ = "-";
};

}  // namespace

std::unique_ptr<Command> make_dump_command() { return std::make_unique<DumpCommand>(); }

}  // namespace scenariogen
