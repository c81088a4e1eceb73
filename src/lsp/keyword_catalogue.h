// What the editor knows about the description keywords: how the reader
// recognises each one, what its line means, and its fields with units.
#pragma once

#include <span>
#include <string_view>

namespace scenariogen::lsp {

// Which of the two descriptions a document is.
enum class DescriptionRole { kLine, kTrain };

// Where a keyword is understood.
enum class KeywordPlace {
    kLineGeneral,  // the line description's general section
    kLineObjects,  // the line description after its general section
    kTrain,        // the train description after [generale]
};

struct FieldInfo {
    std::string_view name;
    std::string_view unit;     // empty: a plain number or a text
    std::string_view meaning;  // one phrase
    bool text = false;         // read as text to the next comma; otherwise a number, which also ends at a blank
};

struct KeywordInfo {
    std::string_view keyword;  // as written: "pendenza"
    KeywordPlace place;
    bool positioned;  // the first value is a position along the route
    std::string_view summary;
    std::span<const FieldInfo> fields;
    std::string_view snippet;  // the line with its fields as placeholders, in the protocol's snippet syntax
};

// The keyword that a keyword field holds, by the reader's own tests (a
// substring, with or without regard to case); none when the field holds no
// keyword understood at `place`. A field that holds two keywords is served
// by both; this names the first the reader tests.
const KeywordInfo* recognise_keyword(std::string_view field, KeywordPlace place);

std::span<const KeywordInfo> keyword_catalogue();

// The section headers an author writes, in order.
std::span<const std::string_view> section_headers(DescriptionRole role);

}  // namespace scenariogen::lsp
