// `scenariogen explain` answers for every code an author meets, and `new`
// gives a starting point that compiles and checks without a diagnostic.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>

#include "compiler/error_numbers.h"
#include "lint/explanations.h"
#include "lint/warnings.h"
#include "syntax/keywords.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::Outcome;
using testing::run_program;
using testing::TempDir;

// Every code the program can show: the numbers that have a sentence, every
// diagnostic's name, every keyword.
std::vector<std::string> every_code() {
    std::vector<std::string> codes;
    for (std::int32_t n = 1; n <= 2000; ++n) {
        if (!error_sentence(n).empty()) codes.push_back(std::to_string(n));
    }
    for (const auto table : {warning_names(), error_names()}) {
        for (const DiagnosticName& name : table) codes.emplace_back(name.name);
    }
    for (int k = 0; k <= static_cast<int>(syntax::Keyword::kStation); ++k) {
        codes.emplace_back(syntax::shape(static_cast<syntax::Keyword>(k)).spelling);
    }
    return codes;
}

TEST(Explain, EveryCodeHasAnEntryWithItsMeaningAnExampleAndAFix) {
    std::set<const Explanation*> found;
    for (const std::string& code : every_code()) {
        const Explanation* e = find_explanation(code);
        ASSERT_NE(e, nullptr) << code;
        found.insert(e);
        EXPECT_FALSE(e->meaning.empty()) << code;
        EXPECT_FALSE(e->example.empty()) << code;
        EXPECT_FALSE(e->fix.empty()) << code;
        EXPECT_NE(explanation_title(*e).find(std::string(e->code)), std::string::npos) << code;
    }
    // No entry that answers for nothing the program shows.
    EXPECT_EQ(found.size(), explanations().size());
}

// A keyword's entry has the values of its line, in order, with their units.
TEST(Explain, EveryValueOfEveryKeyword) {
    for (int k = 0; k <= static_cast<int>(syntax::Keyword::kStation); ++k) {
        const syntax::KeywordShape& shape = syntax::shape(static_cast<syntax::Keyword>(k));
        const Explanation* e = find_explanation(shape.spelling);
        ASSERT_NE(e, nullptr) << shape.spelling;
        ASSERT_EQ(e->values.size(), shape.values.size()) << shape.spelling;
        for (std::size_t i = 0; i < shape.values.size(); ++i) {
            EXPECT_EQ(e->values[i].name, shape.values[i].name) << shape.spelling;
            EXPECT_EQ(e->values[i].unit, shape.values[i].unit) << shape.spelling;
            EXPECT_FALSE(e->values[i].meaning.empty()) << shape.spelling;
        }
    }
}

TEST(Explain, CodesAsAuthorsTypeThem) {
    for (const auto& [typed, code] : std::vector<std::pair<std::string, std::string>>{
             {"E16", "16"},
             {"error 16", "16"},
             {"Segnale", "segnale"},
             {"curvas6", "curva"},
             {"velocit\xC3\xA0", "velocita"},
             {"ripetizione segnali 9 codici", "ripetizione segnali 4 codici"},
             {"  Occupied-Cell ", "occupied-cell"}}) {
        const Explanation* e = find_explanation(typed);
        ASSERT_NE(e, nullptr) << typed;
        EXPECT_EQ(e->code, code) << typed;
    }
    EXPECT_EQ(find_explanation("14"), nullptr);  // a number the compiler does not use
    EXPECT_EQ(nearest_code("occupied-cel"), std::optional<std::string_view>("occupied-cell"));
}

TEST(Explain, TheCommand) {
    const Outcome explained = run_program("explain 16");
    EXPECT_EQ(explained.status, 0);
    EXPECT_EQ(explained.out.rfind("error 16: the signal's cell is already occupied\n", 0), 0u) << explained.out;
    EXPECT_NE(explained.out.find("The usual fix: "), std::string::npos);

    const Outcome keyword = run_program("explain segnale");
    EXPECT_NE(keyword.out.find("\n  tempo "), std::string::npos) << keyword.out;

    const Outcome listed = run_program("explain");
    EXPECT_EQ(listed.status, 0);
    for (const std::string code : {"error 1250:", "[occupied-cell]", "[timetable]", "keyword 'stazione'"}) {
        EXPECT_NE(listed.out.find(code), std::string::npos) << code;
    }

    const Outcome unknown = run_program("explain pendneza");
    EXPECT_EQ(unknown.status, 2);
    EXPECT_NE(unknown.err.find("did you mean 'pendenza'?"), std::string::npos) << unknown.err;
}

// The README's format reference is the one `explain --reference` prints.
TEST(Explain, TheReadmeHoldsTheFormatReference) {
    std::ifstream in(std::string(SCENARIOGEN_SOURCE_DIR) + "/README.md", std::ios::binary);
    const std::string readme{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string reference = format_reference_markdown();
    EXPECT_NE(readme.find(reference), std::string::npos)
        << "README.md must hold the output of 'scenariogen explain --reference':\n"
        << reference;
    EXPECT_EQ(run_program("explain --reference").out, reference);
}

TEST(NewScenario, CompilesAndChecksWithoutADiagnostic) {
    TempDir dir;
    const std::string folder = dir.path().string();
    const Outcome made = run_program("new Colle -o " + folder + " --train 4711");
    ASSERT_EQ(made.status, 0) << made.err;
    const std::string line = dir.file("Colle_linea.txt");
    const std::string train = dir.file("Colle_4711-.txt");
    ASSERT_TRUE(std::filesystem::exists(line));
    ASSERT_TRUE(std::filesystem::exists(train));

    const Outcome checked = run_program("check " + line + " " + train);
    EXPECT_EQ(checked.status, 0);
    EXPECT_EQ(checked.err, "");
    const Outcome compiled =
        run_program("compile " + line + " " + train + " -o " + folder + " --name Colle --train 4711 -Werror");
    EXPECT_EQ(compiled.status, 0);
    EXPECT_EQ(compiled.err, "");
    EXPECT_TRUE(std::filesystem::exists(dir.file("Colle_4711.dat")));

    // Every kind of line the brief names is there, each with a comment before it.
    const std::string both = testing::slurp(line) + testing::slurp(train);
    for (const std::string keyword : {"pendenza", "curvad", "velocita", "segnale", "rallentamento", "stazione"}) {
        const auto at = both.find("\r\n" + keyword);
        ASSERT_NE(at, std::string::npos) << keyword;
        EXPECT_EQ(both.rfind("--", at), both.rfind("\r\n", at - 1) + 2) << "a comment just before " << keyword;
    }

    // Nothing is overwritten: a second run refuses and changes nothing.
    testing::spit(train, "mine");
    const Outcome again = run_program("new Colle -o " + folder + " --train 4711");
    EXPECT_EQ(again.status, 2);
    EXPECT_NE(again.err.find("exists already"), std::string::npos) << again.err;
    EXPECT_EQ(testing::slurp(train), "mine");
}

}  // namespace
}  // namespace scenariogen
