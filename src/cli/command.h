// A command of the program: it adds its own options to the command line and
// runs when the user names it. main() knows only the list of commands.
#pragma once

#include <iosfwd>
#include <memory>
#include <vector>

namespace CLI {
class App;
}

namespace scenariogen {

// Exit statuses shared by every command of the program.
enum ExitStatus : int {
    kSuccess = 0,
    kFaultRecorded = 1,  // a fault in the scenario data (or a malformed file for dump)
    kUsage = 2,          // bad arguments, or an input file that cannot be read
    kOutputFailed = 3,   // an output file could not be written
};

// Where a command reports: its result (dump, check --json) and its messages.
struct Console {
    std::ostream& out;
    std::ostream& err;
};

class Command {
public:
    virtual ~Command() = default;
    // Adds the command as a subcommand of `app`, with its options.
    virtual CLI::App* add_to(CLI::App& app) = 0;
    virtual int run(Console& console) = 0;
};

std::unique_ptr<Command> make_compile_command();
std::unique_ptr<Command> make_check_command();
std::unique_ptr<Command> make_dump_command();
std::unique_ptr<Command> make_plot_command();
std::unique_ptr<Command> make_preview_command();
std::unique_ptr<Command> make_lsp_command();
std::unique_ptr<Command> make_explain_command();
std::unique_ptr<Command> make_new_command();

// Every command, in the order --help lists them.
std::vector<std::unique_ptr<Command>> all_commands();

}  // namespace scenariogen
