// What every code means, in plain words, as `scenariogen explain CODE` shows
// it: each error number of the compiler, each name of the check's errors and
// warnings, and each keyword of the two descriptions with its values. Each
// entry says what it means (with units), shows a minimal example and gives
// the usual fix. The README's format reference is made from the same texts.
#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>

#include "syntax/keywords.h"

namespace scenariogen {

enum class ExplanationKind {
    kErrorNumber,  // a number the compiler records: "16"
    kCheckError,   // the check's name of an error: "occupied-cell"
    kWarning,      // a warning's name: "timetable"
    kKeyword,      // a keyword of a description: "segnale"
};

struct Explanation {
    ExplanationKind kind;
    std::string_view code;                            // what the author types: "16", "occupied-cell", "segnale"
    std::string_view meaning;                         // plain words, with units
    std::string_view example;                         // a minimal example: lines of a description, one a line
    std::string_view fix;                             // the usual fix; for a keyword, how it is written
    std::span<const syntax::ValueShape> values = {};  // a keyword's values, in order, from the keyword table
};

// Every entry: error numbers, check errors, warnings, keywords.
std::span<const Explanation> explanations();

// The entry for a code as an author may type it: "16", "E16", "occupied-cell",
// "Segnale", "lunghezza percorso", "curvad4", "velocità"; none for an unknown code.
const Explanation* find_explanation(std::string_view code);

// The known code nearest to a misspelt one, for "did you mean ...?".
std::optional<std::string_view> nearest_code(std::string_view code);

// The one-line title of an entry: the sentence of an error number, the
// meaning of a name from the table of names, a keyword's summary.
std::string explanation_title(const Explanation& entry);

// The whole entry as text for a terminal, and as Markdown (for SARIF help).
std::string explanation_text(const Explanation& entry);
std::string explanation_markdown(const Explanation& entry);

// The README's format reference: the keywords of each file with the plain
// meaning of every value, as Markdown tables.
std::string format_reference_markdown();

// The entries of each kind (each defined beside its own texts).
std::span<const Explanation> error_number_explanations();
std::span<const Explanation> check_error_explanations();
std::span<const Explanation> warning_explanations();
std::span<const Explanation> keyword_explanations();

}  // namespace scenariogen
