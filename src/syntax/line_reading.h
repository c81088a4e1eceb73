// A text line by line, as the reader reads it with the values of each
// keyword from its own line: what the strict check judges and the editor
// shows. Each line comes with its fields, the part each plays, and the
// keywords read on it.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "syntax/description_reader.h"

namespace scenariogen::syntax {

// One line as the reader reads it. The indexes of the uses and readings
// count within the line.
struct LineReading {
    int line = 0;
    std::vector<FieldUse> uses;
    std::vector<KeywordReading> readings;
    bool cut_short = false;  // the line has more fields than the reader follows
    bool last = false;       // no field of the text follows it
};

class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void line(const LineReading& reading) = 0;
    // False once the sink wants no more lines: the reading stops there.
    virtual bool wants_more() const { return true; }
};

// Reads the whole text by lines (ValueSource::kOwnLine) and hands each line
// to `sink`; without a sink, reads only as far as the summary needs.
ReadingSummary read_lines(std::string_view text, SourceFile file, std::optional<AssumedStart> assumed, LineSink* sink);

}  // namespace scenariogen::syntax
