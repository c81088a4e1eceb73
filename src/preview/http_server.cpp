#include "preview/http_server.h"

#include <boost/asio/ip/tcp.hpp>
#include <boost/asio/post.hpp>
#include <boost/asio/signal_set.hpp>
#include <boost/asio/steady_timer.hpp>
#include <boost/beast/core.hpp>
#include <boost/beast/http.hpp>
#include <chrono>
#include <csignal>
#include <optional>
#include <set>
#include <stdexcept>

#include "preview/http_rules.h"

namespace scenariogen {

namespace asio = boost::asio;
namespace beast = boost::beast;
namespace http = beast::http;
using tcp = asio::ip::tcp;

namespace {

constexpr auto kRequestTimeout = std::chrono::seconds(10);
constexpr std::size_t kMaxConnections = 64;
constexpr const char* kServerName = "scenariogen-preview";
// The page runs only its own script and style; the drawing is inline SVG.
constexpr const char* kPagePolicy =
    "default-src 'none'; script-src 'self'; style-src 'self'; img-src 'self' data:; connect-src 'self'; "
    "base-uri 'none'; form-action 'none'; frame-ancestors 'none'";

std::string_view view(beast::string_view text) { return {text.data(), text.size()}; }

// The refusal for a request that could not be read, by what went wrong.
std::pair<http::status, std::string> refusal_for(const beast::error_code& error) {
    if (error == http::error::header_limit || error == http::error::buffer_overflow) {
        return {http::status::request_header_fields_too_large,
                "the request's header is longer than " + std::to_string(kMaxHeaderBytes) + " bytes"};
    }
    if (error == http::error::body_limit || error == http::error::unexpected_body) {
        return {http::status::payload_too_large, "a request to this server has no body"};
    }
    if (error == beast::error::timeout) return {http::status::request_timeout, "the request did not arrive in time"};
    return {http::status::bad_request, "the request is not well-formed HTTP/1.1: " + error.message()};
}

}  // namespace

class Connection;

// What the server's connections share; touched only on the thread that runs the server.

struct ServerCore {
    PageAssets assets;
    ActionHandler actions;
    std::uint16_t port = 0;
    std::set<Connection*> live;                       // every open connection
    std::set<std::shared_ptr<Connection>> streams;    // the event streams
    std::shared_ptr<const std::string> latest_json;   // the state, for /state
    std::shared_ptr<const std::string> latest_event;  // the same, framed as an event
    bool stopping = false;
    // Last, so that handlers still pending when it goes find the rest alive.
    asio::io_context io{1};
    tcp::acceptor acceptor{io};
    asio::signal_set signals{io};
    asio::steady_timer retry{io};

    void accept();
    void shut_down();
    void broadcast();
};

// One client connection: reads one request, then either answers it and
// closes, or holds it open as an event stream.
class Connection : public std::enable_shared_from_this<Connection> {
public:
    Connection(tcp::socket socket, ServerCore& server) : stream_(std::move(socket)), server_(server) {
        server_.live.insert(this);
    }
    ~Connection() { server_.live.erase(this); }

    void start() {
        parser_.emplace();
        parser_->header_limit(kMaxHeaderBytes);
        parser_->body_limit(0);
        stream_.expires_after(kRequestTimeout);
        http::async_read(stream_, buffer_, *parser_,
                         [self = shared_from_this()](beast::error_code error, std::size_t) { self->on_read(error); });
    }

    // Sends the newest event, after any being written; older ones that were
    // never sent are dropped, since only the newest state matters.
    void send(std::shared_ptr<const std::string> event) {
        pending_ = std::move(event);
        if (!writing_ && streaming_) write_next();
    }

    void close() {
        beast::error_code ignored;
        stream_.socket().shutdown(tcp::socket::shutdown_both, ignored);
        stream_.socket().close(ignored);
    }

private:
    void on_read(const beast::error_code& error) {
        if (error == http::error::end_of_stream || error == asio::error::operation_aborted ||
            error == asio::error::connection_reset || server_.stopping) {
            return close();
        }
        if (error) {
            auto [status, reason] = refusal_for(error);
            return answer(status, "text/plain; charset=utf-8", reason + "\n");
        }
        const auto& request = parser_->get();
        std::optional<std::string_view> host;
        if (const auto field = request.find(http::field::host); field != request.end()) host = view(field->value());
        if (request.count(http::field::host) > 1) {
            return answer(http::status::bad_request, "text/plain; charset=utf-8", "the request has two Host headers\n");
        }
        const Verdict verdict =
            judge_request({view(request.method_string()), view(request.target()), host}, server_.port);
        switch (verdict.resource) {
            case Resource::kNone:
                return answer(static_cast<http::status>(verdict.status), "text/plain; charset=utf-8",
                              verdict.reason + "\n");
            case Resource::kPage:
                return answer(http::status::ok, content_type(verdict.resource), std::string(server_.assets.html));
            case Resource::kScript:
                return answer(http::status::ok, content_type(verdict.resource), std::string(server_.assets.script));
            case Resource::kStyle:
                return answer(http::status::ok, content_type(verdict.resource), std::string(server_.assets.style));
            case Resource::kState:
                return answer(http::status::ok, content_type(verdict.resource),
                              server_.latest_json ? *server_.latest_json : std::string("null"));
            case Resource::kEvents:
                return open_stream();
            case Resource::kModel:
            case Resource::kExport:
            case Resource::kWindow:
            case Resource::kPieces:
            case Resource::kPosition:
                return act(verdict.resource, view(request.target()));
        }
    }

    void act(Resource resource, std::string_view target) {
        const std::size_t mark = target.find('?');
        const std::string_view query = mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
        ActionReply reply{404, "text/plain; charset=utf-8", "this server has no session to ask\n", {}};
        if (server_.actions) reply = server_.actions(resource, query);
        answer(static_cast<http::status>(reply.status), reply.content_type, std::move(reply.body), reply.file_name);
    }

    void set_common_fields(http::header<false>& header) {
        header.set(http::field::server, kServerName);
        header.set(http::field::cache_control, "no-store");
        header.set("X-Content-Type-Options", "nosniff");
        header.set("X-Frame-Options", "DENY");
        header.set("Referrer-Policy", "no-referrer");
        header.set("Content-Security-Policy", kPagePolicy);
    }

    void answer(http::status status, std::string_view type, std::string body, const std::string& download = {}) {
        auto response = std::make_shared<http::response<http::string_body>>(status, 11);
        set_common_fields(response->base());
        response->set(http::field::content_type, beast::string_view(type.data(), type.size()));
        if (!download.empty())
            response->set(http::field::content_disposition, "attachment; filename=\"" + download + "\"");
        if (status == http::status::method_not_allowed) response->set(http::field::allow, "GET");
        response->keep_alive(false);
        response->body() = std::move(body);
        response->prepare_payload();
        stream_.expires_after(kRequestTimeout);
        http::async_write(stream_, *response,
                          [self = shared_from_this(), response](beast::error_code, std::size_t) { self->close(); });
    }

    void open_stream() {
        auto response = std::make_shared<http::response<http::empty_body>>(http::status::ok, 11);
        set_common_fields(response->base());
        response->set(http::field::content_type, std::string(content_type(Resource::kEvents)));
        response->chunked(true);
        auto serializer = std::make_shared<http::response_serializer<http::empty_body>>(*response);
        stream_.expires_never();
        http::async_write_header(
            stream_, *serializer,
            [self = shared_from_this(), response, serializer](beast::error_code error, std::size_t) {
                if (error || self->server_.stopping) return self->close();
                self->streaming_ = true;
                self->server_.streams.insert(self);
                self->watch_for_end();
                self->send(self->server_.latest_event);
            });
    }

    // A page that goes away closes its end: any read that completes ends the stream.
    void watch_for_end() {
        stream_.socket().async_read_some(asio::buffer(discard_),
                                         [self = shared_from_this()](beast::error_code, std::size_t) { self->end(); });
    }

    void end() {
        close();
        server_.streams.erase(shared_from_this());
    }

    void write_next() {
        if (!pending_) return;
        auto event = std::move(pending_);
        pending_.reset();
        writing_ = true;
        asio::async_write(stream_.socket(), http::make_chunk(asio::buffer(*event)),
                          [self = shared_from_this(), event](beast::error_code error, std::size_t) {
                              self->writing_ = false;
                              if (error) return self->end();
                              self->write_next();
                          });
    }

    beast::tcp_stream stream_;
    ServerCore& server_;
    beast::flat_buffer buffer_{kMaxHeaderBytes + 4096};
    std::optional<http::request_parser<http::empty_body>> parser_;
    std::shared_ptr<const std::string> pending_;
    bool writing_ = false;
    bool streaming_ = false;
    char discard_[64];
};

void ServerCore::accept() {
    acceptor.async_accept([this](beast::error_code error, tcp::socket socket) {
        if (stopping || !acceptor.is_open()) return;
        if (!error) {
            if (live.size() < kMaxConnections) {
                std::make_shared<Connection>(std::move(socket), *this)->start();
            }
            return accept();
        }
        // Out of descriptors or a like failure: try again a little later.
        retry.expires_after(std::chrono::milliseconds(100));
        retry.async_wait([this](beast::error_code) {
            if (!stopping) accept();
        });
    });
}

void ServerCore::broadcast() {
    for (const auto& stream : streams) stream->send(latest_event);
}

void ServerCore::shut_down() {
    if (stopping) return;
    stopping = true;
    beast::error_code ignored;
    acceptor.close(ignored);
    signals.cancel(ignored);
    retry.cancel();
    for (Connection* connection : live) connection->close();
    streams.clear();
}

struct PreviewServer::Impl : ServerCore {};

PreviewServer::PreviewServer(std::uint16_t port, PageAssets assets, ActionHandler actions)
    : impl_(std::make_unique<Impl>()) {
    impl_->assets = assets;
    impl_->actions = std::move(actions);
    const tcp::endpoint endpoint(asio::ip::address_v4::loopback(), port);
    try {
        impl_->acceptor.open(endpoint.protocol());
        impl_->acceptor.set_option(tcp::acceptor::reuse_address(true));
        impl_->acceptor.bind(endpoint);
        impl_->acceptor.listen();
    } catch (const boost::system::system_error& failure) {
        throw std::runtime_error("cannot listen on 127.0.0.1:" + std::to_string(port) + ": " +
                                 failure.code().message());
    }
    impl_->port = impl_->acceptor.local_endpoint().port();
}

PreviewServer::~PreviewServer() = default;

std::uint16_t PreviewServer::port() const { return impl_->port; }

void PreviewServer::publish(std::string state_json, std::string event_json) {
    auto json = std::make_shared<const std::string>(std::move(state_json));
    auto event = std::make_shared<const std::string>(
        "retry: 1000\nevent: state\ndata: " + (event_json.empty() ? *json : event_json) + "\n\n");
    asio::post(impl_->io, [impl = impl_.get(), json, event] {
        impl->latest_json = json;
        impl->latest_event = event;
        impl->broadcast();
    });
}

void PreviewServer::run(const std::function<void()>& on_signal) {
    impl_->signals.add(SIGINT);
    impl_->signals.add(SIGTERM);
    impl_->signals.async_wait([impl = impl_.get(), on_signal](beast::error_code error, int) {
        if (error) return;
        if (on_signal) on_signal();
        impl->shut_down();
    });
    impl_->accept();
    impl_->io.run();
}

void PreviewServer::stop() {
    asio::post(impl_->io, [impl = impl_.get()] { impl->shut_down(); });
}

}  // namespace scenariogen
