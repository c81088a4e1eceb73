// The comma-field reader on any bytes: the first bytes choose the kinds of
// field to request, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/field_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kRequests = 16;
    if (size < kRequests) return 0;
    scenariogen::FieldReader reader(std::string(reinterpret_cast<const char*>(data) + kRequests, size - kRequests));
    try {
        for (std::size_t i = 0; !reader.eof(); i = (i + 1) % kRequests) {
            switch (data[i] % 4) {
                case 0:
                    reader.read_text();
                    break;
                case 1:
                    reader.read_number();
                    break;
                case 2:
                    reader.read_int16();
                    break;
                default:
                    reader.read_uint8();
                    break;
            }
            const scenariogen::FieldPosition at = reader.last_field();
            if (at.line < 1 || at.column < 1) __builtin_trap();
            reader.line_text(at.line);
        }
    } catch (const scenariogen::ReadFailure&) {
    }
    return 0;
}
