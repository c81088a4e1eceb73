#include "preview/http_rules.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <utility>

namespace scenariogen {

namespace {

constexpr std::array<std::pair<std::string_view, Resource>, 10> kPaths{{
    {"/", Resource::kPage},
    {"/preview.js", Resource::kScript},
    {"/preview.css", Resource::kStyle},
    {"/events", Resource::kEvents},
    {"/state", Resource::kState},
    {"/model", Resource::kModel},
    {"/export", Resource::kExport},
    {"/window", Resource::kWindow},
    {"/pieces", Resource::kPieces},
    {"/position", Resource::kPosition},
}};

bool same_text_ignoring_case(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
           });
}

// localhost or 127.0.0.1, with the server's port; without a port only when
// the server listens on HTTP's own port 80.
bool names_this_server(std::string_view host, std::uint16_t port) {
    std::string_view name = host;
    std::string_view port_text;
    if (const auto colon = host.rfind(':'); colon != std::string_view::npos) {
        name = host.substr(0, colon);
        port_text = host.substr(colon + 1);
    }
    if (!same_text_ignoring_case(name, "localhost") && name != "127.0.0.1") return false;
    if (port_text.empty()) return port == 80 && host.find(':') == std::string_view::npos;
    return port_text == std::to_string(port);
}

Verdict refuse(int status, std::string reason) { return {Resource::kNone, status, std::move(reason)}; }

}  // namespace

Verdict judge_request(const RequestFacts& request, std::uint16_t port) {
    if (request.target.size() > kMaxTargetLength) {
        return refuse(414, "the request target is longer than " + std::to_string(kMaxTargetLength) + " bytes");
    }
    if (!request.host) return refuse(400, "the request has no Host header");
    if (!names_this_server(*request.host, port)) {
        return refuse(403, "this server answers only requests for localhost:" + std::to_string(port) +
                               " or 127.0.0.1:" + std::to_string(port));
    }
    if (request.method != "GET") return refuse(405, "this server answers only GET requests");
    if (request.target.empty() || request.target.front() != '/') {
        return refuse(400, "the request target is not a path");
    }
    const std::string_view path = request.target.substr(0, request.target.find('?'));
    for (const auto& [known, resource] : kPaths) {
        if (path == known) return {resource, 200, {}};
    }
    return refuse(404, "no such page: the preview serves only /");
}

std::string_view content_type(Resource resource) {
    switch (resource) {
        case Resource::kPage:
            return "text/html; charset=utf-8";
        case Resource::kScript:
            return "text/javascript; charset=utf-8";
        case Resource::kStyle:
            return "text/css; charset=utf-8";
        case Resource::kEvents:
            return "text/event-stream";
        case Resource::kState:
            return "application/json";
        case Resource::kModel:
        case Resource::kExport:
        case Resource::kWindow:
        case Resource::kPieces:
        case Resource::kPosition:
        case Resource::kNone:
            break;
    }
    return "text/plain; charset=utf-8";
}

}  // namespace scenariogen
