#include "lsp/json_rpc.h"

namespace scenariogen::lsp {

namespace {

bool usable_id(const json& id) { return id.is_number_integer() || id.is_string(); }

Refusal refuse(const json& id, int code, std::string_view message) { return {error_response(id, code, message)}; }

}  // namespace

std::variant<Message, Refusal> parse_message(std::string_view body) {
    json parsed = json::parse(body, nullptr, false);
    if (parsed.is_discarded()) return refuse(nullptr, rpc_error::kParseError, "the message is not valid JSON");
    if (parsed.is_array()) {
        return refuse(nullptr, rpc_error::kInvalidRequest, "batches of messages are not used by this server");
    }
    if (!parsed.is_object()) return refuse(nullptr, rpc_error::kInvalidRequest, "the message is not a JSON object");
    const auto id = parsed.find("id");
    const bool has_id = id != parsed.end();
    const json usable = has_id && usable_id(*id) ? *id : json(nullptr);
    const auto version = parsed.find("jsonrpc");
    if (version == parsed.end() || *version != "2.0") {
        return refuse(usable, rpc_error::kInvalidRequest, "the message lacks \"jsonrpc\": \"2.0\"");
    }
    if (has_id && !usable_id(*id) && !id->is_null()) {
        return refuse(nullptr, rpc_error::kInvalidRequest, "the id is neither a number nor a string");
    }
    Message message;
    const auto method = parsed.find("method");
    if (method == parsed.end()) {
        if (!has_id || (parsed.find("result") == parsed.end() && parsed.find("error") == parsed.end())) {
            return refuse(usable, rpc_error::kInvalidRequest, "the message has no method");
        }
        message.kind = Message::Kind::kResponse;
        message.id = usable;
        if (const auto error = parsed.find("error"); error != parsed.end()) message.error = std::move(*error);
        return message;
    }
    if (!method->is_string()) return refuse(usable, rpc_error::kInvalidRequest, "the method is not a string");
    message.method = method->get<std::string>();
    message.kind = has_id ? Message::Kind::kRequest : Message::Kind::kNotification;
    message.id = usable;
    // Null params stand for none: some clients send them with shutdown and exit.
    const auto params = parsed.find("params");
    if (params != parsed.end() && !params->is_null()) {
        if (!params->is_object() && !params->is_array()) {
            return refuse(usable, rpc_error::kInvalidRequest, "the params are neither an object nor an array");
        }
        message.params = std::move(*params);
    }
    return message;
}

json result_response(const json& id, json result) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"result", std::move(result)}};
}

json error_response(const json& id, int code, std::string_view message) {
    return {{"jsonrpc", "2.0"}, {"id", id}, {"error", {{"code", code}, {"message", message}}}};
}

json notification(std::string_view method, json params) {
    return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

std::string serialise(const json& message) { return message.dump(-1, ' ', false, json::error_handler_t::replace); }

}  // namespace scenariogen::lsp
