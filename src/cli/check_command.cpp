// `scenariogen check`: can the train keep its timetable? The descriptions
// compiled as `compile` does, then every leg between consecutive stations
// run by the running-time model against its scheduled time.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/command.h"
#include "cli/compilation_report.h"
#include "cli/timetable_warnings.h"
#include "compiler/compile.h"
#include "content/fixed_scenario.h"
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
        check->add_option("LINE", line_, "The line description")->required();
        check->add_option("TRAIN", train_, "The train description")->required();
        check->add_flag("--json", json_, "The table as JSON");
        check->add_option("-W", werror_, "-Werror: warnings fail the command")
            ->option_text("error")
            ->check(CLI::IsMember({"error"}));
        check->add_option("--acceleration", choice_.acceleration, "The train's acceleration, m/s² (default 0.5)")
            ->option_text("A")
            ->check(CLI::PositiveNumber);
        check
            ->add_option("--braking", choice_.braking,
                         "The train's braking, m/s² (default: from the braked-mass percentage)")
            ->option_text("B")
            ->check(CLI::PositiveNumber);
        check->add_option("--max-speed", choice_.max_speed_kmh, "The train's top speed, km/h (default 130)")
            ->option_text("V")
            ->check(CLI::PositiveNumber);
        check->add_option("--name", name_, "Scenario name, as for compile")->capture_default_str();
        check->add_option("--train", train_number_, "Train number, as for compile")->capture_default_str();
        return check;
    }

    int run(Console& console) override {
        for (const std::string* source : {&line_, &train_}) {
            try {
                check_readable(*source);
            } catch (const FileError& failure) {
                console.err << "scenariogen: cannot read " << failure.path() << ": " << failure.reason() << "\n";
                return kUsage;
            }
        }
        const DescriptionFile line = read_description(line_);
        const DescriptionFile train = read_description(train_);
        const SourceTexts sources{line_, line.text ? *line.text : std::string_view{}, train_,
                                  train.text ? *train.text : std::string_view{}};
        // The grid too, so that the faults are those of `compile`.
        const CompileResult compiled = compile_descriptions(line, train, name_, train_number_, true);
        report_faults(compiled, sources, console.err);
        if (compiled.outcome != CompileOutcome::kCompiled || !compiled.faults.empty()) {
            console.err << "scenariogen: the descriptions have faults; the timetable was not checked\n";
            return kFaultRecorded;
        }
        return check_timetable_of(compiled, sources, console);
    }

private:
    int check_timetable_of(const CompileResult& compiled, const SourceTexts& sources, Console& console) const {
        const std::int32_t braked_mass = compiled.stations[kTrainEntry].start;
        const TrainModel model = train_model(choice_, braked_mass);
        if (!(model.braking > 0)) {
            console.err << "scenariogen: " << train_ << " gives a braked-mass percentage of " << braked_mass
                        << " %, which leaves the train no brake; give its braking with --braking\n";
            return kUsage;
        }
        const TimetableCheck check = check_timetable(compiled.cells, compiled.stations, model);
        const Diagnostics warnings = timetable_warnings(check, compiled, sources.train_text);
        const bool as_errors = werror_ == "error";
        for (const Diagnostic& w : warnings) console.err << format_warning(w, sources, as_errors);
        if (json_) {
            console.out << with_places(timetable_json(check), check, warnings).dump(2) << "\n";
        } else {
            console.out << timetable_table(check);
        }
        if (check.legs.empty()) console.err << "scenariogen: " << train_ << " has fewer than two stations\n";
        return as_errors && !warnings.empty() ? kFaultRecorded : kSuccess;
    }

    // The place of each leg's problem, for tools that read the JSON.
    nlohmann::json with_places(nlohmann::json j, const TimetableCheck& check, const Diagnostics& warnings) const {
        std::size_t w = 0;
        for (std::size_t k = 0; k < check.legs.size(); ++k) {
            nlohmann::json& leg = j["legs"][k];
            if (leg["problem"].is_null() || w >= warnings.size()) continue;
            const Diagnostic& d = warnings[w++];
            if (d.where) leg["where"] = {{"file", train_}, {"line", d.where->line}, {"column", d.where->column}};
        }
        return j;
    }

    std::string line_;
    std::string train_;
    bool json_ = false;
    std::string werror_;
    TrainModelChoice choice_;
    std::string name_ = kScenarioName;
    std::string train_number_ = kTrainNumber;
};

}  // namespace

std::unique_ptr<Command> make_check_command() { return std::make_unique<CheckCommand>(); }

}  // namespace scenariogen
