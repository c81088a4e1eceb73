// The diagnostics of one check as they are found, handed back in file
// order: the line description first, then the train description; each
// diagnostic followed by its notes, which point at the other lines involved.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "compiler/diagnostic.h"
#include "lint/syntax_names.h"

namespace scenariogen::lint {

class Report {
public:
    // After this many diagnostics (notes not counted) the check stops, with a
    // note that says so: a bound on what a hostile text can cost.
    static constexpr std::size_t kMaxDiagnostics = 10000;
    bool full() const { return groups_.size() >= kMaxDiagnostics; }

    void error(SourceFile file, Span span, std::string_view name, std::string message);
    void warning(SourceFile file, Span span, std::string_view name, std::string message);
    // A fault of a whole file (shown without a line).
    void file_error(SourceFile file, std::string_view name, std::string message);
    // A note on the diagnostic reported last.
    void note(SourceFile file, Span span, std::string message);
    void note_on_file(SourceFile file, std::string message);

    // The position in metres of the object the last diagnostic is about.
    void at_position(std::int64_t metres);
    // The compiler's error number for the fault the last diagnostic is about:
    // the compiler records it there when its reading gets that far.
    void cite(std::int32_t number);

    bool has_errors() const;
    Diagnostics take();

private:
    struct Group {
        Diagnostic main;
        std::vector<Diagnostic> notes;
    };
    void add(Severity severity, SourceFile file, std::optional<Span> span, std::string_view name, std::string message);

    std::vector<Group> groups_;
    bool left_out_ = false;  // the last diagnostic offered was left out, and so are its notes
};

// A piece of the author's text (Windows-1252) quoted in a message: in single
// quotes, shown as UTF-8, control bytes escaped, trimmed of blanks, at most
// 40 characters.
std::string quoted(std::string_view windows_1252);

// A metre figure for a message: "3200 m".
std::string metres(std::int64_t value);

}  // namespace scenariogen::lint
