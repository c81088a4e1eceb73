// The process's standard input and output as the server's byte stream.
#include "views/lsp/server_loop.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>

#include <cerrno>
#include <csignal>
#endif

namespace scenariogen::lsp {

#ifdef _WIN32

StandardStream::StandardStream() {
    _setmode(0, _O_BINARY);
    _setmode(1, _O_BINARY);
}

std::size_t StandardStream::read_some(char* buffer, std::size_t size) {
    const int count = _read(0, buffer, static_cast<unsigned>(size > 1u << 30 ? 1u << 30 : size));
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

bool StandardStream::write_all(std::string_view bytes) {
    while (!bytes.empty()) {
        const int count =
            _write(1, bytes.data(), static_cast<unsigned>(bytes.size() > 1u << 30 ? 1u << 30 : bytes.size()));
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

#else

StandardStream::StandardStream() {
    // A client that goes away must end the session, not the process by a signal.
    std::signal(SIGPIPE, SIG_IGN);
}

std::size_t StandardStream::read_some(char* buffer, std::size_t size) {
    for (;;) {
        const ssize_t count = ::read(0, buffer, size);
        if (count >= 0) return static_cast<std::size_t>(count);
        if (errno != EINTR) return 0;
    }
}

bool StandardStream::write_all(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t count = ::write(1, bytes.data(), bytes.size());
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

#endif

}  // namespace scenariogen::lsp
