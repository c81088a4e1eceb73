// The language server's latency for one keystroke on the largest route:
// the time from a change sent to the diagnostics received, through the real
// protocol. The largest route's two descriptions are opened in
// `scenariogen lsp`, run as its own process on pipes; then each keystroke
// rewrites one digit of a gradient value, as an editor sends it (an
// incremental change), and waits for the diagnostics of the line
// description.
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iostream>
#include <nlohmann/json.hpp>
#include <stdexcept>
#include <string>
#include <vector>

#include "bench/largest_route.h"
#include "lsp/message_framing.h"

extern char** environ;

namespace {

using nlohmann::json;
using Clock = std::chrono::steady_clock;

constexpr int kPatienceMs = 10000;

class ServerProcess {
public:
    explicit ServerProcess(const std::string& program) {
        int to_server[2];
        int from_server[2];
        if (::pipe(to_server) != 0 || ::pipe(from_server) != 0) throw std::runtime_error("pipe failed");
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, to_server[0], 0);
        posix_spawn_file_actions_adddup2(&actions, from_server[1], 1);
        posix_spawn_file_actions_addclose(&actions, to_server[1]);
        posix_spawn_file_actions_addclose(&actions, from_server[0]);
        std::vector<char*> argv{const_cast<char*>(program.c_str()), const_cast<char*>("lsp"), nullptr};
        if (posix_spawn(&pid_, program.c_str(), &actions, nullptr, argv.data(), environ) != 0) {
            throw std::runtime_error("cannot start " + program);
        }
        posix_spawn_file_actions_destroy(&actions);
        ::close(to_server[0]);
        ::close(from_server[1]);
        in_ = to_server[1];
        out_ = from_server[0];
    }

    ~ServerProcess() {
        ::close(in_);
        // Read what the server still says (the answer to shutdown) until it ends.
        char rest[4096];
        while (::read(out_, rest, sizeof rest) > 0) {
        }
        ::close(out_);
        int status = 0;
        ::waitpid(pid_, &status, 0);
    }

    void send(const json& message) {
        const std::string bytes = scenariogen::lsp::frame_message(message.dump());
        for (std::size_t done = 0; done < bytes.size();) {
            const ssize_t n = ::write(in_, bytes.data() + done, bytes.size() - done);
            if (n <= 0) throw std::runtime_error("the server stopped reading");
            done += static_cast<std::size_t>(n);
        }
    }

    // The next message the server sends.
    json receive() {
        for (;;) {
            if (std::optional<scenariogen::lsp::Frame> frame = reader_.next()) return json::parse(frame->text);
            pollfd ready{out_, POLLIN, 0};
            if (::poll(&ready, 1, kPatienceMs) <= 0) throw std::runtime_error("the server did not answer");
            char buffer[1 << 16];
            const ssize_t n = ::read(out_, buffer, sizeof buffer);
            if (n <= 0) throw std::runtime_error("the server closed its output");
            reader_.feed(std::string_view(buffer, static_cast<std::size_t>(n)));
        }
    }

    json diagnostics_of(const std::string& uri) {
        for (;;) {
            json message = receive();
            if (message.value("method", "") == "textDocument/publishDiagnostics" && message["params"]["uri"] == uri) {
                return message["params"]["diagnostics"];
            }
        }
    }

private:
    pid_t pid_ = 0;
    int in_ = -1;
    int out_ = -1;
    scenariogen::lsp::MessageReader reader_;
};

std::string write_file(const std::string& folder, const std::string& name, const std::string& text) {
    const std::string path = folder + "/" + name;
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

json open_message(const std::string& uri, const std::string& text) {
    return {
        {"jsonrpc", "2.0"},
        {"method", "textDocument/didOpen"},
        {"params", {{"textDocument", {{"uri", uri}, {"languageId", "scenariogen"}, {"version", 1}, {"text", text}}}}}};
}

// The line and column of the first gradient value's last digit.
std::pair<int, int> gradient_digit(const std::string& text) {
    const std::size_t at = text.find("pendenza,  1000,  ");
    if (at == std::string::npos) throw std::runtime_error("no gradient at 1000 m in the largest route");
    const int line = static_cast<int>(std::count(text.begin(), text.begin() + static_cast<std::ptrdiff_t>(at), '\n'));
    const std::size_t end = text.find('\r', at);
    return {line, static_cast<int>(end - at - 1)};
}

double percentile(std::vector<double> values, double p) {
    std::sort(values.begin(), values.end());
    return values[static_cast<std::size_t>(p * static_cast<double>(values.size() - 1))];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 3) {
        std::cerr << "usage: lsp_latency SCENARIOGEN DIR [KEYSTROKES]\n";
        return 2;
    }
    const int keystrokes = argc > 3 ? std::max(1, std::atoi(argv[3])) : 200;
    const std::string line_text = scenariogen::largest_line_description();
    const std::string line_uri = "file://" + write_file(argv[2], "Grande_linea.txt", line_text);
    const std::string train_uri =
        "file://" + write_file(argv[2], "Grande_1-.txt", scenariogen::largest_train_description());
    try {
        ServerProcess server(argv[1]);
        server.send(
            {{"jsonrpc", "2.0"}, {"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", json::object()}}}});
        server.receive();
        server.send({{"jsonrpc", "2.0"}, {"method", "initialized"}, {"params", json::object()}});
        server.send(open_message(line_uri, line_text));
        server.send(open_message(train_uri, scenariogen::largest_train_description()));
        if (!server.diagnostics_of(line_uri).empty()) throw std::runtime_error("the largest route has faults");
        const auto [line, column] = gradient_digit(line_text);
        std::vector<double> milliseconds;
        for (int k = 0; k < keystrokes; ++k) {
            const json range = {{"start", {{"line", line}, {"character", column}}},
                                {"end", {{"line", line}, {"character", column + 1}}}};
            const auto sent = Clock::now();
            server.send({{"jsonrpc", "2.0"},
                         {"method", "textDocument/didChange"},
                         {"params",
                          {{"textDocument", {{"uri", line_uri}, {"version", k + 2}}},
                           {"contentChanges", {{{"range", range}, {"text", k % 2 ? "1" : "2"}}}}}}});
            server.diagnostics_of(line_uri);
            milliseconds.push_back(std::chrono::duration<double, std::milli>(Clock::now() - sent).count());
        }
        server.send({{"jsonrpc", "2.0"}, {"id", 2}, {"method", "shutdown"}});
        server.send({{"jsonrpc", "2.0"}, {"method", "exit"}});
        std::printf(
            "keystroke to diagnostics, largest route (%d keystrokes): median %.2f ms, p95 %.2f ms, max %.2f ms\n",
            keystrokes, percentile(milliseconds, 0.5), percentile(milliseconds, 0.95),
            *std::max_element(milliseconds.begin(), milliseconds.end()));
    } catch (const std::exception& failure) {
        std::cerr << "lsp_latency: " << failure.what() << "\n";
        return 1;
    }
    return 0;
}
