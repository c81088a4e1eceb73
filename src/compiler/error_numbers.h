// Error numbers: faults in the description data are recorded as numbers,
// with the position in metres where they were found.
#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

namespace scenariogen {

// Where in a description file a fault was found.
struct SourceLocation {
    std::string file;
    int line = 0;      // 1-based
    int column = 0;    // 1-based, in bytes
    std::string text;  // the source line, for the caret display
};

// One fault as the compiler found it.
struct Fault {
    std::int32_t number = 0;
    std::optional<std::int32_t> position;  // metres, when the fault sets it
    std::optional<std::int32_t> cell;      // post-processing faults: the cell
    std::optional<SourceLocation> where;   // reading faults: the field
    std::string detail;                    // run-time failures: what went wrong
};

// One short sentence per error number; empty for an unknown number.
std::string_view error_sentence(std::int32_t codice);

// The report of `errore`: the run ends with this prompt.
class RunEnded : public std::runtime_error {
public:
    explicit RunEnded(std::string prompt) : std::runtime_error(prompt), prompt_(std::move(prompt)) {}
    const std::string& prompt() const { return prompt_; }

private:
    std::string prompt_;
};

// Ends the run with the prompt " Errore n. " followed by `a`; never returns.
[[noreturn]] void errore(const std::string& a);

}  // namespace scenariogen
