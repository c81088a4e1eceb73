#include "lint/warnings.h"

#include <algorithm>
#include <array>
#include <string>
#include <vector>

#include "lint/suggestion.h"

namespace scenariogen {

namespace {

constexpr std::array<DiagnosticName, 31> kWarnings{{
    {"adhesion", "an adhesion of 0: the wheels have no grip"},
    {"beyond-route", "an object placed past the end of the route (but within its cells)"},
    {"blank-separated", "values separated by a blank instead of a comma, read as two values"},
    {"board-limit", "a speed board that shows less than every line limit where it stands and soon after it"},
    {"braked-mass", "a braked-mass percentage of 0 (no brake) or outside what trains in service have"},
    {"clock", "a scenario clock that starts after the train's first departure"},
    {"coaches", "more coaches than any passenger train has"},
    {"control-character", "a control character in a line, kept as part of its field"},
    {"curve-angle", "a curve that turns the track back on itself, often its end written where its length belongs"},
    {"duplicate-station", "two stations with one name"},
    {"empty-value", "an empty number field, read as 0"},
    {"long-name", "a station name or sign text longer than any sign or timetable holds"},
    {"missing-setting", "a train setting (coaches, braked mass, sand, clock) that is not given, stored as 0"},
    {"mountain-joined", "a mountain stretch 150 m or less after the previous one, made a stretch of kind 3"},
    {"no-fine", "a file that does not end with [fine]"},
    {"no-running-time", "a leg whose arrival is no later than the departure before it"},
    {"no-stop", "a stop of 0 s at a station, where the train stops at the others: it passes this one"},
    {"overwritten-marker", "a signal's or station's marker written over another object's marker"},
    {"progressive", "a falling kilometric progressive whose posts go far below 0 km on the route (written in km?)"},
    {"route-length", "a route length of 0, or one that most objects lie beyond (written in km?)"},
    {"short-stop", "a stop of less than 15 s at an intermediate station (a minute is 60)"},
    {"sign-text", "a sign text that is empty or not one to three lines in parentheses"},
    {"slowdown-length", "a slowdown longer than 3000 m and than its start: its end written where its length belongs"},
    {"slowdown-speed", "a slowdown no slower than the line limit where it lies, or one to 0 km/h"},
    {"speed-limit", "a line limit above 400 km/h, or one of 0 km/h before the last station"},
    {"steep-gradient", "a gradient steeper than any railway without a rack (80 per mille)"},
    {"timetable", "(check) a leg scheduled faster than the train can run it, or one it cannot run at all"},
    {"timetable-order", "a station whose time comes before the previous station's"},
    {"trailing-blanks", "a name or sign text ending in blanks, which are stored"},
    {"unaligned", "a position that is not a multiple of 50 m, moved to its cell"},
    {"unknown-header", "a section header that the file does not have"},
}};

constexpr std::array<DiagnosticName, 33> kErrors{{
    {"before-generale", "a keyword line before [generale], where nothing is read"},
    {"cell-one", "an object in cell 1 (0 to 50 m), which holds the header values (error 1250)"},
    {"cleared-progressives", "two kilometric progressives with the same largest start: all three are cleared"},
    {"contains-keyword", "a field read as a keyword because it contains it ('REM segnale', '[stazione]')"},
    {"curve-class", "a curve class other than 1 to 6 (error 103)"},
    {"curve-overlap", "a curve that starts before the previous one ends"},
    {"dash-in-keyword", "a keyword with a '-', skipped as a comment with its line"},
    {"empty-object", "a mountain stretch that marks no cell, a slowdown that starts and ends in one cell"},
    {"encoding", "a file in an encoding that cannot be read, or a character without a Windows-1252 form"},
    {"field-count", "a line with more or fewer values than its keyword takes"},
    {"ignored-value", "a value that the compiler replaces (attributes 14 and 15, tempo, f_ta)"},
    {"keyword-case", "a keyword that the reader recognises only in lower case"},
    {"missing-generale", "a file without [generale]: nothing of it is read"},
    {"missing-line", "no 'lunghezza percorso', 'velocita' or 'aderenza' line"},
    {"missing-name", "a station without a name"},
    {"mountain-overlap", "a mountain stretch that overlaps the previous one"},
    {"never-read", "a keyword as the last field of a file, which is never interpreted"},
    {"not-a-number", "a value that is not a whole number (error 25)"},
    {"not-from-start", "a speed or adhesion list whose first line is not at 0 m"},
    {"not-multiple", "a position or length that must be a multiple of 50 or 100 (errors 2, 3, 4, 8, 9)"},
    {"occupied-cell", "an object in a cell that another object holds (errors 6, 7, 16 to 21)"},
    {"out-of-order", "a gradient, speed, adhesion or station line not after the previous one"},
    {"out-of-range", "a value outside what its field can store or mean"},
    {"outside-route", "an object outside the route's cells (errors 15, 24)"},
    {"overwritten-object", "a station's end marker written over another object"},
    {"quote", "a quoted text that the reader cuts"},
    {"repeated-setting", "a setting given twice: the later value wins"},
    {"station-spacing", "a station area less than 350 m after the previous one (error 22)"},
    {"table-full", "more signs, stations or mountain stretches than the tables hold (error 10)"},
    {"too-large", "a file larger than the compiler reads (64 MiB)"},
    {"unknown-keyword", "a line whose keyword the file does not have"},
    {"wrong-file", "a keyword of the other description file"},
    {"wrong-section", "a keyword outside the section where the reader looks for it"},
}};

// Whether a warning of this name is shown: the last switch that names it wins.
bool enabled(std::string_view name, const WarningOptions& options) {
    bool on = true;
    for (const auto& [switched, value] : options.switches) {
        if (switched == name) on = value;
    }
    return on;
}

// Whether a warning of this name is made an error.
bool made_error(std::string_view name, const WarningOptions& options) {
    bool error = options.warnings_are_errors;
    for (const auto& [switched, value] : options.errors) {
        if (switched == name) error = value;
    }
    return error;
}

}  // namespace

std::span<const DiagnosticName> warning_names() { return kWarnings; }
std::span<const DiagnosticName> error_names() { return kErrors; }

bool is_warning_name(std::string_view name) {
    return std::any_of(kWarnings.begin(), kWarnings.end(), [&](const DiagnosticName& w) { return w.name == name; });
}

std::vector<std::string> unknown_warning_names(const WarningOptions& options) {
    std::vector<std::string> unknown;
    for (const auto* list : {&options.switches, &options.errors}) {
        for (const auto& [name, value] : *list) {
            if (!is_warning_name(name)) unknown.push_back(name);
        }
    }
    return unknown;
}

std::optional<std::string_view> nearest_warning_name(std::string_view name) {
    std::vector<std::string> names;
    for (const DiagnosticName& w : kWarnings) names.emplace_back(w.name);
    const std::optional<std::string> nearest = lint::nearest_spelling(name, names);
    if (!nearest) return std::nullopt;
    for (const DiagnosticName& w : kWarnings) {
        if (w.name == *nearest) return w.name;
    }
    return std::nullopt;
}

Diagnostics apply_warning_options(Diagnostics diagnostics, const WarningOptions& options) {
    Diagnostics kept;
    bool dropping = false;  // the notes of a dropped warning go with it
    for (Diagnostic& d : diagnostics) {
        if (d.severity == Severity::kNote) {
            if (!dropping) kept.push_back(std::move(d));
            continue;
        }
        dropping = d.severity == Severity::kWarning && !enabled(d.name, options);
        if (dropping) continue;
        if (d.severity == Severity::kWarning && made_error(d.name, options)) d.severity = Severity::kError;
        kept.push_back(std::move(d));
    }
    return kept;
}

LimitedDiagnostics limit_errors(Diagnostics diagnostics, std::size_t max_errors) {
    LimitedDiagnostics limited;
    std::size_t errors = 0;
    bool past = false;
    for (Diagnostic& d : diagnostics) {
        if (d.severity == Severity::kError) {
            ++errors;
            past = max_errors != 0 && errors > max_errors;
            if (past) ++limited.errors_left_out;
        }
        if (past) continue;
        limited.shown.push_back(std::move(d));
    }
    return limited;
}

}  // namespace scenariogen
