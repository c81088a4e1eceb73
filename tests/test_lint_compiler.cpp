// The check and the compiler agree: whatever the check passes without an
// error, the compiler reads without a fault. The inputs are the small line
// and train with one value changed to a value near a limit, or with one
// more object swept along the route.
#include <gtest/gtest.h>

#include "lint_fixtures.h"

namespace scenariogen::testing {
namespace {

// The faults of the placement rules, which the check does not foresee.
bool placement_fault(std::int32_t number) {
    return number == 11 || number == 12 || number == 13 || number == 1250 || number == 1251;
}

// Whether the check passes the texts while the compiler records a fault.
void expect_agreement(const std::string& line, const std::string& train, const std::string& what) {
    const Diagnostics checked = check_descriptions(line, train);
    const bool passed = std::none_of(checked.begin(), checked.end(),
                                     [](const Diagnostic& d) { return d.severity == Severity::kError; });
    if (!passed) return;
    const CompileResult result = compile_texts(line, train, false).s;
    for (const Diagnostic& fault : result.faults) {
        if (placement_fault(fault.number)) continue;
        ADD_FAILURE() << what << "\nthe check passes it, the compiler records:\n"
                      << format_diagnostic(fault, DiagnosticSources{"l.txt", "t.txt", line, train});
        return;
    }
}

std::vector<std::string> fields_of(const std::string& line) {
    std::vector<std::string> fields{""};
    for (const char c : line) {
        if (c == ',') {
            fields.emplace_back();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

TEST(LintAndCompiler, EveryValueNearItsLimits) {
    const std::vector<std::string> values{"-1",  "0",    "1",     "25",    "49",    "101",   "256",
                                          "325", "1550", "16350", "16400", "32768", "99999", ""};
    for (const auto* lines : {&kLineLines, &kTrainLines}) {
        for (std::size_t i = 0; i < lines->size(); ++i) {
            const std::vector<std::string> fields = fields_of((*lines)[i]);
            for (std::size_t k = 1; k < fields.size(); ++k) {
                for (const std::string& value : values) {
                    std::vector<std::string> changed = fields;
                    changed[k] = "  " + value;
                    std::string text = changed[0];
                    for (std::size_t j = 1; j < changed.size(); ++j) text += "," + changed[j];
                    const Edits edit{{static_cast<int>(i) + 1, text}};
                    const bool in_line = lines == &kLineLines;
                    expect_agreement(edited(kLineLines, in_line ? edit : Edits{}),
                                     edited(kTrainLines, in_line ? Edits{} : edit), text);
                }
            }
        }
    }
}

TEST(LintAndCompiler, OneMoreObjectAnywhere) {
    // P is the position swept from the start of the route past its cells.
    const std::vector<std::pair<SourceFile, std::string>> objects{
        {L, "indicatori_vmax,  P,  100,  110,  110,  0,    ,    ,    ,  0"},
        {L, "cartello_indicatore,  P,     (x)"},
        {L, "montagna,  P,  17000,  12"},
        {T, "segnale,  P,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0"},
        {T, "rallentamento,  P,  30,  600,  1,  1,  0"},
        {T, "abbattimento,  P,  150"},
        {T, "stazione,  P,  12,  600,  0,  0,  1,  1,  1,  0,  4,  1,  1,  60,  8,  5,  0,   X"},
        {T, "stazione,  P,  5,  300,  0,  0,  0,  1,  1,  0,  4,  1,  1,  60,  8,  5,  0,   X"},
    };
    for (const auto& [file, object] : objects) {
        for (int p = 0; p <= 17500; p += 50) {
            std::string text = object;
            text.replace(text.find('P'), 1, std::to_string(p));
            // Before [fine]: after every object of its file.
            const Edits edit{{file == L ? 24 : 23, text + "\n[fine]"}};
            expect_agreement(edited(kLineLines, file == L ? edit : Edits{}),
                             edited(kTrainLines, file == T ? edit : Edits{}), text);
        }
    }
}

}  // namespace
}  // namespace scenariogen::testing
