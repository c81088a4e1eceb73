// The preview's web server: HTTP/1.1 on 127.0.0.1 only, serving the page,
// its script and style, the current state as JSON, and a stream of
// Server-Sent Events that carries every new state to every open page.
// Requests are parsed by Boost.Beast; what is answered is decided by
// judge_request (http_rules.h).
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "preview/http_rules.h"
#include "preview/page_assets.h"

namespace scenariogen {

// The answer to one of the page's requests of the session (/model, /export).
struct ActionReply {
    int status = 200;
    std::string content_type = "text/plain; charset=utf-8";
    std::string body;
    std::string file_name;  // not empty: the body is a download of this name
};

// Answers a request for `resource` with the query after the '?'. Runs on the
// server's thread.
using ActionHandler = std::function<ActionReply(Resource resource, std::string_view query)>;

class PreviewServer {
public:
    // Listens on 127.0.0.1:port (0: a free port the system picks). Throws
    // std::runtime_error, naming the address, when it cannot.
    PreviewServer(std::uint16_t port, PageAssets assets, ActionHandler actions = {});
    ~PreviewServer();
    PreviewServer(const PreviewServer&) = delete;
    PreviewServer& operator=(const PreviewServer&) = delete;

    std::uint16_t port() const;

    // The state every open page gets now, and every page that opens later:
    // the document /state answers, and the event sent to open pages (empty:
    // the document). Safe from any thread.
    void publish(std::string state_json, std::string event_json = {});

    // Serves on the calling thread until stop(), or until SIGINT or SIGTERM
    // arrives; then calls `on_signal`, closes every connection and returns.
    void run(const std::function<void()>& on_signal);

    // Ends run(); safe from any thread.
    void stop();

private:
    struct Impl;
    std::unique_ptr<Impl> impl_;
};

}  // namespace scenariogen
