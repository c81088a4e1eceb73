// The language server's protocol state and dispatch: what each message
// does, and the messages it answers with. It never reads or writes a
// stream; serve() in server_loop.h feeds it.
#pragma once

#include <functional>
#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <vector>

#include "lsp/client_capabilities.h"
#include "lsp/json_rpc.h"
#include "lsp/workspace.h"

namespace scenariogen::lsp {

class LanguageServer {
public:
    using Send = std::function<void(const nlohmann::json& message)>;

    LanguageServer(std::string version, Send send) : version_(std::move(version)), send_(std::move(send)) {}

    // One framed body.
    void handle(std::string_view body);
    // A break in the framing; the client hears of it as an error response.
    void framing_fault(const std::string& sentence);
    // Publishes the diagnostics of every compilation the messages so far made
    // stale. Called once the messages at hand are handled, so that a burst of
    // changes compiles once.
    void publish_diagnostics();

    // The files the server itself must watch, and the call to make when one
    // of them changed: none while the client watches them for the server
    // (workspace/didChangeWatchedFiles, registered where the client allows).
    std::vector<std::string> files_to_watch() const;
    void files_changed_on_disk();

    bool exited() const { return exited_; }
    // The status to exit with: 0 after shutdown then exit, 1 otherwise.
    int exit_status() const { return shut_down_ ? 0 : 1; }

private:
    void handle_request(const Message& message);
    void handle_notification(const Message& message);
    void handle_response(const Message& message);
    void register_file_watch();
    nlohmann::json answer(const std::string& method, const nlohmann::json& params);
    nlohmann::json initialize_result() const;
    nlohmann::json navigate(const std::string& method, const nlohmann::json& params);
    nlohmann::json workspace_symbols(const std::string& query);
    const OpenDocument& document_of(const nlohmann::json& params) const;
    void log(int type, const std::string& text);

    std::string version_;
    Send send_;
    Workspace workspace_;
    ClientCapabilities client_;
    bool client_watches_files_ = false;
    bool initialized_ = false;
    bool shut_down_ = false;
    bool exited_ = false;
};

}  // namespace scenariogen::lsp
