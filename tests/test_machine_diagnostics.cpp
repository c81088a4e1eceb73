// Diagnostics for tools: one JSON object a line with --diagnostics-format=json,
// and the same objects in check --json.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <sstream>

#include "lint_fixtures.h"
#include "pipeline/diagnostics_json.h"
#include "pipeline/sarif_log.h"

namespace scenariogen::testing {
namespace {

using nlohmann::json;

TEST(MachineDiagnostics, OneObjectPerDiagnosticWithItsNotes) {
    Diagnostic warning;
    warning.severity = Severity::kWarning;
    warning.name = "board-limit";
    warning.message = "the board shows at most 25 km/h";
    warning.where = SourceRange{SourceFile::kLine, 21, 25, 27};
    warning.position = 600;
    Diagnostic note;
    note.severity = Severity::kNote;
    note.message = "the line limit";
    note.where = SourceRange{SourceFile::kTrain, 9, 16, 19};
    Diagnostic fault;
    fault.number = 16;
    fault.where = SourceRange{SourceFile::kTrain, 17, 11, 11};
    Diagnostic whole;
    whole.name = "missing-generale";
    whole.message = "the file is empty";
    whole.where = SourceRange{SourceFile::kTrain, 0, 0, 0};

    const json all = diagnostics_json({warning, note, fault, whole}, {"l.txt", "t.txt"});
    ASSERT_EQ(all.size(), 3u);
    EXPECT_EQ(all[0]["file"], "l.txt");
    EXPECT_EQ(all[0]["range"],
              json::parse(R"({"start": {"line": 21, "column": 25}, "end": {"line": 21, "column": 27}})"));
    EXPECT_EQ(all[0]["severity"], "warning");
    EXPECT_EQ(all[0]["name"], "board-limit");
    EXPECT_TRUE(all[0]["number"].is_null());
    EXPECT_EQ(all[0]["position_m"], 600);
    ASSERT_EQ(all[0]["notes"].size(), 1u);
    EXPECT_EQ(all[0]["notes"][0]["file"], "t.txt");
    EXPECT_EQ(all[0]["notes"][0]["message"], "the line limit");
    EXPECT_EQ(all[1]["number"], 16);
    EXPECT_TRUE(all[1]["name"].is_null());
    EXPECT_EQ(all[1]["message"], "the signal's cell is already occupied");
    EXPECT_EQ(all[2]["file"], "t.txt");
    EXPECT_TRUE(all[2]["range"].is_null());
}

TEST(MachineDiagnostics, PathsAsUris) {
    EXPECT_EQ(path_uri("examples/valbruna linea.txt"), "examples/valbruna%20linea.txt");
    EXPECT_EQ(path_uri("/tmp/Nicol\xC3\xB2/l.txt"), "file:///tmp/Nicol%C3%B2/l.txt");
    EXPECT_EQ(path_uri("C:\\Scenari\\l.txt"), "file:///C:/Scenari/l.txt");
    EXPECT_EQ(path_uri("..\\l.txt"), "../l.txt");
}

struct EditedPair {
    TempDir dir;
    std::string line = dir.file("l.txt");
    std::string train = dir.file("t.txt");
    EditedPair(const Edits& line_edits, const Edits& train_edits) {
        spit(line, edited(kLineLines, line_edits));
        spit(train, edited(kTrainLines, train_edits));
    }
};

TEST(MachineDiagnostics, JsonLinesOnStderrAndInCheckJson) {
    const EditedPair pair({{21, "indicatori_vmax,  600,  22,  24,  25,  0,    ,    ,    ,  0"}},
                          {{17, "segnale,  1500," + kSignal}});
    const Outcome compiled = run_program("compile " + pair.line + " " + pair.train + " -o " + pair.dir.path().string() +
                                         " --diagnostics-format=json");
    EXPECT_EQ(compiled.status, 1);
    std::istringstream lines(compiled.err);
    std::vector<json> objects;
    for (std::string text; std::getline(lines, text);) {
        if (text.rfind("scenariogen:", 0) == 0) continue;  // the closing line
        objects.push_back(json::parse(text));
    }
    ASSERT_GE(objects.size(), 2u) << compiled.err;
    EXPECT_EQ(objects[0]["name"], "board-limit");
    EXPECT_EQ(objects[0]["notes"][0]["range"]["start"]["line"], 9);
    EXPECT_EQ(objects[1]["name"], "occupied-cell");
    EXPECT_EQ(objects[1]["range"]["start"]["line"], 17);
    EXPECT_TRUE(std::any_of(objects.begin(), objects.end(), [](const json& o) { return o["number"] == 16; }));

    const Outcome checked = run_program("check " + pair.line + " " + pair.train + " --json");
    EXPECT_EQ(checked.status, 1);
    const json j = json::parse(checked.out);
    ASSERT_GE(j["diagnostics"].size(), 2u) << checked.out;
    EXPECT_EQ(j["diagnostics"][1]["name"], "occupied-cell");

    EXPECT_EQ(run_program("check " + pair.line + " " + pair.train + " --diagnostics-format=xml").status, 2);

    // The log never replaces a description.
    const std::string before = slurp(pair.train);
    const Outcome refused = run_program("check " + pair.line + " " + pair.train + " --sarif " + pair.train);
    EXPECT_EQ(refused.status, 2);
    EXPECT_NE(refused.err.find("the log never replaces a description"), std::string::npos) << refused.err;
    EXPECT_EQ(slurp(pair.train), before);
}

}  // namespace
}  // namespace scenariogen::testing
