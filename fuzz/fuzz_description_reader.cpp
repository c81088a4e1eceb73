// The description reader on any bytes: the first byte chooses the text's
// file and how values are taken, the rest is the text. Whatever the bytes,
// the reading ends, every field stands within the text, and the values of a
// keyword read by lines stand on the keyword's line.
#include <cstddef>
#include <cstdint>
#include <string>

#include "compiler/diagnostic_format.h"
#include "syntax/description_reader.h"

namespace {

using namespace scenariogen;

void check_field(const std::string& text, const syntax::Field& field) {
    if (field.span.line < 1 || field.span.column < 1 || field.span.end_column < field.span.column) __builtin_trap();
    const std::string_view line = text_line(text, field.span.line);
    if (static_cast<std::size_t>(field.span.end_column - 1) > line.size()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 1) return 0;
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    const SourceFile file = (data[0] & 1) != 0 ? SourceFile::kTrain : SourceFile::kLine;
    syntax::ReaderOptions options;
    options.values = (data[0] & 2) != 0 ? syntax::ValueSource::kOwnLine : syntax::ValueSource::kFollowingFields;
    options.curves_read = (data[0] & 4) == 0;
    syntax::DescriptionReader reader(text, file, options);
    syntax::Statement statement;
    while (reader.next(statement)) {
        for (const syntax::FieldUse& use : statement.uses) check_field(text, use.field);
        for (const syntax::KeywordReading& reading : statement.readings) {
            const int line = statement.uses[static_cast<std::size_t>(reading.keyword_use)].field.span.line;
            for (std::size_t k = 0; k < reading.value_uses.size(); ++k) {
                const bool own_line = options.values == syntax::ValueSource::kOwnLine;
                if (own_line && statement.value(reading, k).span.line != line) __builtin_trap();
            }
        }
    }
    if (reader.end() == syntax::ReadingEnd::kReading) __builtin_trap();
    return 0;
}
