// `scenariogen lsp`: the language server for an editor, on standard input
// and output.
#include <CLI/CLI.hpp>
#include <ostream>

#include "cli/command.h"
#include "lsp/server_loop.h"

namespace scenariogen {

namespace {

class LspCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override {
        return app.add_subcommand("lsp",
                                  "Serve the Language Server Protocol on stdin and stdout, for an editor: diagnostics "
                                  "as you type, hover, symbols, completion and formatting of the descriptions");
    }

    int run(Console& console) override {
        lsp::StandardStream stream;
        return lsp::serve(stream, SCENARIOGEN_VERSION, console.err);
    }
};

}  // namespace

std::unique_ptr<Command> make_lsp_command() { return std::make_unique<LspCommand>(); }

}  // namespace scenariogen
