// Which requests the preview's web server answers, and how it refuses the
// rest: only GET, only the page's own paths, and only for a Host header
// that names this machine's loopback address and the server's port (a page
// of another site that resolves its own name to 127.0.0.1 sends its own
// name, and is refused).
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace scenariogen {

inline constexpr std::size_t kMaxTargetLength = 2048;
inline constexpr std::size_t kMaxHeaderBytes = 16 * 1024;

// kModel, kExport, kWindow and kPieces are the page's requests of the
// session: the model's values to draw with, the drawing as a file, a stretch
// of the profile drawn across the page's width, pieces of the drawing, and
// the train's place at a time of day.
enum class Resource { kPage, kScript, kStyle, kEvents, kState, kModel, kExport, kWindow, kPieces, kPosition, kNone };

struct RequestFacts {
    std::string_view method;
    std::string_view target;
    std::optional<std::string_view> host;
};

struct Verdict {
    Resource resource = Resource::kNone;  // kNone: refused
    int status = 200;
    std::string reason;  // a refusal's one sentence, sent as its body
};

Verdict judge_request(const RequestFacts& request, std::uint16_t port);

// The content type of a resource.
std::string_view content_type(Resource resource);

}  // namespace scenariogen
