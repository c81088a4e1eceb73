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
        CLI::App* lsp = app.add_subcommand(
            "lsp",
            "Serve the Language Server Protocol on stdin and stdout, for an editor: diagnostics as you type, hover, "
            "symbols, completion and formatting of the descriptions");
        // What clients append when they start a server over the standard
        // streams (vscode-languageclient does); stdio is the only transport.
        lsp->add_flag("--stdio", stdio_, "Talk over stdin and stdout (the only transport; the default)");
        lsp->add_option("--clientProcessId", client_process_,
                        "The editor's process id, as some clients pass it; accepted and not needed: the server ends "
                        "when the editor closes its input");
        return lsp;
    }

    int run(Console& console) override {
        lsp::StandardStream stream;
        return lsp::serve(stream, SCENARIOGEN_VERSION, console.err);
    }

private:
    bool stdio_ = true;
    long long client_process_ = 0;
};

}  // namespace

std::unique_ptr<Command> make_lsp_command() { return std::make_unique<LspCommand>(); }

}  // namespace scenariogen
