// What the description reader makes of every field of a text: it walks the
// fields in the reader's own passes (the search for [generale], the dash
// rule with its limits, the substring tests in the reader's order, the last
// field that is never interpreted) and records the part each field plays.
//
// One departure, so that every fault of a file shows in one run: the values
// of a keyword are read from its own line only. Where the reader would take
// a missing value from the next line, the model counts it as missing and
// goes on at the next line, as if the line had been written right.
//
// The model hands the fields on line by line, so that a check keeps no more
// than one line of them, whatever the size of the text.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

#include "lint/field_stream.h"
#include "lint/keywords.h"

namespace scenariogen::lint {

enum class Use {
    kIgnored,       // before the field that holds [generale]: never looked at
    kStart,         // the field that holds [generale]
    kKeywordField,  // tested against the keywords
    kDashSkipped,   // holds '-': skipped by the dash rule
    kValue,         // a value of the keyword before it
    kNeverRead,     // read, but the file ends after it, so it is not interpreted
};

struct FieldUse {
    Field field;
    Use use = Use::kIgnored;
    Section section = Section::kGeneral;  // where a keyword field was tested
    int first_reading = -1;               // a keyword field: the first keyword it was taken for
    int readings = 0;                     // ... and how many
    int reading = -1;                     // a value: the keyword it belongs to
};

struct Reading {
    Keyword keyword;
    int keyword_use = 0;          // index of its keyword field among the line's uses
    std::vector<int> value_uses;  // the values read from the keyword's line, in order
    std::size_t missing = 0;      // values the line lacks
};

// One line as the reader reads it. The indexes of the uses and readings
// count within the line.
struct LineReading {
    int line = 0;
    std::vector<FieldUse> uses;
    std::vector<Reading> readings;
    bool cut_short = false;  // the line has more fields than the model follows
    bool last = false;       // no field of the text follows it
};

class LineSink {
public:
    virtual ~LineSink() = default;
    virtual void line(const LineReading& reading) = 0;
    // False once the sink wants no more lines: the walk stops there.
    virtual bool wants_more() const { return true; }
};

// A line of more fields than this is followed no further: its first fields
// are judged, the rest skipped.
inline constexpr std::size_t kMaxFieldsPerLine = 4096;

// Where the search for [generale] is assumed to end when a file lacks it, so
// that the rest of the file is still checked.
struct AssumedStart {
    int line = 1;
    bool at_field = false;  // the first field of that line stands for [generale]; else reading starts on it
};

struct ReadingSummary {
    bool start_found = false;
    std::optional<Span> start;  // the field that holds [generale]
    int general_end_line = 0;   // the line description: the header that ended its general section
    // The reader would read past the end of the text here (a dash field
    // among the last fields of the general section).
    std::optional<Span> reads_past_end;
};

// Walks the whole text and hands each line to `sink`; without a sink, walks
// only as far as the summary needs.
ReadingSummary read_description(std::string_view text, SourceFile file, std::optional<AssumedStart> assumed,
                                LineSink* sink);

}  // namespace scenariogen::lint
