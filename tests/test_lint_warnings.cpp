// What the command line does with the check's warnings: -Wno-name drops a
// warning with its notes, -Werror makes the rest errors, -fmax-errors stops
// the list after the Nth error.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <set>

#include "lint/warnings.h"

namespace scenariogen {
namespace {

Diagnostic made(Severity severity, std::string name, int line) {
    Diagnostic d;
    d.severity = severity;
    d.name = std::move(name);
    d.where = SourceRange{SourceFile::kLine, line, 1, 1};
    return d;
}

std::vector<int> lines_of(const Diagnostics& diagnostics) {
    std::vector<int> lines;
    for (const Diagnostic& d : diagnostics) lines.push_back(d.where->line);
    return lines;
}

const Diagnostics kSample{
    made(Severity::kWarning, "unaligned", 1),          made(Severity::kError, "unknown-keyword", 2),
    made(Severity::kWarning, "overwritten-marker", 3), made(Severity::kNote, "", 4),
    made(Severity::kError, "occupied-cell", 5),        made(Severity::kNote, "", 6),
    made(Severity::kWarning, "unaligned", 7),
};

TEST(LintWarnings, SwitchesAndWerror) {
    EXPECT_EQ(lines_of(apply_warning_options(kSample, {})), (std::vector<int>{1, 2, 3, 4, 5, 6, 7}));

    WarningOptions off;
    off.switches = {{"overwritten-marker", false}, {"unaligned", false}, {"unaligned", true}};
    const Diagnostics some = apply_warning_options(kSample, off);
    EXPECT_EQ(lines_of(some), (std::vector<int>{1, 2, 5, 6, 7}));  // the marker warning goes with its note

    WarningOptions werror;
    werror.warnings_are_errors = true;
    werror.switches = {{"unaligned", false}};
    const Diagnostics errors = apply_warning_options(kSample, werror);
    ASSERT_EQ(lines_of(errors), (std::vector<int>{2, 3, 4, 5, 6}));
    EXPECT_EQ(errors[1].severity, Severity::kError);
    EXPECT_EQ(errors[1].name, "overwritten-marker");
    EXPECT_EQ(errors[2].severity, Severity::kNote);

    WarningOptions unknown;
    unknown.switches = {{"unaligned", false}, {"occupied-cell", false}, {"nonsense", true}};
    EXPECT_EQ(unknown_warning_names(unknown), (std::vector<std::string>{"occupied-cell", "nonsense"}));
}

// -Werror=NAME makes one warning an error, -Wno-error=NAME keeps one a
// warning under -Werror; the last that names a warning wins.
TEST(LintWarnings, ErrorsByName) {
    WarningOptions one;
    one.errors = {{"overwritten-marker", true}};
    const Diagnostics some = apply_warning_options(kSample, one);
    EXPECT_EQ(some[0].severity, Severity::kWarning);  // unaligned
    EXPECT_EQ(some[2].severity, Severity::kError);    // overwritten-marker
    EXPECT_EQ(some[3].severity, Severity::kNote);

    WarningOptions all_but;
    all_but.warnings_are_errors = true;
    all_but.errors = {{"unaligned", true}, {"unaligned", false}};
    const Diagnostics most = apply_warning_options(kSample, all_but);
    EXPECT_EQ(most[0].severity, Severity::kWarning);
    EXPECT_EQ(most[2].severity, Severity::kError);

    WarningOptions unknown;
    unknown.errors = {{"timetabel", true}};
    EXPECT_EQ(unknown_warning_names(unknown), (std::vector<std::string>{"timetabel"}));
    EXPECT_EQ(nearest_warning_name("timetabel"), std::optional<std::string_view>("timetable"));
    EXPECT_EQ(nearest_warning_name("nonsense"), std::nullopt);
}

TEST(LintWarnings, MaxErrors) {
    const LimitedDiagnostics one = limit_errors(kSample, 1);
    EXPECT_EQ(lines_of(one.shown), (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(one.errors_left_out, 1u);
    const LimitedDiagnostics all = limit_errors(kSample, 0);
    EXPECT_EQ(all.shown.size(), kSample.size());
    EXPECT_EQ(all.errors_left_out, 0u);
}

TEST(LintWarnings, NamesAreUniqueAndExplained) {
    std::set<std::string_view> seen;
    for (const auto table : {warning_names(), error_names()}) {
        for (const DiagnosticName& n : table) {
            EXPECT_TRUE(seen.insert(n.name).second) << n.name;
            EXPECT_FALSE(n.meaning.empty()) << n.name;
            EXPECT_EQ(n.name.find_first_not_of("abcdefghijklmnopqrstuvwxyz-"), std::string_view::npos) << n.name;
        }
    }
}

TEST(LintWarnings, TheReadmeNamesEveryDiagnostic) {
    std::ifstream in(std::string(SCENARIOGEN_SOURCE_DIR) + "/README.md", std::ios::binary);
    const std::string readme{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    ASSERT_FALSE(readme.empty());
    for (const auto table : {warning_names(), error_names()}) {
        for (const DiagnosticName& n : table) {
            const std::string row = "| `" + std::string(n.name) + "` | " + std::string(n.meaning) + " |";
            EXPECT_NE(readme.find(row), std::string::npos) << row;
        }
    }
}

}  // namespace
}  // namespace scenariogen
