#include "lsp/language_server.h"

#include <algorithm>
#include <stdexcept>

#include "lsp/features.h"
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
constexpr int kIncrementalSync = 2;

const std::string& text_member(const json& object, const char* key) {
    return object.at(key).get_ref<const std::string&>();
}

// A capability the client declares at `path` (a JSON pointer), false when absent or not a boolean.
bool declares(const json& capabilities, const char* path) {
    const json::json_pointer pointer(path);
    return capabilities.contains(pointer) && capabilities.at(pointer).is_boolean() &&
           capabilities.at(pointer).get<bool>();
}

bool takes_markdown(const json& capabilities, const char* path) {
    const json::json_pointer pointer(path);
    if (!capabilities.contains(pointer) || !capabilities.at(pointer).is_array()) return false;
    const json& formats = capabilities.at(pointer);
    return std::find(formats.begin(), formats.end(), "markdown") != formats.end();
}

// What the client can take: snippets and Markdown only where it says so.
ClientFeatures client_features(const json& params) {
    if (!params.is_object() || !params.contains("capabilities")) return {};
    const json& c = params.at("capabilities");
    return {declares(c, "/textDocument/completion/completionItem/snippetSupport"),
            takes_markdown(c, "/textDocument/hover/contentFormat")};
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
            return;  // the server sends no request that awaits one
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
        client_ = client_features(message.params);
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
        return hover(document, position_from(params.at("position")), workspace_.compiled_unit(document.uri), client_);
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
        if (message.method == "textDocument/didOpen") {
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
