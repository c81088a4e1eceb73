#include "platform/standard_streams.h"

#include <fcntl.h>
#include <io.h>

namespace scenariogen {

namespace {
constexpr std::size_t kLargestPiece = std::size_t{1} << 30;
}

void use_standard_streams_for_bytes() {
    ::_setmode(0, _O_BINARY);
    ::_setmode(1, _O_BINARY);
}

std::size_t read_standard_input(char* buffer, std::size_t size) {
    const int count = ::_read(0, buffer, static_cast<unsigned>(size < kLargestPiece ? size : kLargestPiece));
    return count > 0 ? static_cast<std::size_t>(count) : 0;
}

bool write_standard_output(std::string_view bytes) {
    while (!bytes.empty()) {
        const std::size_t piece = bytes.size() < kLargestPiece ? bytes.size() : kLargestPiece;
        const int count = ::_write(1, bytes.data(), static_cast<unsigned>(piece));
        if (count <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(count));
    }
    return true;
}

}  // namespace scenariogen
