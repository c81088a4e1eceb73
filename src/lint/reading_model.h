// What the description reader makes of every field of a text: it walks the
// fields in the reader's own passes (the search for [generale], the dash
// rule with its limits, the substring tests in the reader's order, the last
// field that is never interpreted) and records the part each field plays.
//
// One departure, so that every fault of a file shows in one run: the values
// of a keyword are read from its own line only. Where the reader would take
// a missing value from the next line, the model counts it as missing and
// goes on at the next line, as if the line had been written right.
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
    std::vector<int> readings;            // a keyword field: the keywords it was taken for
    int reading = -1;                     // a value: the keyword it belongs to
};

struct Reading {
    Keyword keyword;
    int keyword_use = 0;          // index of its keyword field in the uses
    std::vector<int> value_uses;  // the values read from the keyword's line, in order
    std::size_t missing = 0;      // values the line lacks
};

// Where the search for [generale] is assumed to end when a file lacks it, so
// that the rest of the file is still checked.
struct AssumedStart {
    int line = 1;
    bool at_field = false;  // the first field of that line stands for [generale]; else reading starts on it
};

struct ReadingModel {
    SourceFile file = SourceFile::kLine;
    std::vector<FieldUse> uses;  // in the reader's order, which is the order of the text
    std::vector<Reading> readings;
    bool start_found = false;
    int general_end_line = 0;  // the line description: the header that ended its general section
    // The reader would read past the end of the text here (a dash field
    // among the last fields of the general section).
    std::optional<Span> reads_past_end;
};

ReadingModel model_reading(std::string_view text, SourceFile file, std::optional<AssumedStart> assumed = std::nullopt);

}  // namespace scenariogen::lint
