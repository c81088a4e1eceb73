// The text of a diagnostic: the compiler's numbered faults exactly as the
// fault report has always printed them, the strict check's named ones with
// their name, both with the source line and a caret, and nothing of the
// input reaching the terminal as a control byte.
#include <gtest/gtest.h>

#include "compiler/diagnostic_format.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::crlf;

TEST(DiagnosticFormat, NumberedFaultsInTheFormCompilersUse) {
    const std::string line = crlf({"[generale]", "lunghezza percorso,  10000", "[curve]",
                                   "cartello_indicatore,  700,  (a)", "\tcartello_indicatore,  700,  (b)", "[fine]"});
    const std::string plain_line = crlf({"[generale]", "lunghezza percorso,  10000", "[curve]", "[fine]"});
    struct Case {
        std::string line_text, train_text, expected;
    };
    const std::vector<Case> cases{
        // A tab stays a tab, so that the caret stands under the field.
        {line, crlf({"[generale]", "[fine]"}),
         "linea.txt:5:24: error 6: the sign board's cell is already occupied (at 700 m)\n"
         "  \tcartello_indicatore,  700,  (b)\n"
         "  \t                      ^\n"},
        {plain_line, crlf({"[generale]", "sabbia,  abc", "[fine]"}),
         "treno.txt:2:10: error 25: the description could not be read: a whole number was expected, found 'abc'\n"
         "  sabbia,  abc\n"
         "           ^\n"},
        // A fault of the placement rules names its cell, and stands at the line of the object there.
        {plain_line, crlf({"[generale]", "velocita,  0,  80", "rallentamento,  4000,  30,  0,  0,  0,  0", "[fine]"}),
         "treno.txt:3:1: error 13: no free cell for a code-drop point along or after a slowdown (cell 81) (at 4050 m)\n"
         "  rallentamento,  4000,  30,  0,  0,  0,  0\n"
         "  ^\n"},
    };
    for (const Case& c : cases) {
        const CompileResult result = testing::compile_texts(c.line_text, c.train_text).s;
        ASSERT_EQ(result.faults.size(), 1u) << c.expected;
        const DiagnosticSources sources{"linea.txt", "treno.txt", c.line_text, c.train_text};
        EXPECT_EQ(format_diagnostic(result.faults.front(), sources), c.expected);
    }
}

TEST(DiagnosticFormat, NamedDiagnostics) {
    const std::string line = "[generale]\r\n\tpendneza,  3000,  8\r\n";
    const std::string train = "x\x1B[2J,\xC0\r\n";
    const DiagnosticSources sources{"l.txt", "t.txt", line, train};

    Diagnostic named;
    named.severity = Severity::kError;
    named.name = "unknown-keyword";
    named.message = "unknown keyword 'pendneza'; did you mean 'pendenza'?";
    named.where = SourceRange{SourceFile::kLine, 2, 2, 10};
    EXPECT_EQ(format_diagnostic(named, sources),
              "l.txt:2:2: error: unknown keyword 'pendneza'; did you mean 'pendenza'? [unknown-keyword]\n"
              "  \tpendneza,  3000,  8\n"
              "  \t^~~~~~~~\n");

    // The escape byte is shown as \x1B and takes four columns; the byte C0
    // is shown as the letter it stands for in Windows-1252.
    Diagnostic escaped;
    escaped.severity = Severity::kWarning;
    escaped.name = "control-character";
    escaped.message = "a control character \x1B stands in the line";
    escaped.where = SourceRange{SourceFile::kTrain, 1, 7, 8};
    EXPECT_EQ(format_diagnostic(escaped, sources),
              "t.txt:1:7: warning: a control character \\x1B stands in the line [control-character]\n"
              "  x\\x1B[2J,\xC3\x80\n"
              "           ^\n");  // under the letter: 1 + 4 + 4 columns in

    Diagnostic note;
    note.severity = Severity::kNote;
    note.message = "the file is UTF-8; it was read as Windows-1252";
    note.where = SourceRange{SourceFile::kTrain, 0, 0, 0};
    EXPECT_EQ(format_diagnostic(note, sources), "t.txt: note: the file is UTF-8; it was read as Windows-1252\n");
}

// A long line (a station name of thousands of letters) is shown around the
// place, with "..." where it goes on, and the caret still under the place.
TEST(DiagnosticFormat, ALongLineIsShownAroundThePlace) {
    const std::string name(600, 'N');
    const std::string station = "stazione,  1000,  " + name + ",  x";
    const std::string train = crlf({"[generale]", station, "[fine]"});
    const DiagnosticSources sources{"l.txt", "t.txt", "", train};
    struct Case {
        const char* what;
        int column, end_column;
        std::string shown, caret;
    };
    const std::vector<Case> cases{
        {"near the start", 1, 9, station.substr(0, 120) + "...", "^~~~~~~~"},
        {"in the middle, with the rest of the range cut", 19, 619, station.substr(0, 120) + "...",
         std::string(18, ' ') + "^" + std::string(101, '~')},
        {"far in", 320, 321, "..." + station.substr(279, 120) + "...", std::string(3 + 40, ' ') + "^"},
        {"at the end", static_cast<int>(station.size()), static_cast<int>(station.size()) + 1,
         "..." + station.substr(station.size() - 120), std::string(3 + 119, ' ') + "^"},
    };
    for (const Case& c : cases) {
        Diagnostic d;
        d.severity = Severity::kWarning;
        d.name = "long-name";
        d.message = "long";
        d.where = SourceRange{SourceFile::kTrain, 2, c.column, c.end_column};
        EXPECT_EQ(format_diagnostic(d, sources), "t.txt:2:" + std::to_string(c.column) +
                                                     ": warning: long [long-name]\n  " + c.shown + "\n  " + c.caret +
                                                     "\n")
            << c.what;
    }
}

TEST(DiagnosticFormat, LinesAreCountedAsTheReaderCountsThem) {
    const std::string text = "a\r\nb\rc\nd\n\re";
    const std::vector<std::string> expected{"a", "b", "c", "d", "", "e", ""};
    for (std::size_t i = 0; i < expected.size(); ++i) {
        EXPECT_EQ(text_line(text, static_cast<int>(i) + 1), expected[i]) << i + 1;
    }
}

}  // namespace
}  // namespace scenariogen
