// The language server's message framing and JSON-RPC classification on any
// bytes: the first byte chooses the size of the pieces the stream arrives
// in, the rest is the stream. Every body handed out must come back the same
// through a fresh reader once framed again, and never pass the body limit.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "lsp/json_rpc.h"
#include "lsp/message_framing.h"

namespace {
constexpr std::size_t kSmallLimit = 4096;  // so that bodies over the limit are reachable
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace scenariogen::lsp;
    if (size < 1) return 0;
    const std::size_t piece = 1 + data[0] % 64;
    const std::string_view stream(reinterpret_cast<const char*>(data) + 1, size - 1);
    MessageReader reader(kSmallLimit);
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        reader.feed(stream.substr(at, piece));
        while (std::optional<Frame> frame = reader.next()) {
            if (frame->kind == Frame::Kind::kFault) {
                if (frame->text.empty()) __builtin_trap();
                continue;
            }
            if (frame->text.size() > kSmallLimit) __builtin_trap();
            MessageReader again(kSmallLimit);
            again.feed(frame_message(frame->text));
            const std::optional<Frame> same = again.next();
            if (!same || same->kind != Frame::Kind::kBody || same->text != frame->text || again.inside_message()) {
                __builtin_trap();
            }
            const auto parsed = parse_message(frame->text);
            if (const auto* refusal = std::get_if<Refusal>(&parsed)) serialise(refusal->response);
        }
    }
    reader.inside_message();
    return 0;
}
