// The process's standard input and output as byte streams: unbuffered, and
// without line-end translation on any system.
#pragma once

#include <cstddef>
#include <string_view>

namespace scenariogen {

// Prepares both streams for bytes. On Windows they leave text mode; on POSIX
// a reader that has gone away makes a write fail instead of ending the
// process with SIGPIPE.
void use_standard_streams_for_bytes();

// Up to `size` bytes from the standard input; 0 at its end or on a failure.
std::size_t read_standard_input(char* buffer, std::size_t size);

// All the bytes to the standard output; false when they cannot all be written.
bool write_standard_output(std::string_view bytes);

}  // namespace scenariogen
