// `scenariogen new NAME`: a commented pair of description files to start a
// scenario from, NAME_linea.txt and NAME_NUMBER-.txt, which compile and check
// without a diagnostic. Existing files are never overwritten.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/command.h"
#include "content/fixed_scenario.h"
#include "content/starter_descriptions.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"

namespace scenariogen {

namespace {

class NewCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override {
        CLI::App* command = app.add_subcommand(
            "new",
            "Write a commented line and train description to start a scenario from: NAME_linea.txt, NAME_NUMBER-.txt");
        command->add_option("NAME", name_, "The scenario name, the start of the file names")->required();
        command->add_option("-o,--output", output_, "Write into DIR (default: the current folder)")->option_text("DIR");
        command->add_option("--train", train_number_, "Train number, part of the train file's name")
            ->capture_default_str();
        return command;
    }

    int run(Console& console) override {
        if (name_.empty() || !is_plain_file_name(name_ + "_") || !is_plain_file_name(train_number_ + "_")) {
            console.err << "scenariogen: the scenario name must not be empty, and neither it nor the train number "
                           "may hold a path separator\n";
            return kUsage;
        }
        const std::string line = join_path(output_, name_ + "_linea.txt");
        const std::string train = join_path(output_, name_ + "_" + train_number_ + "-.txt");
        try {
            require_folder(output_);
            for (const std::string* path : {&line, &train}) {
                if (!file_exists(*path)) continue;
                console.err << "scenariogen: " << *path << " exists already; new never overwrites a file\n";
                return kUsage;
            }
            write_lines(line, starter_line_lines());
            write_both(line, train);
        } catch (const FileError& failure) {
            console.err << "scenariogen: cannot write " << failure.path() << ": " << failure.reason() << "\n";
            return kOutputFailed;
        }
        console.out << "Wrote " << line << " and " << train << ". Next:\n  scenariogen check " << line << " " << train
                    << "\n  scenariogen compile " << line << " " << train << " --name " << name_ << " --train "
                    << train_number_ << "\n";
        return kSuccess;
    }

private:
    // The train file after the line file: when it cannot be written, the
    // line file goes too, so that a failure leaves nothing behind.
    static void write_both(const std::string& line, const std::string& train) {
        try {
            write_lines(train, starter_train_lines());
        } catch (const FileError&) {
            remove_file(line);
            throw;
        }
    }

    std::string name_;
    std::string output_ = ".";
    std::string train_number_ = kTrainNumber;
};

}  // namespace

std::unique_ptr<Command> make_new_command() { return std::make_unique<NewCommand>(); }

}  // namespace scenariogen
