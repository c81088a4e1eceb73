// `scenariogen check`: can the train keep its timetable? The descriptions
// compiled as `compile` compiles them, strictly, then every leg between
// consecutive stations run by the running-time model against its
// scheduled time.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/command.h"
#include "cli/diagnostics_output.h"
#include "cli/model_options.h"
#include "cli/scenario_arguments.h"
#include "cli/strict_compilation.h"
#include "cli/swapped_descriptions.h"
#include "cli/timetable_warnings.h"
#include "cli/warning_flags.h"
#include "compiler/diagnostic_format.h"
#include "compiler/error_numbers.h"
#include "content/fixed_scenario.h"
#include "lint/warnings.h"
#include "pipeline/diagnostics_json.h"
#include "platform/file_system.h"
#include "timetable/timetable_check.h"
#include "timetable/train_model.h"
#include "views/timetable/timetable_report.h"

namespace scenariogen {

namespace {

class CheckCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override {
        CLI::App* check = app.add_subcommand(
            "check", "Compile your line and train descriptions and check that the train can keep its timetable");
        scenario_.add_to(*check);
        check->add_flag("--json", json_, "The table as JSON");
        add_model_options(*check, choice_);
        check->add_option("-W", flags_.w, "-Werror: warnings are errors; -Wno-NAME: no warning NAME (as for compile)")
            ->option_text("error|error=NAME|no-error=NAME|NAME|no-NAME")
            ->allow_extra_args(false);
        check->add_option("-f", flags_.f, "-fmax-errors=N: show at most N errors (default 50, 0: all)")
            ->option_text("max-errors=N")
            ->allow_extra_args(false);
        diagnostics_output_.add_to(*check);
        describe_warnings(*check);
        return check;
    }

    int run(Console& console) override {
        const std::optional<ScenarioLookup> scenario = scenario_.look_up(console.err);
        if (!scenario) return kUsage;
        line_ = scenario->line_path;
        train_ = scenario->train_path;
        name_ = scenario->names.name;
        train_number_ = scenario->names.number;
        for (const std::string* source : {&line_, &train_}) {
            try {
                check_readable(*source);
            } catch (const FileError& failure) {
                console.err << "scenariogen: cannot read " << failure.path() << ": " << failure.reason() << "\n";
                return kUsage;
            }
        }
        StrictOptions strict{name_, train_number_, true, {}, 50};
        if (!flags_.apply(strict, console.err)) return kUsage;
        if (!diagnostics_output_.sarif_spares(line_, train_, console.err)) return kUsage;
        PipelineOutcome c = compile_strictly(line_, train_, strict);
        if (const auto swapped = swapped_descriptions(c.diagnostics, line_, train_, "check")) {
            console.err << *swapped;
            return kUsage;
        }
        require_brake(c);
        const DiagnosticSources sources{line_, train_, c.line_text, c.train_text};
        const std::size_t errors = diagnostics_output_.report(c, sources, strict.max_errors, console.err);
        if (c.has_errors()) {
            if (!write_sarif(c.diagnostics, sources, console)) return kOutputFailed;
            if (json_) {
                console.out
                    << nlohmann::json{{"diagnostics", diagnostics_json(c.diagnostics, file_names(sources))}}.dump(2)
                    << "\n";
            }
            if (c.result && c.result->outcome == CompileOutcome::kHeaderSlotsTaken) {
                console.err << kRunEndingPrompt << c.result->last_error << "\n";
            }
            console.err << "scenariogen: " << errors << (errors == 1 ? " error" : " errors")
                        << "; the timetable was not checked\n";
            return kFaultRecorded;
        }
        return check_timetable_of(c, strict, sources, console);
    }

private:
    // A train without a brake cannot be run: without --braking, the warning
    // on its braked-mass percentage becomes an error, at its line.
    void require_brake(PipelineOutcome& c) const {
        if (c.has_errors()) return;
        const std::int32_t braked_mass = c.result->stations[kTrainEntry].start;
        if (train_model(choice_, braked_mass).braking > 0) return;
        const std::string why =
            ": the timetable cannot be checked without a brake; give the braking rate with --braking";
        for (Diagnostic& d : c.diagnostics) {
            if (d.name != "braked-mass") continue;
            d.severity = Severity::kError;
            d.message =
                "a braked-mass percentage of " + std::to_string(braked_mass) + " % gives the train no brake" + why;
            return;
        }
        Diagnostic missing;
        missing.name = "braked-mass";
        missing.where = SourceRange{SourceFile::kTrain, 0, 0, 0};
        missing.message =
            "the train's braked-mass percentage is " + std::to_string(braked_mass) + " % or not given" + why;
        c.diagnostics.push_back(std::move(missing));
    }

    int check_timetable_of(const PipelineOutcome& c, const StrictOptions& strict, const DiagnosticSources& sources,
                           Console& console) const {
        const CompileResult& result = *c.result;
        const TrainModel model = train_model(choice_, result.stations[kTrainEntry].start);
        const TimetableCheck check = check_timetable(result.cells, result.stations, model);
        const Diagnostics warnings = apply_warning_options(timetable_warnings(check, result), strict.warnings);
        std::size_t errors = 0;
        for (const Diagnostic& w : warnings) errors += w.severity == Severity::kError;
        diagnostics_output_.report_more(warnings, sources, console.err);
        Diagnostics all = c.diagnostics;
        all.insert(all.end(), warnings.begin(), warnings.end());
        if (!write_sarif(all, sources, console)) return kOutputFailed;
        if (json_) {
            nlohmann::json j = with_places(timetable_json(check), check, warnings);
            j["diagnostics"] = diagnostics_json(all, file_names(sources));
            console.out << j.dump(2) << "\n";
        } else {
            console.out << timetable_table(check);
        }
        if (check.legs.empty()) console.err << "scenariogen: " << train_ << " has fewer than two stations\n";
        if (errors == 0) return kSuccess;
        console.err << "scenariogen: " << errors << (errors == 1 ? " error" : " errors") << " (-Werror)\n";
        return kFaultRecorded;
    }

    bool write_sarif(const Diagnostics& diagnostics, const DiagnosticSources& sources, Console& console) const {
        try {
            diagnostics_output_.write_sarif(diagnostics, sources);
            return true;
        } catch (const FileError& failure) {
            console.err << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
            return false;
        }
    }

    // The place of each leg's problem, for tools that read the JSON.
    nlohmann::json with_places(nlohmann::json j, const TimetableCheck& check, const Diagnostics& warnings) const {
        std::size_t w = 0;
        for (std::size_t k = 0; k < check.legs.size() && w < warnings.size(); ++k) {
            nlohmann::json& leg = j["legs"][k];
            if (leg["problem"].is_null()) continue;
            while (w + 1 < warnings.size() && warnings[w].severity == Severity::kNote) ++w;
            const Diagnostic& d = warnings[w++];
            if (d.where) leg["where"] = {{"file", train_}, {"line", d.where->line}, {"column", d.where->column}};
        }
        return j;
    }

    ScenarioArguments scenario_;
    std::string line_;
    std::string train_;
    bool json_ = false;
    TrainModelChoice choice_;
    std::string name_;
    std::string train_number_;
    StrictFlags flags_;
    DiagnosticsOutput diagnostics_output_;
};

}  // namespace

std::unique_ptr<Command> make_check_command() { return std::make_unique<CheckCommand>(); }

}  // namespace scenariogen
