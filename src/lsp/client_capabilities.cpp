#include "lsp/client_capabilities.h"

#include <initializer_list>

namespace scenariogen::lsp {

namespace {

using nlohmann::json;

// The member at `path`, or null when any step of it is missing.
const json& member_at(const json& object, std::initializer_list<const char*> path) {
    static const json kMissing;
    const json* at = &object;
    for (const char* key : path) {
        if (!at->is_object()) return kMissing;
        const auto found = at->find(key);
        if (found == at->end()) return kMissing;
        at = &*found;
    }
    return *at;
}

bool is_true(const json& value) { return value.is_boolean() && value.get<bool>(); }

bool lists_markdown(const json& formats) {
    if (!formats.is_array()) return false;
    for (const json& format : formats) {
        if (format == "markdown") return true;
    }
    return false;
}

}  // namespace

ClientCapabilities read_client_capabilities(const json& initialize_params) {
    const json& capabilities = member_at(initialize_params, {"capabilities"});
    const json& item = member_at(capabilities, {"textDocument", "completion", "completionItem"});
    ClientCapabilities read;
    read.snippets = is_true(member_at(item, {"snippetSupport"}));
    read.completion_markdown = lists_markdown(member_at(item, {"documentationFormat"}));
    read.hover_markdown = lists_markdown(member_at(capabilities, {"textDocument", "hover", "contentFormat"}));
    read.registers_file_watch =
        is_true(member_at(capabilities, {"workspace", "didChangeWatchedFiles", "dynamicRegistration"}));
    return read;
}

}  // namespace scenariogen::lsp
