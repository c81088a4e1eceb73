// The text of a diagnostic, in the form compilers use, followed (when it has
// a line) by that source line and a caret under the place:
//
//   FILE:LINE:COLUMN: error N: sentence: detail (cell C) (at P m)   a numbered compiler fault
//   FILE:LINE:COLUMN: warning: sentence [name]                      a named diagnostic of the strict check
//   FILE:LINE:COLUMN: error N: sentence [name]                      both: the check's words for the compiler's fault
//
// A diagnostic of a whole file (line 0) names only the file; one without a
// place names nothing. The source line is shown as UTF-8; its control bytes
// (and the five bytes that Windows-1252 leaves undefined) are shown as \xNN,
// so that nothing of the input reaches the terminal as a command. A line of
// more than 120 bytes is shown in part, around the place, "..." marking
// where it goes on.
#pragma once

#include <string>
#include <string_view>

#include "compiler/diagnostic.h"

namespace scenariogen {

// The two description files as the diagnostics refer to them: the names to
// show and the texts, in Windows-1252.
struct DiagnosticSources {
    std::string line_file;
    std::string train_file;
    std::string_view line_text;
    std::string_view train_text;
};

std::string format_diagnostic(const Diagnostic& diagnostic, const DiagnosticSources& sources);

// "error", "warning" or "note", as every front end names a severity.
std::string_view severity_word(Severity severity);

// Line `line` (1-based) of a text, without its line end; lines end at CR LF,
// CR or LF, as the description reader counts them. Empty past the last line.
std::string_view text_line(std::string_view text, int line);

// A piece of Windows-1252 text as UTF-8 for a terminal, control bytes and
// undefined bytes shown as \xNN.
std::string printable(std::string_view windows_1252);

}  // namespace scenariogen
