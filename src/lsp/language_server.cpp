#include "lsp/language_server.h"

#include <algorithm>
#include <stdexcept>

#include "lsp/features.h"
#include "lsp/markup.h"
#include "lsp/protocol_json.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

// Thrown for a request that names something the server does not know.
class UnknownMethod : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

constexpr int kLogError = 1;
constexpr int kLogWarning = 2;
constexpr int kIncrementalSync = 2;
// The id of the one request the server sends.
constexpr std::string_view kWatchRegistration = "scenariogen/watch-files";

const std::string& text_member(const json& object, const char* key) {
    return object.at(key).get_ref<const std::string&>();
}

}  // namespace

void LanguageServer::handle(std::string_view body) {
    auto parsed = parse_message(body);
    if (auto* refusal = std::get_if<Refusal>(&parsed)) return send_(refusal->response);
    const Message& message = std::get<Message>(parsed);
    switch (message.kind) {
        case Message::Kind::kRequest:
            return handle_request(message);
        case Message::Kind::kNotification:
            return handle_notification(message);
        case Message::Kind::kResponse:
            return handle_response(message);
    }
}

void LanguageServer::framing_fault(const std::string& sentence) {
    send_(error_response(nullptr, rpc_error::kInvalidRequest, sentence));
}

void LanguageServer::publish_diagnostics() {
    for (Publication& publication : workspace_.refresh()) {
        json params{{"uri", publication.uri}, {"diagnostics", std::move(publication.diagnostics)}};
        if (publication.version) params["version"] = *publication.version;
        send_(notification("textDocument/publishDiagnostics", std::move(params)));
    }
}

void LanguageServer::handle_request(const Message& message) {
    if (message.method == "initialize") {
        initialized_ = true;
        client_ = read_client_capabilities(message.params);
        return send_(result_response(message.id, initialize_result()));
    }
    if (!initialized_) {
        return send_(error_response(message.id, rpc_error::kServerNotInitialized, "the server is not initialized"));
    }
    if (shut_down_) {
        return send_(error_response(message.id, rpc_error::kInvalidRequest, "the server is shutting down"));
    }
    try {
        send_(result_response(message.id, answer(message.method, message.params)));
    } catch (const UnknownMethod& unknown) {
        send_(error_response(message.id, rpc_error::kMethodNotFound, unknown.what()));
    } catch (const json::exception& bad) {
        send_(error_response(message.id, rpc_error::kInvalidParams, std::string("invalid params: ") + bad.what()));
    } catch (const std::invalid_argument& bad) {
        send_(error_response(message.id, rpc_error::kInvalidParams, bad.what()));
    } catch (const std::exception& failure) {
        send_(error_response(message.id, rpc_error::kInternalError, failure.what()));
    }
}

json LanguageServer::answer(const std::string& method, const json& params) {
    if (method == "shutdown") {
        shut_down_ = true;
        return nullptr;
    }
    if (method == "textDocument/hover") {
        const OpenDocument& document = document_of(params);
        json found = hover(document, position_from(params.at("position")), workspace_.compiled_unit(document.uri));
        if (found.is_object() && !client_.hover_markdown) {
            found["contents"] = markup_content(found["contents"]["value"].get<std::string>(), false);
        }
        return found;
    }
    if (method == "textDocument/documentSymbol") return document_symbols(document_of(params));
    if (method == "textDocument/foldingRange") return folding_ranges(document_of(params));
    if (method == "textDocument/completion")
        return completion(document_of(params), position_from(params.at("position")), client_);
    if (method == "textDocument/formatting") return formatting(document_of(params));
    if (method == "textDocument/inlayHint") {
        const TextRange range = range_from(params.at("range"));
        return inlay_hints(document_of(params), range.start.line, range.end.line);
    }
    throw UnknownMethod("the server does not answer " + method);
}

void LanguageServer::handle_notification(const Message& message) {
    if (message.method == "exit") {
        exited_ = true;
        return;
    }
    if (!initialized_ || shut_down_) return;
    const json& params = message.params;
    try {
        if (message.method == "initialized") {
            register_file_watch();
        } else if (message.method == "textDocument/didOpen") {
            const json& item = params.at("textDocument");
            workspace_.open(text_member(item, "uri"), item.at("version").get<int>(), text_member(item, "text"));
        } else if (message.method == "textDocument/didChange") {
            const json& item = params.at("textDocument");
            workspace_.change(text_member(item, "uri"), item.at("version").get<int>(), params.at("contentChanges"));
        } else if (message.method == "textDocument/didClose") {
            workspace_.close(text_member(params.at("textDocument"), "uri"));
        } else if (message.method == "textDocument/didSave" || message.method == "workspace/didChangeWatchedFiles") {
            workspace_.files_changed();
        }
    } catch (const std::exception& failure) {
        log(kLogError, message.method + " was not applied: " + failure.what());
    }
}

void LanguageServer::handle_response(const Message& message) {
    if (message.id != kWatchRegistration || message.error.is_null()) return;
    // The client refused to watch: the server watches the files itself.
    client_watches_files_ = false;
    log(kLogWarning,
        "the client does not watch the partner files (" + message.error.dump() + "); the server watches them itself");
}

// Partner files and project files change on disk while the editor holds
// their partners open: where the client allows, it watches them.
void LanguageServer::register_file_watch() {
    if (!client_.registers_file_watch || client_watches_files_) return;
    client_watches_files_ = true;
    const json watchers = json::array({{{"globPattern", "**/*.{txt,TXT,Txt}"}}, {{"globPattern", "**/scenario.json"}}});
    const json registration{{"id", "scenariogen/partner-files"},
                            {"method", "workspace/didChangeWatchedFiles"},
                            {"registerOptions", {{"watchers", watchers}}}};
    send_({{"jsonrpc", "2.0"},
           {"id", kWatchRegistration},
           {"method", "client/registerCapability"},
           {"params", {{"registrations", json::array({registration})}}}});
}

std::vector<std::string> LanguageServer::files_to_watch() const {
    if (!initialized_ || shut_down_ || client_watches_files_) return {};
    return workspace_.disk_inputs();
}

void LanguageServer::files_changed_on_disk() {
    if (initialized_ && !shut_down_) workspace_.files_changed();
}

json LanguageServer::initialize_result() const {
    return {
        {"capabilities",
         {{"positionEncoding", "utf-16"},
          {"textDocumentSync", {{"openClose", true}, {"change", kIncrementalSync}, {"save", {{"includeText", false}}}}},
          {"hoverProvider", true},
          {"documentSymbolProvider", true},
          {"foldingRangeProvider", true},
          {"completionProvider", {{"resolveProvider", false}}},
          {"documentFormattingProvider", true},
          {"inlayHintProvider", true}}},
        {"serverInfo", {{"name", "scenariogen"}, {"version", version_}}}};
}

const OpenDocument& LanguageServer::document_of(const json& params) const {
    const std::string& uri = text_member(params.at("textDocument"), "uri");
    const OpenDocument* document = workspace_.document(uri);
    if (document == nullptr) throw std::invalid_argument("the document " + uri + " is not open");
    return *document;
}

void LanguageServer::log(int type, const std::string& text) {
    send_(notification("window/logMessage", {{"type", type}, {"message", text}}));
}

}  // namespace scenariogen::lsp
