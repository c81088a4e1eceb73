// The framing of the language server's byte stream: every message is a
// header of "Name: value" lines closed by an empty line, then a body of
// exactly Content-Length bytes of JSON. The reader takes the bytes as they
// come, in pieces of any size, and hands out whole bodies, or a fault when
// the stream breaks the framing; after a fault it finds the next header and
// goes on.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace scenariogen::lsp {

// A header longer than this is refused.
inline constexpr std::size_t kMaxHeaderBytes = 8192;
// A body longer than this is refused and skipped. A description of the
// largest size the compiler reads (64 MiB) fits, whatever its characters
// cost in JSON.
inline constexpr std::size_t kMaxBodyBytes = std::size_t{256} << 20;

struct Frame {
    enum class Kind { kBody, kFault };
    Kind kind = Kind::kBody;
    std::string text;  // the body, or the sentence that tells the fault
};

class MessageReader {
public:
    explicit MessageReader(std::size_t max_body = kMaxBodyBytes) : max_body_(max_body) {}

    void feed(std::string_view bytes);
    // The next whole body or fault, or none until more bytes come.
    std::optional<Frame> next();
    // True while part of a message is held: the stream must not end here.
    bool inside_message() const;

private:
    std::optional<Frame> read_header();
    // Tells the fault and drops `skipped` bytes of the refused header.
    std::optional<Frame> refuse_header(std::string sentence, std::size_t skipped);
    void resynchronise();
    void compact();
    std::string_view pending() const { return std::string_view(buffer_).substr(start_); }

    std::size_t max_body_;
    std::string buffer_;
    std::size_t start_ = 0;
    std::optional<std::size_t> body_length_;  // a header was read; its body is awaited
    std::size_t skipping_ = 0;                // bytes of a refused body still to drop
    bool lost_ = false;                       // after a fault: looking for the next header
};

// A body with its header, ready to send.
std::string frame_message(std::string_view body);

}  // namespace scenariogen::lsp
