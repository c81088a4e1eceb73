// What the client said it can do, in its initialize request: the server
// sends only what the client can show.
#pragma once

#include <nlohmann/json.hpp>

namespace scenariogen::lsp {

struct ClientCapabilities {
    bool snippets = false;              // completion items may be snippets
    bool completion_markdown = false;   // completion documentation may be markdown
    bool hover_markdown = false;        // hover contents may be markdown
    bool registers_file_watch = false;  // workspace/didChangeWatchedFiles may be registered dynamically
};

// Reads the capabilities of an initialize request's params; what is absent
// or malformed counts as not declared.
ClientCapabilities read_client_capabilities(const nlohmann::json& initialize_params);

}  // namespace scenariogen::lsp
