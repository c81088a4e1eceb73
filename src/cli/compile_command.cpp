// `scenariogen compile`: an author's description files compiled into the
// three binary files, every fault reported at its place.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/command.h"
#include "cli/compilation_report.h"
#include "cli/compiled_files.h"
#include "cli/diagnostics_output.h"
#include "cli/output_folder.h"
#include "cli/scenario_arguments.h"
#include "cli/strict_compilation.h"
#include "cli/swapped_descriptions.h"
#include "cli/warning_flags.h"
#include "compiler/compile.h"
#include "compiler/error_numbers.h"
#include "content/fixed_scenario.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"

namespace scenariogen {

namespace {

// A name that makes a file name inside the output folder and nowhere else:
// every file name begins with it and goes on with "_".
bool usable_in_file_name(const std::string& name) { return is_plain_file_name(name + "_"); }

class CompileCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override {
        CLI::App* compile = app.add_subcommand(
            "compile", "Compile your own line and train descriptions into the simulator's binary files");
        scenario_.add_to(*compile);
        compile
            ->add_option("-o,--output", output_,
                         "Write into DIR (default: scenario.json's output, else the current folder)")
            ->option_text("DIR");
        compile->add_flag("--no-grid", no_grid_, "Neither build nor write the plan grid");
        compile->add_flag("--permissive", permissive_,
                          "No strict check: write the binary files from whatever was stored, faults or not, as "
                          "earlier versions did");
        compile
            ->add_option("-W", flags_.w,
                         "-Werror: warnings are errors; -Werror=NAME: warning NAME is one; -Wno-NAME: no warning NAME")
            ->option_text("error|error=NAME|no-error=NAME|NAME|no-NAME")
            ->allow_extra_args(false);
        compile->add_option("-f", flags_.f, "-fmax-errors=N: show at most N errors (default 50, 0: all)")
            ->option_text("max-errors=N")
            ->allow_extra_args(false);
        compile->add_flag("--no-wait", no_wait_, "Fail at once (status 3) when another run is writing into DIR");
        diagnostics_output_.add_to(*compile);
        describe_warnings(*compile);
        return compile;
    }

    int run(Console& console) override {
        std::ostream& err = console.err;
        const std::optional<ScenarioLookup> scenario = scenario_.look_up(err);
        if (!scenario) return kUsage;
        line_ = scenario->line_path;
        train_ = scenario->train_path;
        output_ = scenario_.output_folder(output_, *scenario);
        name_ = scenario->names.name;
        train_number_ = scenario->names.number;
        names_ = scenario->names;
        if (!usable_in_file_name(name_) || !usable_in_file_name(train_number_) || name_.empty()) {
            err << "scenariogen: the scenario name must not be empty, and neither it nor the train number may hold "
                   "a path separator\n";
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
        StrictOptions strict{name_, train_number_, !no_grid_, {}, 50};
        if (!permissive_ && !flags_.apply(strict, err)) return kUsage;
        if (!diagnostics_output_.sarif_spares(line_, train_, err)) return kUsage;
        try {
            require_folder(output_);
            const FolderLock lock = lock_output_folder(output_, no_wait_, err);
            if (const int refused = refuse_sources_as_outputs(err)) return refused;
            return permissive_ ? compile_and_write(err) : compile_strictly_and_write(strict, err);
        } catch (const FolderBusy& busy) {
            report_busy_folder(busy, err);
            return kOutputFailed;
        } catch (const FileError& failure) {
            err << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
            return kOutputFailed;
        }
    }

private:
    std::vector<std::string> outputs() const {
        const ScenarioFiles files{output_, name_, train_number_};
        std::vector<std::string> paths{files.cells(), files.station_table()};
        if (!no_grid_) paths.push_back(files.grid());
        return paths;
    }

    // The compiler never writes over the files it reads: an output that is
    // LINE or TRAIN under another name (a link, the same path) is refused, and
    // so is an output name taken by a folder, before anything is written.
    int refuse_sources_as_outputs(std::ostream& err) const {
        for (const std::string& output : outputs()) {
            refuse_folder_as_output(output);
            for (const std::string* source : {&line_, &train_}) {
                if (!same_file(*source, output)) continue;
                err << "scenariogen: " << *source << " is the output " << output
                    << "; compile never writes over the files it reads (see -o, --name and --train)\n";
                return kUsage;
            }
        }
        return 0;
    }

    // Writes the binary files, after a warning when they take the fixed
    // scenario's names for want of others.
    void write_files(const CompileResult& result, std::ostream& err) const {
        warn_of_default_names(names_, outputs(), err);
        write_compiled_files(result, !no_grid_, ScenarioFiles{output_, name_, train_number_});
    }

    CompileResult compile_files(const DescriptionFile& line, const DescriptionFile& train) const {
        if (!line.text) {
            CompileResult result;
            result.outcome = CompileOutcome::kNoCells;
            result.faults.push_back(unreadable_description(line));
            result.last_error = 25;
            return result;
        }
        CompileInput input{*line.text, std::nullopt, name_, train_number_, !no_grid_};
        input.grid_coordinates = false;  // computed as the grid file is written
        if (train.text) input.train_text = *train.text;
        return compile(input);
    }

    int compile_and_write(std::ostream& err) const {
        const DescriptionFile line = read_description_file(line_);
        const DescriptionFile train = read_description_file(train_);
        const DiagnosticSources sources{line_, train_, line.text ? *line.text : std::string_view{},
                                        train.text ? *train.text : std::string_view{}};
        const CompileResult result = compile_files(line, train);
        report_faults(result, sources, err);
        if (result.outcome == CompileOutcome::kHeaderSlotsTaken) return kFaultRecorded;
        if (result.outcome == CompileOutcome::kNoCells) {
            err << "scenariogen: the route has no cells; no binary file was written\n";
            return kFaultRecorded;
        }
        write_files(result, err);
        if (result.faults.empty()) return kSuccess;
        err << "scenariogen: " << result.faults.size() << (result.faults.size() == 1 ? " fault" : " faults")
            << "; the binary files hold what was stored up to them\n";
        return kFaultRecorded;
    }

    // Strict: every fault of both files shown, and nothing written unless there is none.
    int compile_strictly_and_write(const StrictOptions& strict, std::ostream& err) const {
        const PipelineOutcome c = compile_strictly(line_, train_, strict);
        if (const auto swapped = swapped_descriptions(c.diagnostics, line_, train_, "compile")) {
            err << *swapped;
            return kUsage;
        }
        const DiagnosticSources sources{line_, train_, c.line_text, c.train_text};
        const std::size_t errors = diagnostics_output_.report(c, sources, strict.max_errors, err);
        diagnostics_output_.write_sarif(c.diagnostics, sources);
        if (c.has_errors()) {
            if (c.result && c.result->outcome == CompileOutcome::kHeaderSlotsTaken) {
                err << kRunEndingPrompt << c.result->last_error << "\n";
            }
            err << "scenariogen: " << errors << (errors == 1 ? " error" : " errors")
                << "; no file was written, the earlier files are as they were\n";
            return kFaultRecorded;
        }
        write_files(*c.result, err);
        return kSuccess;
    }

    ScenarioArguments scenario_;
    std::string line_;
    std::string train_;
    std::string output_;
    std::string name_;
    std::string train_number_;
    ScenarioNames names_;
    bool no_grid_ = false;
    bool permissive_ = false;
    StrictFlags flags_;
    DiagnosticsOutput diagnostics_output_;
    bool no_wait_ = false;
};

}  // namespace

std::unique_ptr<Command> make_compile_command() { return std::make_unique<CompileCommand>(); }

}  // namespace scenariogen
