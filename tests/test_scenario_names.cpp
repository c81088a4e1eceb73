// How a scenario's descriptions and names are found, the same for every
// front end: the command line, then scenario.json, then the descriptions'
// file names, then the fixed scenario's names; and what is wrong with a
// project file, at its line and column.
#include <gtest/gtest.h>

#include <map>
#include <optional>
#include <string>

#include "lsp/document_uri.h"
#include "lsp/pairing.h"
#include "lsp/workspace.h"
#include "pipeline/compiled_scenarios.h"
#include "pipeline/project_file.h"
#include "pipeline/scenario_names.h"
#include "platform/file_system.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::spit;
using testing::TempDir;

// A folder's files: name to content (a name ending in "/" is a folder).
using Files = std::map<std::string, std::string>;

void make(const TempDir& dir, const Files& files) {
    for (const auto& [name, content] : files) {
        if (name.back() == '/') {
            std::filesystem::create_directories(dir.path() / name);
        } else {
            spit(dir.file(name), content);
        }
    }
}

constexpr auto kCommand = NameOrigin::kCommandLine;
constexpr auto kProject = NameOrigin::kProjectFile;
constexpr auto kFiles = NameOrigin::kFileNames;
constexpr auto kDefault = NameOrigin::kDefault;

TEST(ScenarioNames, EachNameIsLookedUpInOrder) {
    struct Case {
        const char* what;
        Files files;
        std::string line, train;  // as given; empty: not given
        std::optional<std::string> name, number;
        std::string found_line, found_train;  // file names in the folder
        std::string expected_name, expected_number;
        NameOrigin name_origin, number_origin;
    };
    const std::string both = R"({"line": "v_l.txt", "train": "v_t.txt", "name": "Valbruna-Rocca", "number": "4711"})";
    const Case cases[] = {
        {"the command line over everything",
         {{"Valle_linea.txt", ""},
          {"Valle_88-.txt", ""},
          {"scenario.json", R"({"line": "Valle_linea.txt", "name": "P", "number": "1"})"}},
         "Valle_linea.txt",
         "Valle_88-.txt",
         "Alto",
         "12",
         "Valle_linea.txt",
         "Valle_88-.txt",
         "Alto",
         "12",
         kCommand,
         kCommand},
        {"scenario.json beside LINE that names it",
         {{"v_l.txt", ""}, {"v_t.txt", ""}, {"scenario.json", both}},
         "v_l.txt",
         "v_t.txt",
         {},
         {},
         "v_l.txt",
         "v_t.txt",
         "Valbruna-Rocca",
         "4711",
         kProject,
         kProject},
        {"scenario.json that names TRAIN only",
         {{"x_linea.txt", ""}, {"v_t.txt", ""}, {"scenario.json", R"({"train": "v_t.txt", "number": "9"})"}},
         "x_linea.txt",
         "v_t.txt",
         {},
         {},
         "x_linea.txt",
         "v_t.txt",
         "x",
         "9",
         kFiles,
         kProject},
        {"scenario.json that names other files does not speak for these",
         {{"Valle_linea.txt", ""}, {"Valle_88-.txt", ""}, {"v_l.txt", ""}, {"v_t.txt", ""}, {"scenario.json", both}},
         "Valle_linea.txt",
         "Valle_88-.txt",
         {},
         {},
         "Valle_linea.txt",
         "Valle_88-.txt",
         "Valle",
         "88",
         kFiles,
         kFiles},
        {"the descriptions' own names",
         {{"Valle_linea.txt", ""}, {"Valle_88-.txt", ""}},
         "Valle_linea.txt",
         "Valle_88-.txt",
         {},
         {},
         "Valle_linea.txt",
         "Valle_88-.txt",
         "Valle",
         "88",
         kFiles,
         kFiles},
        {"the names in any case, as on Windows",
         {{"Valle_LINEA.TXT", ""}, {"Valle_88-.TXT", ""}},
         "Valle_LINEA.TXT",
         "Valle_88-.TXT",
         {},
         {},
         "Valle_LINEA.TXT",
         "Valle_88-.TXT",
         "Valle",
         "88",
         kFiles,
         kFiles},
        {"a train description's name alone",
         {{"linea.txt", ""}, {"Monte_3-.txt", ""}},
         "linea.txt",
         "Monte_3-.txt",
         {},
         {},
         "linea.txt",
         "Monte_3-.txt",
         "Monte",
         "3",
         kFiles,
         kFiles},
        {"nothing names them",
         {{"linea.txt", ""}, {"treno.txt", ""}},
         "linea.txt",
         "treno.txt",
         {},
         {},
         "linea.txt",
         "treno.txt",
         "Zervano-OdelmaVmod",
         "27340",
         kDefault,
         kDefault},
        {"a name given, the number from nothing",
         {{"linea.txt", ""}, {"treno.txt", ""}},
         "linea.txt",
         "treno.txt",
         "Alto",
         {},
         "linea.txt",
         "treno.txt",
         "Alto",
         "27340",
         kCommand,
         kDefault},
        {"no descriptions given: the folder's scenario.json names them",
         {{"v_l.txt", ""}, {"v_t.txt", ""}, {"scenario.json", both}},
         "",
         "",
         {},
         {},
         "v_l.txt",
         "v_t.txt",
         "Valbruna-Rocca",
         "4711",
         kProject,
         kProject},
        {"scenario.json without names: the named files' names",
         {{"Valle_linea.txt", ""},
          {"Valle_88-.txt", ""},
          {"scenario.json", R"({"line": "Valle_linea.txt", "train": "Valle_88-.txt"})"}},
         "",
         "",
         "Alto",
         {},
         "Valle_linea.txt",
         "Valle_88-.txt",
         "Alto",
         "88",
         kCommand,
         kFiles},
        {"paths in scenario.json with backslashes, as written on Windows",
         {{"sub/", ""},
          {"sub/Valle_linea.txt", ""},
          {"sub/Valle_88-.txt", ""},
          {"scenario.json", R"({"line": "sub\\Valle_linea.txt", "train": ".\\sub\\Valle_88-.txt"})"}},
         "",
         "",
         {},
         {},
         "sub/Valle_linea.txt",
         "sub/Valle_88-.txt",
         "Valle",
         "88",
         kFiles,
         kFiles},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        make(dir, c.files);
        const std::string folder = dir.path().string();
        const ScenarioLookup found = look_up_scenario({folder, c.line, c.train, c.name, c.number});
        ASSERT_TRUE(found.usable()) << found.failure;
        EXPECT_TRUE(same_file(found.line_path, dir.file(c.found_line))) << found.line_path;
        EXPECT_TRUE(same_file(found.train_path, dir.file(c.found_train))) << found.train_path;
        EXPECT_EQ(found.names.name, c.expected_name);
        EXPECT_EQ(found.names.number, c.expected_number);
        EXPECT_EQ(found.names.name_origin, c.name_origin);
        EXPECT_EQ(found.names.number_origin, c.number_origin);
        EXPECT_EQ(found.names.defaulted(), c.name_origin == kDefault || c.number_origin == kDefault);
    }
}

// The editor pairs an open description and names the pair as the commands do.
TEST(ScenarioNames, TheEditorNamesAPairAsTheCommandsDo) {
    const std::string both = R"({"line": "v_l.txt", "train": "v_t.txt", "name": "Valbruna-Rocca", "number": "4711"})";
    struct EditorsFolder {
        Files files;
        std::string line, train;  // given to the commands
    };
    const EditorsFolder folders[] = {
        {{{"v_l.txt", ""}, {"v_t.txt", ""}, {"scenario.json", both}}, "", ""},
        {{{"Valle_linea.txt", ""}, {"Valle_88-.txt", ""}}, "Valle_linea.txt", "Valle_88-.txt"},
        {{{"Valle_linea.txt", ""},
          {"Valle_88-.txt", ""},
          {"scenario.json", R"({"line": "Valle_linea.txt", "train": "Valle_88-.txt", "number": "5"})"}},
         "",
         ""},
        {{{"v_l.txt", ""}, {"v_t.txt", ""}, {"scenario.json", R"({"line": "v_l.txt", "train": "v_t.txt"})"}},
         "v_l.txt",
         "v_t.txt"},
    };
    for (const EditorsFolder& folder : folders) {
        TempDir dir;
        make(dir, folder.files);
        const ScenarioLookup commands = look_up_scenario({dir.path().string(), folder.line, folder.train, {}, {}});
        ASSERT_TRUE(commands.usable()) << commands.failure;
        const lsp::Pairing editor =
            lsp::pair_file(commands.line_path, "", [](const std::string& path) { return file_exists(path); });
        EXPECT_EQ(std::make_pair(editor.name, editor.number),
                  std::make_pair(commands.names.name, commands.names.number));
        EXPECT_EQ(editor.train_path, commands.train_path);
    }
}

// The editor shows a project file's faults on the project file, and clears
// them once it is mended.
TEST(ScenarioNames, TheEditorShowsAProjectFilesFaultsOnIt) {
    TempDir dir;
    make(dir, {{"Valle_linea.txt", "lunghezza percorso, 9"},
               {"scenario.json", "{\n  \"lnie\": \"Città\",  \"nmae\": \"A\"\n}"}});
    lsp::Workspace workspace;
    const std::string line_uri = lsp::path_to_uri(dir.file("Valle_linea.txt"));
    const std::string project_uri = lsp::path_to_uri(dir.file("scenario.json"));
    const auto published = [&]() {
        std::optional<nlohmann::json> list;
        for (const lsp::Publication& p : workspace.refresh()) {
            if (p.uri == project_uri) list = p.diagnostics;
        }
        return list;
    };
    workspace.open(line_uri, 1, "lunghezza percorso, 9");
    const std::optional<nlohmann::json> faults = published();
    ASSERT_TRUE(faults);
    ASSERT_EQ(faults->size(), 2U);
    EXPECT_EQ((*faults)[0]["range"],
              nlohmann::json::parse(R"({"start": {"line": 1, "character": 2}, "end": {"line": 1, "character": 8}})"));
    EXPECT_NE((*faults)[0]["message"].get<std::string>().find("did you mean \"line\"?"), std::string::npos);
    // Past "Città", whose "à" is two bytes and one UTF-16 unit.
    EXPECT_EQ((*faults)[1]["range"]["start"], nlohmann::json::parse(R"({"line": 1, "character": 20})"));
    spit(dir.file("scenario.json"), R"({"line": "Valle_linea.txt"})");
    workspace.files_changed();
    EXPECT_EQ(published(), nlohmann::json::array());
    workspace.files_changed();
    EXPECT_EQ(published(), std::nullopt);  // said once
}

TEST(ScenarioNames, WhatCannotBeFoundIsSaid) {
    TempDir dir;
    make(dir, {{"a_linea.txt", ""}});
    const std::string folder = dir.path().string();
    EXPECT_NE(look_up_scenario({folder, "", "", {}, {}}).failure.find("scenario.json does not exist"),
              std::string::npos);
    spit(dir.file("scenario.json"), "{\n  \"line\": \"a_linea.txt\"\n}\n");
    const ScenarioLookup no_train = look_up_scenario({folder, "", "", {}, {}});
    ASSERT_FALSE(no_train.usable());
    ASSERT_EQ(no_train.project->faults.size(), 1U);
    EXPECT_EQ(no_train.project->faults[0].line, 1);
    EXPECT_NE(no_train.project->faults[0].message.find("names no train description"), std::string::npos);
}

// One description given: its partner is the one the project file beside it
// names, else the one its file name finds; what cannot be paired is said.
TEST(ScenarioNames, OneDescriptionFindsItsPartner) {
    const std::string project =
        R"({"line": "v_l.txt", "train": "v_t.txt", "name": "Valbruna-Rocca", "number": "4711"})";
    struct Case {
        const char* what;
        Files files;
        std::string line, train;  // given to the commands
        std::string paired_line, paired_train;
        std::string name;     // the scenario's name when paired
        std::string failure;  // a part of the failure; empty: paired
    };
    const Case cases[] = {
        {"a line description finds its train",
         {{"Valle_linea.txt", ""}, {"Valle_88-.txt", ""}},
         "Valle_linea.txt",
         "",
         "Valle_linea.txt",
         "Valle_88-.txt",
         "Valle",
         ""},
        {"a train description finds its line, given first",
         {{"Valle_linea.txt", ""}, {"Valle_88-.txt", ""}},
         "Valle_88-.txt",
         "",
         "Valle_linea.txt",
         "Valle_88-.txt",
         "Valle",
         ""},
        {"a train description given as TRAIN",
         {{"Valle_linea.txt", ""}, {"Valle_88-.txt", ""}},
         "",
         "Valle_88-.txt",
         "Valle_linea.txt",
         "Valle_88-.txt",
         "Valle",
         ""},
        {"another scenario's train is no partner",
         {{"Valle_linea.txt", ""}, {"Valle_alta_88-.txt", ""}},
         "Valle_linea.txt",
         "",
         "",
         "",
         "",
         "no train description Valle_NUMBER-.txt lies beside"},
        {"several trains",
         {{"Valle_linea.txt", ""}, {"Valle_1-.txt", ""}, {"Valle_2-.txt", ""}},
         "Valle_linea.txt",
         "",
         "",
         "",
         "",
         "several train descriptions lie beside"},
        {"a train without its line",
         {{"Valle_88-.txt", ""}},
         "Valle_88-.txt",
         "",
         "",
         "",
         "",
         "no line description Valle_linea.txt lies beside"},
        {"a name that finds nothing", {{"mia.txt", ""}}, "mia.txt", "", "", "", "", "is named neither"},
        {"the project file pairs",
         {{"v_l.txt", ""}, {"v_t.txt", ""}, {"scenario.json", project}},
         "v_t.txt",
         "",
         "v_l.txt",
         "v_t.txt",
         "Valbruna-Rocca",
         ""},
        {"the project file names no partner",
         {{"v_l.txt", ""}, {"scenario.json", R"({"line": "v_l.txt"})"}},
         "v_l.txt",
         "",
         "",
         "",
         "",
         "but no train description to go with it"},
    };
    for (const Case& c : cases) {
        TempDir dir;
        make(dir, c.files);
        const ScenarioLookup found = look_up_scenario({dir.path().string(), c.line, c.train, {}, {}});
        if (!c.failure.empty()) {
            EXPECT_FALSE(found.usable()) << c.what;
            EXPECT_NE(found.failure.find(c.failure), std::string::npos) << c.what << ": " << found.failure;
            continue;
        }
        ASSERT_TRUE(found.usable()) << c.what << ": " << found.failure;
        EXPECT_EQ(file_name_of(found.line_path), c.paired_line) << c.what;
        EXPECT_EQ(file_name_of(found.train_path), c.paired_train) << c.what;
        EXPECT_EQ(found.names.name, c.name) << c.what;
    }
}

// In a folder named in letters beyond ASCII (C:\Users\Nicolò on Windows,
// where the system's own code page is not UTF-8) the partner is found too.
TEST(ScenarioNames, APartnerIsFoundInAFolderNamedBeyondAscii) {
    TempDir dir;
    std::filesystem::create_directory(dir.path() / std::filesystem::path(u8"Nicolò"));
    const std::string folder = join_path(dir.path().string(), "Nicolò");
    replace_file(join_path(folder, "Valle_linea.txt"), "");
    replace_file(join_path(folder, "Valle_88-.txt"), "");
    const ScenarioLookup found = look_up_scenario({folder, "Valle_linea.txt", "", {}, {}});
    ASSERT_TRUE(found.usable()) << found.failure;
    EXPECT_EQ(file_name_of(found.train_path), "Valle_88-.txt");
    EXPECT_EQ(regular_files_in(folder), (std::vector<std::string>{"Valle_88-.txt", "Valle_linea.txt"}));
}

#ifdef _WIN32
TEST(ScenarioNames, AbsolutePathsWithADriveInScenarioJson) {
    TempDir dir;
    make(dir, {{"sub/", ""}, {"sub/Valle_linea.txt", ""}, {"sub/Valle_88-.txt", ""}});
    std::string absolute = dir.file("sub");  // C:\...\sub, with backslashes
    std::string escaped;
    for (const char c : absolute) escaped += c == '\\' ? std::string("\\\\") : std::string(1, c);
    spit(dir.file("scenario.json"),
         "{\"line\": \"" + escaped + "\\\\Valle_linea.txt\", \"train\": \"" + escaped + "/Valle_88-.txt\"}");
    const ScenarioLookup found = look_up_scenario({dir.path().string(), "", "", {}, {}});
    ASSERT_TRUE(found.usable()) << (found.project && !found.project->faults.empty() ? found.project->faults[0].message
                                                                                    : found.failure);
    EXPECT_TRUE(same_file(found.line_path, dir.file("sub\\Valle_linea.txt")));
    EXPECT_EQ(found.names.name, "Valle");
}
#endif

TEST(ProjectFile, EachFaultStandsAtItsLineAndColumn) {
    struct Case {
        const char* what;
        std::string text;
        int line, column, end_column;
        std::string message;
    };
    const Case cases[] = {
        {"not JSON", "{\n  \"line\": \"a_linea.txt\",\n  \"train\" \"b.txt\"\n}\n", 3, 11, 18,
         "not valid JSON: syntax error"},
        {"not JSON at the end", "{\n  \"line\": \"a_linea.txt\",\n", 3, 1, 2, "not valid JSON"},
        {"an unknown member, the nearest suggested", "{\n  \"line\": \"a_linea.txt\",\n  \"trian\": \"b.txt\"\n}\n", 3,
         3, 10, "unknown member \"trian\"; did you mean \"train\"?"},
        {"an unknown member far from any", "{\"colour\": 1}", 1, 2, 10,
         "a project file holds line, train, name, number and output"},
        {"a file that does not exist", "{\"line\": \"a_linea.txt\",\n \"train\": \"gone.txt\"}", 2, 11, 21,
         "gone.txt does not exist"},
        {"not an object", "  [\"a_linea.txt\"]", 1, 3, 4, "one JSON object"},
        {"a value of the wrong kind", "{\"name\": [\"A\"]}", 1, 10, 15, "\"name\" must be a name in quotes"},
        {"a name that is not a file name", "{\"name\": \"a/b\"}", 1, 10, 15,
         "must not be empty, nor hold a path separator"},
        {"a member given twice", "{\"name\": \"A\", \"name\": \"B\"}", 1, 15, 21, "\"name\" is given twice"},
        {"an output folder that does not exist", "{\"output\": \"out\"}", 1, 12, 17, "cannot be used"},
        {"a line past a character of two bytes", "{\"name\": \"Città\",\n  \"nmae\": 1}", 2, 3, 9,
         "did you mean \"name\"?"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        make(dir, {{"a_linea.txt", ""}, {"scenario.json", c.text}});
        const std::optional<ProjectFile> project = read_project_file(dir.path().string());
        ASSERT_TRUE(project);
        ASSERT_EQ(project->faults.size(), 1U);
        const ProjectDiagnostic& fault = project->faults[0];
        EXPECT_EQ(fault.file, dir.file("scenario.json"));
        EXPECT_EQ(std::make_tuple(fault.line, fault.column, fault.end_column),
                  std::make_tuple(c.line, c.column, c.end_column));
        EXPECT_NE(fault.message.find(c.message), std::string::npos) << fault.message;
    }
}

TEST(ProjectFile, ReadsWhatItNamesAndATrainNumberWithoutQuotes) {
    TempDir dir;
    make(dir, {{"a_linea.txt", ""},
               {"scenario.json", "\xEF\xBB\xBF{\"line\": \"a_linea.txt\", \"number\": 4711, \"output\": \".\"}"}});
    const std::optional<ProjectFile> project = read_project_file(dir.path().string());
    ASSERT_TRUE(project);
    EXPECT_TRUE(project->faults.empty()) << project->faults[0].message;
    EXPECT_EQ(project->number, "4711");
    EXPECT_EQ(project->line_path(), dir.file("a_linea.txt"));
    EXPECT_EQ(project->train_path(), "");
    EXPECT_FALSE(read_project_file(dir.file("a_linea.txt")));  // no project file there
}

TEST(ProjectFile, AFaultIsPrintedWithItsLineAndACaret) {
    const ProjectDiagnostic fault{"p/scenario.json", 2, 3, 10, "unknown member \"trian\"; did you mean \"train\"?"};
    EXPECT_EQ(format_project_diagnostic(fault, "{\n  \"trian\": \"b.txt\"\n}\n"),
              "p/scenario.json:2:3: error: unknown member \"trian\"; did you mean \"train\"?\n"
              "    \"trian\": \"b.txt\"\n"
              "    ^~~~~~~\n");
}

TEST(CompiledScenarios, TheOneInAFolderIsFoundAndSeveralAreListed) {
    const Files compiled = {{"A_1.dat", ""},     {"A_1.sim", ""}, {"A_linea.dat", ""}, {"B_2.dat", ""}, {"B_2.sim", ""},
                            {"B_linea.dat", ""}, {"C_3.dat", ""}, {"C_3.sim", ""}};  // C has no grid
    TempDir dir;
    make(dir, compiled);
    const std::string folder = dir.path().string();
    const CompiledLookup several = look_up_compiled_scenario(folder, {}, {});
    EXPECT_NE(several.failure.find("holds several compiled scenarios: A_1, B_2; choose one"), std::string::npos)
        << several.failure;
    const CompiledLookup named = look_up_compiled_scenario(folder, std::string("B"), {});
    ASSERT_TRUE(named.usable()) << named.failure;
    EXPECT_EQ(std::make_pair(named.names.name, named.names.number), std::make_pair(std::string("B"), std::string("2")));
    // A project file names the scenario, and the folder it was written into.
    make(dir, {{"out/", ""},
               {"out/V_7.dat", ""},
               {"out/V_7.sim", ""},
               {"out/V_linea.dat", ""},
               {"scenario.json", R"({"output": "out"})"}});
    const CompiledLookup by_project = look_up_compiled_scenario(folder, {}, {});
    ASSERT_TRUE(by_project.usable()) << by_project.failure;
    EXPECT_EQ(by_project.folder, dir.file("out"));
    EXPECT_EQ(by_project.names.name + "_" + by_project.names.number, "V_7");
    TempDir empty;
    const CompiledLookup none = look_up_compiled_scenario(empty.path().string(), {}, {});
    EXPECT_TRUE(none.usable());
    EXPECT_TRUE(none.names.defaulted());
}

}  // namespace
}  // namespace scenariogen
