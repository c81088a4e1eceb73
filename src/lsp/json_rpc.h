// JSON-RPC 2.0 as the language server speaks it: a framed body becomes a
// request, a notification or a response, or the error response that tells
// the client why it is none of them.
#pragma once

#include <nlohmann/json.hpp>
#include <string>
#include <string_view>
#include <variant>

namespace scenariogen::lsp {

using nlohmann::json;

namespace rpc_error {
inline constexpr int kParseError = -32700;
inline constexpr int kInvalidRequest = -32600;
inline constexpr int kMethodNotFound = -32601;
inline constexpr int kInvalidParams = -32602;
inline constexpr int kInternalError = -32603;
inline constexpr int kServerNotInitialized = -32002;
inline constexpr int kRequestFailed = -32803;
}  // namespace rpc_error

struct Message {
    enum class Kind { kRequest, kNotification, kResponse };
    Kind kind = Kind::kNotification;
    json id;  // requests and responses: a number or a string
    std::string method;
    json params;  // null when absent
    json error;   // a response's error; null when it has none
};

// A body that is not a message: the error response to send (id null
// unless the body named a usable id).
struct Refusal {
    json response;
};

std::variant<Message, Refusal> parse_message(std::string_view body);

json result_response(const json& id, json result);
json error_response(const json& id, int code, std::string_view message);
json notification(std::string_view method, json params);

// The body of a message; text that is not UTF-8 is replaced, never thrown on.
std::string serialise(const json& message);

}  // namespace scenariogen::lsp
