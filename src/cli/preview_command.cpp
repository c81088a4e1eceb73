// `scenariogen preview`: a web page on 127.0.0.1 that shows the plan, the
// profile, the faults and the figures of an author's descriptions, redrawn
// after every save.
#include <CLI/CLI.hpp>
#include <atomic>
#include <mutex>
#include <ostream>
#include <thread>

#include "cli/command.h"
#include "cli/compiled_files.h"
#include "cli/model_options.h"
#include "cli/scenario_arguments.h"
#include "content/fixed_scenario.h"
#include "format/scenario_files.h"
#include "platform/file_system.h"
#include "platform/file_watch.h"
#include "platform/program_folder.h"
#include "preview/editor_link.h"
#include "preview/http_server.h"
#include "preview/preview_loop.h"
#include "preview/session_requests.h"

namespace scenariogen {

namespace {

struct PreviewOptions {
    ScenarioArguments scenario;
    std::string line;
    std::string train;
    int port = 8040;
    std::string name;
    std::string train_number;
    std::string write_folder;  // empty: nothing is written
    PreviewSettings settings;  // the model's values and the editor's link
};

// LINE, TRAIN and the names, as every command finds them; false when
// they cannot be found, said on `err`.
bool look_up_scenario_of(PreviewOptions& options, std::ostream& err) {
    const std::optional<ScenarioLookup> scenario = options.scenario.look_up(err);
    if (!scenario) return false;
    options.line = scenario->line_path;
    options.train = scenario->train_path;
    options.name = scenario->names.name;
    options.train_number = scenario->names.number;
    if (options.write_folder.empty()) return true;
    options.write_folder = options.scenario.from_folder(options.write_folder);
    const ScenarioFiles targets{options.write_folder, options.name, options.train_number};
    warn_of_default_names(scenario->names, {targets.cells(), targets.station_table(), targets.grid()}, err);
    return true;
}

bool usable_in_file_name(const std::string& name) {
    return !name.empty() && name.find('/') == std::string::npos && name.find('\0') == std::string::npos;
}

// Lines for the terminal come from the compiling thread and the server's.
class Terminal {
public:
    explicit Terminal(std::ostream& stream) : stream_(stream) {}
    void say(const std::string& line) {
        std::lock_guard lock(mutex_);
        stream_ << "scenariogen preview: " << line << std::endl;
    }

private:
    std::ostream& stream_;
    std::mutex mutex_;
};

PreviewSinks sinks_for(PreviewServer& server, Terminal& terminal, const PreviewOptions& options) {
    PreviewSinks sinks;
    sinks.publish = [&server](PublishedState state) {
        server.publish(std::move(state.document), std::move(state.event));
    };
    sinks.report = [&terminal](const std::string& line) { terminal.say(line); };
    if (!options.write_folder.empty()) {
        const ScenarioFiles targets{options.write_folder, options.name, options.train_number};
        sinks.on_clean = [targets, &terminal](const PreviewCompilation& compilation) {
            try {
                write_compiled_files(compilation.result(), true, targets);
                terminal.say("wrote the binary files into " + targets.folder);
            } catch (const FileError& failure) {
                terminal.say("cannot write " + failure.path() + ": " + failure.reason());
            }
        };
    }
    return sinks;
}

// What must hold before the server starts; an empty text when it does.
std::string usage_fault(const PreviewOptions& options) {
    if (!usable_in_file_name(options.name) || !usable_in_file_name(options.train_number)) {
        return "the scenario name and the train number must not be empty or hold '/'";
    }
    if (options.port < 0 || options.port > 65535) return "the port must be 0 to 65535";
    if (const std::string& url = options.settings.editor_url; !url.empty()) {
        if (std::string fault = editor_url_fault(url); !fault.empty()) return fault;
    }
    try {
        check_readable(options.line);
        check_readable(options.train);
    } catch (const FileError& failure) {
        return "cannot read " + failure.path() + ": " + failure.reason();
    }
    try {
        if (!options.write_folder.empty()) require_folder(options.write_folder);
    } catch (const FileError& failure) {
        return "cannot write into " + failure.path() + ": " + failure.reason();
    }
    return {};
}

CLI::App* add_preview_options(CLI::App& app, PreviewOptions& options) {
    CLI::App* preview = app.add_subcommand(
        "preview",
        "Show the plan, the profile and the faults of your descriptions in the browser, redrawn at every save");
    options.scenario.add_to(*preview);
    preview->add_option("--port", options.port, "Listen on 127.0.0.1:N (default 8040; 0: any free port)")
        ->option_text("N")
        ->capture_default_str();
    preview
        ->add_option("--write", options.write_folder,
                     "After each compilation without a fault, write the three binary files into DIR")
        ->option_text("DIR");
    preview
        ->add_option("--editor-url", options.settings.editor_url,
                     "The link of a fault on the page, with {path}, {line} and {column} (default: VS Code's, "
                     "vscode://file{path}:{line}:{column}; empty: no links)")
        ->option_text("URL");
    add_model_options(*preview, options.settings.model);
    return preview;
}

// Serves the live preview of an author's files until Ctrl-C.
int run_preview(PreviewOptions& options, std::ostream& out, std::ostream& err) {
    if (!look_up_scenario_of(options, err)) return kUsage;
    if (const std::string fault = usage_fault(options); !fault.empty()) {
        err << "scenariogen: " << fault << "\n";
        return kUsage;
    }
    std::unique_ptr<FileWatch> watch;
    std::unique_ptr<PreviewServer> server;
    std::unique_ptr<PreviewSession> session;  // made before the server serves
    try {
        watch = watch_files({options.line, options.train});
        server = std::make_unique<PreviewServer>(static_cast<std::uint16_t>(options.port), preview_page_assets(),
                                                 [&session](Resource resource, std::string_view query) {
                                                     return answer_session_request(*session, resource, query);
                                                 });
    } catch (const std::exception& failure) {
        err << "scenariogen: " << failure.what() << "\n";
        return kUsage;
    }
    Terminal terminal(err);
    out << "http://127.0.0.1:" << server->port() << "/" << std::endl;
    terminal.say("watching " + options.line + " and " + options.train + "; Ctrl-C stops");
    const PreviewSources sources{options.line, options.train, options.name, options.train_number};
    session = std::make_unique<PreviewSession>(sources, sinks_for(*server, terminal, options), options.settings);
    std::atomic<bool> watch_failed = false;
    std::thread compiling([&] {
        try {
            run_preview_loop(*session, *watch);
        } catch (const std::exception& failure) {
            terminal.say(std::string("the watch failed: ") + failure.what());
            watch_failed = true;
            server->stop();
        }
    });
    server->run([&] { watch->stop(); });
    watch->stop();
    compiling.join();
    terminal.say("stopped");
    return watch_failed ? kUsage : kSuccess;
}

class PreviewCommand : public Command {
public:
    CLI::App* add_to(CLI::App& app) override { return add_preview_options(app, options_); }
    int run(Console& console) override { return run_preview(options_, console.out, console.err); }

private:
    PreviewOptions options_;
};

}  // namespace

std::unique_ptr<Command> make_preview_command() { return std::make_unique<PreviewCommand>(); }

}  // namespace scenariogen
