// `scenariogen compile`: an author's description files compiled into the
// three binary files, every fault reported at its place.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/command.h"
#include "cli/compilation_report.h"
#include "compiler/compile.h"
#include "content/fixed_scenario.h"
#include "format/binary_files.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"

namespace scenariogen {

namespace {

// A name that makes a file name inside the output folder and nowhere else.
bool usable_in_file_name(const std::string& name) {
    return name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

class CompileCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override {
        CLI::App* compile = app.add_subcommand(
            "compile", "Compile your own line and train descriptions into the simulator's binary files");
        compile->add_option("LINE", line_, "The line description")->required();
        compile->add_option("TRAIN", train_, "The train description")->required();
        compile->add_option("-o,--output", output_, "Write into DIR (default: the current folder)")->option_text("DIR");
        compile->add_option("--name", name_, "Scenario name, the start of every file name")->capture_default_str();
        compile->add_option("--train", train_number_, "Train number, part of the file names")->capture_default_str();
        compile->add_flag("--no-grid", no_grid_, "Neither build nor write the plan grid");
        return compile;
    }

    int run(Console& console) override {
        std::ostream& err = console.err;
        if (!usable_in_file_name(name_) || !usable_in_file_name(train_number_) || name_.empty()) {
            err << "scenariogen: the scenario name and the train number must not be empty or hold '/'\n";
            return kUsage;
        }
        for (const std::string* source : {&line_, &train_}) {
            try {
                check_readable(*source);
            } catch (const FileError& failure) {
                err << "scenariogen: cannot read " << failure.path() << ": " << failure.reason() << "\n";
                return kUsage;
            }
        }
        try {
            require_folder(output_);
            return compile_and_write(err);
        } catch (const FileError& failure) {
            err << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
            return kOutputFailed;
        }
    }

private:
    CompileResult compile_files(const DescriptionFile& line, const DescriptionFile& train) const {
        if (!line.text) {
            CompileResult result;
            result.outcome = CompileOutcome::kNoCells;
            result.faults.push_back(unreadable_description(line));
            result.last_error = 25;
            return result;
        }
        CompileInput input{*line.text, std::nullopt, name_, train_number_, !no_grid_};
        if (train.text) input.train_text = *train.text;
        return compile(input);
    }

    int compile_and_write(std::ostream& err) const {
        const DescriptionFile line = read_description(line_);
        const DescriptionFile train = read_description(train_);
        const SourceTexts sources{line_, line.text ? *line.text : std::string_view{}, train_,
                                  train.text ? *train.text : std::string_view{}};
        const CompileResult result = compile_files(line, train);
        report_faults(result, sources, err);
        if (result.outcome == CompileOutcome::kHeaderSlotsTaken) return kFaultRecorded;
        if (result.outcome == CompileOutcome::kNoCells) {
            err << "scenariogen: the route has no cells; no binary file was written\n";
            return kFaultRecorded;
        }
        write_binary_files(result.cells, result.stations, no_grid_ ? nullptr : &result.grid,
                           ScenarioFiles{output_, name_, train_number_});
        if (result.faults.empty()) return kSuccess;
        err << "scenariogen: " << result.faults.size() << (result.faults.size() == 1 ? " fault" : " faults")
            << "; the binary files hold what was stored up to them\n";
        return kFaultRecorded;
    }

    std::string line_;
    std::string train_;
    std::string output_ = ".";
    std::string name_ = kScenarioName;
    std::string train_number_ = kTrainNumber;
    bool no_grid_ = false;
};

}  // namespace

std::unique_ptr<Command> make_compile_command() { return std::make_unique<CompileCommand>(); }

}  // namespace scenariogen
