// Diagnostics for machines: each diagnostic as one JSON object with its
// file, range, severity, number, name, message and notes.
#pragma once

#include <string>
#include <string_view>

#include <nlohmann/json.hpp>

#include "compiler/diagnostic.h"

namespace scenariogen {

// The names under which the two description files are shown.
struct DiagnosticFileNames {
    std::string line_file;
    std::string train_file;
};

// The sentence of a diagnostic as the text form shows it, without its place
// and name: a numbered fault's sentence and detail, with its cell and metres.
std::string diagnostic_message(const Diagnostic& d);

// The file a diagnostic is in; empty for one without a place.
std::string diagnostic_file(const Diagnostic& d, const DiagnosticFileNames& files);

// Every diagnostic but the notes, each with the notes that follow it:
//   {"file": "l.txt", "range": {"start": {"line": 15, "column": 19}, "end": {"line": 15, "column": 22}},
//    "severity": "error", "number": 16, "name": "occupied-cell", "message": "...",
//    "position_m": 3200, "cell": null, "notes": [{"file", "range", "message"}]}
// Lines and columns count from 1, columns in bytes, the end one past the
// last byte; a diagnostic of a whole file has no range, one without a place
// no file either. "number" is null for a diagnostic of the check alone, and
// "name" for a numbered fault of the compiler alone.
nlohmann::json diagnostics_json(const Diagnostics& diagnostics, const DiagnosticFileNames& files);

}  // namespace scenariogen
