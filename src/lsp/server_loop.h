// The server's loop over a byte stream: framed messages in, framed
// messages out, until the client says exit or goes away.
#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace scenariogen::lsp {

class ByteStream {
public:
    virtual ~ByteStream() = default;
    // Waits for bytes; 0 at the end of the input.
    virtual std::size_t read_some(char* buffer, std::size_t size) = 0;
    // False when the other side is gone.
    virtual bool write_all(std::string_view bytes) = 0;
};

// Serves one client; returns the exit status: 0 after shutdown and exit,
// 1 when the client exits without shutdown or goes away. Tells `log` why a
// session ended otherwise than by shutdown and exit.
int serve(ByteStream& stream, const std::string& version, std::ostream& log);

// The process's standard input and output, unbuffered and binary.
class StandardStream : public ByteStream {
public:
    StandardStream();
    std::size_t read_some(char* buffer, std::size_t size) override;
    bool write_all(std::string_view bytes) override;
};

}  // namespace scenariogen::lsp
