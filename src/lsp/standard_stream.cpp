// The process's standard input and output as the server's byte stream.
#include "lsp/server_loop.h"
#include "platform/standard_streams.h"

namespace scenariogen::lsp {

// A client that goes away ends the session, not the process by a signal.
StandardStream::StandardStream() { use_standard_streams_for_bytes(); }

std::size_t StandardStream::read_some(char* buffer, std::size_t size) { return read_standard_input(buffer, size); }

bool StandardStream::write_all(std::string_view bytes) { return write_standard_output(bytes); }

}  // namespace scenariogen::lsp
