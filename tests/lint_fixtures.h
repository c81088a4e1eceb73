// Small description files for the strict check's tests: a 10 km line and
// its train, each line numbered in a comment, a way to change lines, and the
// table of mistakes with the diagnostics each must get.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>
#include <vector>

#include "compiler/diagnostic_format.h"
#include "lint/check.h"
#include "lint/warnings.h"
#include "pipeline/pipeline.h"
#include "test_support.h"

namespace scenariogen::testing {

// The route is 10000 m long: cells 0 to 340.
inline const std::vector<std::string> kLineLines{
    "[generale]",                                                      // 1
    "lunghezza percorso,  10000",                                      // 2
    "progressiva chilometrica uno,  0,  0,  0",                        // 3
    "progressiva chilometrica due,  0,  0,  0",                        // 4
    "progressiva chilometrica tre,  0,  0,  0",                        // 5
    "sfondo uno,  1",                                                  // 6
    "sfondo due,  0",                                                  // 7
    "sfondo tre,  0",                                                  // 8
    "ripetizione segnali 4 codici,  0,  0",                            // 9
    "[curve]",                                                         // 10
    "curvad3,  2000,  500",                                            // 11
    "curvas4,  6000,  300",                                            // 12
    "[pendenze]",                                                      // 13
    "pendenza,  0,  0",                                                // 14
    "pendenza,  3000,  8",                                             // 15
    "pendenza,  5000,  -4",                                            // 16
    "pendenza,  7000,  0",                                             // 17
    "[montagne]",                                                      // 18
    "montagna,  3000,  5000,  12",                                     // 19
    "[cartelli]",                                                      // 20
    "indicatori_vmax,  600,  100,  110,  110,  0,    ,    ,    ,  0",  // 21
    "[indicazioni]",                                                   // 22
    "cartello_indicatore,  1500,     (   P.L.  )(km 1+500)",           // 23
    "[fine]",                                                          // 24
};

inline const std::vector<std::string> kTrainLines{
    "[generale]",                                                                               // 1
    "numero vetture,    4",                                                                     // 2
    "percentuale massa frenata,    120",                                                        // 3
    "sabbia,    200",                                                                           // 4
    "orologio,    8               0            0 ",                                             // 5
    "[aderenze]",                                                                               // 6
    "aderenza,  0,  100",                                                                       // 7
    "[vel_limite]",                                                                             // 8
    "velocita,  0,  110",                                                                       // 9
    "velocita,  6000,  80",                                                                     // 10
    "[stazioni]",                                                                               // 11
    "stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  8,  1,  0,   VALBRUNA",   // 12
    "stazione,  9500,  12,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  0,  8,  9,  0,   ROCCA",  // 13
    "[rallentamenti]",                                                                          // 14
    "rallentamento,  4000,  30,  600,  1,  1,  0",                                              // 15
    "[segnali]",                                                                                // 16
    "segnale,  1000,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",                                   // 17
    "segnale,  2500,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",                                   // 18
    "segnale,  4800,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0",                                   // 19
    "segnale,  9000,  2,  3,  1,  0,  0,  0,  0,  0,  0,  0",                                   // 20
    "[codici]",                                                                                 // 21
    "abbattimento,  7500,  150",                                                                // 22
    "[fine]",                                                                                   // 23
};

// Changes to a file: line number -> its new text. A text with "\n" in it
// becomes several lines; kDeleted takes the line out.
using Edits = std::map<int, std::string>;
inline const std::string kDeleted =
    "\x01"
    "deleted";

// The lines with the edits made, joined with CR LF after each.
inline std::string edited(const std::vector<std::string>& lines, const Edits& edits) {
    std::string text;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const auto edit = edits.find(static_cast<int>(i) + 1);
        if (edit == edits.end()) {
            text += lines[i] + "\r\n";
            continue;
        }
        if (edit->second == kDeleted) continue;
        std::string rest = edit->second;
        for (std::size_t cut; (cut = rest.find('\n')) != std::string::npos; rest.erase(0, cut + 1)) {
            text += rest.substr(0, cut) + "\r\n";
        }
        text += rest + "\r\n";
    }
    return text;
}

inline constexpr SourceFile L = SourceFile::kLine;
inline constexpr SourceFile T = SourceFile::kTrain;

struct Expected {
    SourceFile file;
    int line;
    int column;
    Severity severity;
    std::string name;
};

inline Expected error(SourceFile f, int line, int column, std::string name) {
    return {f, line, column, Severity::kError, std::move(name)};
}
inline Expected warning(SourceFile f, int line, int column, std::string name) {
    return {f, line, column, Severity::kWarning, std::move(name)};
}

struct Mistake {
    const char* what;
    Edits line_edits;
    Edits train_edits;
    std::vector<Expected> expected;  // every diagnostic but the notes, in order
    std::string says = {};           // a piece of the first one's message
    int note_line = 0;               // the line its first note points at
    int compiler_error = 0;          // the number the compiler records, which the first diagnostic cites
};

inline std::string describe(const Diagnostics& diagnostics, const std::string& line, const std::string& train) {
    std::string text;
    for (const Diagnostic& d : diagnostics) {
        text += format_diagnostic(d, DiagnosticSources{"l.txt", "t.txt", line, train});
    }
    return text;
}

inline Diagnostics without_notes(const Diagnostics& all) {
    Diagnostics mains;
    for (const Diagnostic& d : all) {
        if (d.severity != Severity::kNote) mains.push_back(d);
    }
    return mains;
}

// The pipeline shows what the check shows, and no more: each fault the
// compiler records is carried by the check's diagnostic of the same mistake,
// the first error carrying the number of the fault the compiler records.
inline void expect_one_diagnostic_per_mistake(const Mistake& m, const std::string& line, const std::string& train,
                                              const Diagnostics& checked) {
    PipelineInput input;
    input.line = line;
    input.train = train;
    input.scenario_name = "Valbruna";
    input.train_number = "4711";
    const Diagnostics piped = without_notes(run_pipeline(input).diagnostics);
    // What the pipeline adds to the check's are faults that the compiler sees and the check does not: never
    // at the line of one of the check's errors.
    for (const Diagnostic& d : piped) {
        if (!d.name.empty() || !d.where) continue;
        const bool at_an_error = std::any_of(checked.begin(), checked.end(), [&](const Diagnostic& c) {
            return c.severity == Severity::kError && c.where && c.where->file == d.where->file &&
                   c.where->line == d.where->line;
        });
        EXPECT_FALSE(at_an_error) << "a mistake reported twice:\n" << describe(piped, line, train);
    }
    EXPECT_EQ(piped.size() - checked.size(),
              static_cast<std::size_t>(
                  std::count_if(piped.begin(), piped.end(), [](const Diagnostic& d) { return d.name.empty(); })))
        << describe(piped, line, train);
    if (m.compiler_error == 0) return;
    const auto first_error =
        std::find_if(piped.begin(), piped.end(), [](const Diagnostic& d) { return d.severity == Severity::kError; });
    ASSERT_NE(first_error, piped.end());
    EXPECT_EQ(first_error->number, m.compiler_error) << "the first error carries the compiler's number";
}

inline void expect_mistake(const Mistake& m) {
    const std::string line = edited(kLineLines, m.line_edits);
    const std::string train = edited(kTrainLines, m.train_edits);
    const Diagnostics all = check_descriptions(line, train);
    const Diagnostics got = without_notes(all);
    SCOPED_TRACE(std::string(m.what) + "\n" + describe(all, line, train));
    ASSERT_EQ(got.size(), m.expected.size());
    for (std::size_t i = 0; i < got.size(); ++i) {
        const Expected& e = m.expected[i];
        ASSERT_TRUE(got[i].where.has_value());
        EXPECT_EQ(got[i].where->file, e.file) << i;
        EXPECT_EQ(got[i].where->line, e.line) << i;
        EXPECT_EQ(got[i].where->column, e.column) << i;
        EXPECT_EQ(got[i].severity, e.severity) << i;
        EXPECT_EQ(got[i].name, e.name) << i;
        if (got[i].number != 0) {
            EXPECT_EQ(got[i].severity, Severity::kError) << "only an error cites the compiler";
        }
        const auto table = got[i].severity == Severity::kWarning ? warning_names() : error_names();
        EXPECT_TRUE(
            std::any_of(table.begin(), table.end(), [&](const DiagnosticName& n) { return n.name == got[i].name; }))
            << got[i].name << " is in no table of names";
    }
    if (!m.says.empty()) {
        EXPECT_NE(got.front().message.find(m.says), std::string::npos) << got.front().message;
    }
    if (m.note_line != 0) {
        const auto note =
            std::find_if(all.begin(), all.end(), [](const Diagnostic& d) { return d.severity == Severity::kNote; });
        ASSERT_NE(note, all.end());
        EXPECT_EQ(note->where->line, m.note_line);
    }
    if (m.compiler_error != 0) {
        const testing::Compiled compiled = testing::compile_texts(line, train);
        EXPECT_EQ(compiled.s.last_error, m.compiler_error);
    }
    expect_one_diagnostic_per_mistake(m, line, train, got);
}

inline void expect_mistakes(const std::vector<Mistake>& mistakes) {
    for (const Mistake& m : mistakes) expect_mistake(m);
}

// The second station's line, ROCCA, with some of its 16 numbers replaced
// (index: text) or another name field.
inline std::string rocca(const std::map<int, std::string>& numbers = {}, const std::string& name = "   ROCCA") {
    std::vector<std::string> values{"9500", "12", "600", "0", "0", "0", "1", "1",
                                    "0",    "4",  "1",   "1", "0", "8", "9", "0"};
    for (const auto& [k, text] : numbers) values[static_cast<std::size_t>(k)] = text;
    std::string line = "stazione";
    for (const std::string& value : values) line += ",  " + value;
    return line + "," + name;
}
inline const std::string kSignal =
    "  1,  4,  1,  0,  0,  0,  0,  0,  0,  0";  // the values of a signal after its position

}  // namespace scenariogen::testing
