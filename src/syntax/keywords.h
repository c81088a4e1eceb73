// Every keyword of the two description files: how the reader recognises it
// (a substring test on the keyword field, exactly as the reader makes it),
// how an author is meant to write it, where the reader looks for it, and the
// values it reads with the range each can hold. The reader, the compiler, the
// strict check and the editor all take their keywords from here.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "syntax/source_range.h"

namespace scenariogen::syntax {

enum class Keyword {
    // The line description's general section.
    kLength,
    kProgressiveThree,
    kProgressiveTwo,
    kProgressiveOne,
    kBackgroundOne,
    kBackgroundTwo,
    kBackgroundThree,
    kSignalRepetition,
    // The line description's objects, after the general section.
    kGradient,
    kCurve,
    kMountain,
    kSpeedBoard,
    kSign,
    // The train description.
    kBrakedMass,
    kCoaches,
    kSpeed,
    kAdhesion,
    kClock,
    kSand,
    kSignal,
    kSlowdown,
    kCodeDrop,
    kStation,
};

// Where the reader looks for a keyword.
enum class Section { kGeneral, kObjects, kTrain };

// How a value is stored, which decides what happens outside its range.
enum class Storage {
    kInt32,        // as read
    kInt16,        // a 16-bit field: a value outside it stops the reading (error 25)
    kByte,         // an 8-bit field: a value outside 0 to 255 stops the reading (error 25)
    kLow8,         // the low 8 bits are kept
    kLow16,        // the low 16 bits are kept
    kGradient,     // gradient + 100, low 8 bits
    kSpeedFifths,  // speed / 5 rounded into one byte; outside it the reading stops (error 25)
    kText,
};

struct ValueShape {
    std::string_view name;  // in the author's words: "position", "gradient"
    Storage storage;
    std::int64_t low;  // the range the value must lie in, both ends included
    std::int64_t high;
    std::string_view unit;  // "m", "km/h", "‰", or empty
    bool may_be_empty = false;
    std::string_view meaning;  // one phrase, for an author
};

struct KeywordShape {
    Keyword keyword;
    Section section;
    std::string_view spelling;       // as an author writes it
    std::string_view recognised_by;  // the reader's test, in words: "contains 'pendenza'"
    bool exact_case;                 // the reader's test regards letter case
    bool (*recognises)(std::string_view field);
    std::span<const ValueShape> values;
    std::string_view summary;  // what the line means, in a sentence or two
    bool positioned;           // its first value is a position along the route
};

const KeywordShape& shape(Keyword keyword);

// The keywords whose tests the reader makes in a section, in its order.
std::span<const Keyword> keywords_tested(Section section);

SourceFile file_of(Section section);

// What an author meant by a keyword field: the keyword written out in full,
// in any case, with blanks around and between its words.
struct Intent {
    Keyword keyword;
    int number = 0;     // a curve's class, a signal repetition's count of codes
    bool left = false;  // a curve to the left
};
std::optional<Intent> intended_keyword(std::string_view field);

// The spellings an unknown keyword is compared with, for a suggestion.
const std::vector<std::string>& spellings(SourceFile file);

// The field, trimmed of blanks, its blank runs made one space, in lower case
// (ASCII and the Latin letters of Windows-1252).
std::string normalised(std::string_view field);

// "position, gradient"
std::string value_list(const KeywordShape& shape);

// The section headers of a file, in the order the file keeps them: landmarks
// for the author; only [generale] matters to the reader.
const std::vector<std::string>& section_headers(SourceFile file);

// Keyword tests: substring searches on a field, with or without regard to
// letter case (`text` given in lower case for the latter).
bool contains(std::string_view field, std::string_view text);
bool contains_any_case(std::string_view field, std::string_view text);

// What a curve keyword field says, as the reader takes it: the class is the
// first of the digits 1 to 6 (tested in that order) that the field holds, 0
// when it holds none; the curve turns left when the field holds an 's' in
// either case.
int curve_class(std::string_view field);
bool curve_turns_left(std::string_view field);

// The code count of a signal repetition keyword field: 4 when it holds a
// "4", else 9 when it holds a "9", else 0.
int repetition_codes(std::string_view field);

}  // namespace scenariogen::syntax
