// The comma-field reader on any bytes: the first bytes choose the kinds of
// field to request, the rest is the file.
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/diagnostic_format.h"
#include "compiler/field_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    constexpr std::size_t kRequests = 16;
    if (size < kRequests) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + kRequests, size - kRequests);
    scenariogen::FieldReader reader(text);
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
            const scenariogen::FieldSpan at = reader.last_field();
            if (at.line < 1 || at.column < 1 || at.end_column < at.column) __builtin_trap();
            scenariogen::text_line(text, at.line);
        }
    } catch (const scenariogen::ReadingFailure&) {
    }
    return 0;
}
