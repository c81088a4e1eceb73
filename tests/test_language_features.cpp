// The language server's features for a pair of descriptions, in process
// through its protocol: quick fixes, hover after a fault, navigation between
// the two files, renaming a station, the outline, semantic tokens, signature
// help and range formatting.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <map>
#include <regex>

#include "lsp/document_text.h"
#include "lsp/document_uri.h"
#include "lsp/language_server.h"
#include "pipeline/pipeline.h"
#include "test_support.h"
#include "text/windows_1252.h"

namespace scenariogen::lsp {
namespace {

using nlohmann::json;
using scenariogen::testing::TempDir;

std::string replaced(std::string text, const std::string& from, const std::string& to) {
    const auto at = text.find(from);
    EXPECT_NE(at, std::string::npos) << from;
    if (at != std::string::npos) text.replace(at, from.size(), to);
    return text;
}

// The 0-based line of the first line that starts with `prefix`.
int line_starting(const std::string& text, const std::string& prefix) {
    int line = 0;
    for (std::size_t at = 0; at < text.size(); ++line) {
        if (text.compare(at, prefix.size(), prefix) == 0) return line;
        const auto end = text.find('\n', at);
        if (end == std::string::npos) break;
        at = end + 1;
    }
    ADD_FAILURE() << "no line starts with " << prefix;
    return -1;
}

// Both descriptions of the run, as an editor holds them, opened in a server
// in process.
class Pair {
public:
    Pair(const std::string& line_text, const std::string& train_text)
        : line_(from_windows_1252(line_text)), train_(from_windows_1252(train_text)) {
        line_path_ = dir_.file("Valle_linea.txt");
        train_path_ = dir_.file("Valle_7-.txt");
        testing::spit(line_path_, line_text);
        testing::spit(train_path_, train_text);
        line_uri_ = path_to_uri(line_path_);
        train_uri_ = path_to_uri(train_path_);
        send({{"id", 0}, {"method", "initialize"}, {"params", {{"capabilities", json::object()}}}});
        open(line_uri_, line_);
        open(train_uri_, train_);
    }

    const std::string& line_uri() const { return line_uri_; }
    const std::string& train_uri() const { return train_uri_; }
    const std::string& text(const std::string& uri) const { return uri == line_uri_ ? line_ : train_; }

    json request(const std::string& method, json params) {
        const int id = ++id_;
        send({{"id", id}, {"method", method}, {"params", std::move(params)}});
        for (const json& m : sent_) {
            if (m.contains("id") && m["id"] == id) {
                EXPECT_FALSE(m.contains("error")) << m.dump();
                return m.value("result", json());
            }
        }
        ADD_FAILURE() << "no answer to " << method;
        return nullptr;
    }

    // The whole response, error or result.
    json request_raw(const std::string& method, json params) {
        const int id = ++id_;
        send({{"id", id}, {"method", method}, {"params", std::move(params)}});
        for (const json& m : sent_) {
            if (m.contains("id") && m["id"] == id) return m;
        }
        return nullptr;
    }

    json at(const std::string& uri, int line, int character) {
        return {{"textDocument", {{"uri", uri}}}, {"position", {{"line", line}, {"character", character}}}};
    }

    // The diagnostics last published for `uri`.
    json diagnostics(const std::string& uri) {
        server_.publish_diagnostics();
        json latest = json::array();
        for (const json& m : sent_) {
            if (m.value("method", "") == "textDocument/publishDiagnostics" && m["params"]["uri"] == uri) {
                latest = m["params"]["diagnostics"];
            }
        }
        return latest;
    }

    json code_actions(const std::string& uri, int line) {
        return request(
            "textDocument/codeAction",
            {{"textDocument", {{"uri", uri}}},
             {"range", {{"start", {{"line", line}, {"character", 0}}}, {"end", {{"line", line}, {"character", 0}}}}},
             {"context", {{"diagnostics", json::array()}}}});
    }

    // Makes the edits of a workspace edit in the open documents, as a
    // client does, and tells the server.
    void apply(const json& edit) {
        for (const auto& [uri, edits] : edit.at("changes").items()) {
            std::string& text = uri == line_uri_ ? line_ : train_;
            DocumentText document(text);
            std::vector<json> sorted(edits.begin(), edits.end());
            std::sort(sorted.begin(), sorted.end(), [](const json& a, const json& b) {
                const auto key = [](const json& e) {
                    return std::pair{e["range"]["start"]["line"].get<int>(),
                                     e["range"]["start"]["character"].get<int>()};
                };
                return key(a) > key(b);
            });
            for (const json& e : sorted) {
                const json& r = e["range"];
                document.replace(
                    {{r["start"]["line"], r["start"]["character"]}, {r["end"]["line"], r["end"]["character"]}},
                    e["newText"].get<std::string>());
            }
            text = document.utf8();
            send({{"method", "textDocument/didChange"},
                  {"params",
                   {{"textDocument", {{"uri", uri}, {"version", ++version_}}},
                    {"contentChanges", json::array({{{"text", text}}})}}}});
        }
    }

    // The compilation of the pair as the editor holds it.
    PipelineOutcome compiled() const {
        PipelineInput input;
        input.line = line_;
        input.train = train_;
        input.line_source = input.train_source = TextSource::kEditor;
        input.build_grid = false;
        return run_pipeline(input);
    }

private:
    void send(json message) {
        message["jsonrpc"] = "2.0";
        server_.handle(message.dump());
    }
    void open(const std::string& uri, const std::string& text) {
        send({{"method", "textDocument/didOpen"},
              {"params",
               {{"textDocument", {{"uri", uri}, {"languageId", "scenariogen"}, {"version", 1}, {"text", text}}}}}});
    }

    TempDir dir_;
    std::string line_, train_, line_path_, train_path_, line_uri_, train_uri_;
    std::vector<json> sent_;
    LanguageServer server_{"test", [this](const json& m) { sent_.push_back(m); }};
    int id_ = 0;
    int version_ = 1;
};

std::string line_of(const std::string& text, int line) {
    std::size_t at = 0;
    for (int i = 0; i < line; ++i) at = text.find('\n', at) + 1;
    return text.substr(at, text.find_first_of("\r\n", at) - at);
}

bool names(const json& diagnostics, int line, const std::string& name) {
    return std::any_of(diagnostics.begin(), diagnostics.end(), [&](const json& d) {
        return d["range"]["start"]["line"] == line && d.value("data", json::object()).value("name", "") == name;
    });
}

TEST(CodeActions, EachFaultWithOneObviousFixIsFixedByItsPreferredAction) {
    const std::string line = testing::own_line_text();
    const std::string train = testing::own_train_text();
    const struct {
        const char* name;
        bool in_train;
        std::string from, to;  // the line as faulty, and as the fix leaves it
        const char* diagnostic;
    } cases[] = {
        {"a misspelt keyword", false, "pendenza,  14100,  -6", "pendenzza,  14100,  -6", "unknown-keyword"},
        {"a keyword in the wrong letter case", false, "sfondo uno,  1", "Sfondo uno,  1", "keyword-case"},
        {"a missing comma after the keyword", false, "pendenza,  16100,  0", "pendenza  16100,  0", "contains-keyword"},
        {"semicolons for commas", true, "aderenza,  0,  100", "aderenza;  0;  100", "contains-keyword"},
        {"a blank for a comma between values", false, "pendenza,  16100,  0", "pendenza,  16100  0", "blank-separated"},
        {"a dash in the keyword", false, "cartello_indicatore,  650,", "cartello-indicatore,  650,", "dash-in-keyword"},
        {"a misspelt header", false, "[pendenze]", "[pendenz]", "unknown-header"},
        {"a station off the 50 m grid", true, "stazione,  5300,", "stazione,  5310,", "not-multiple"},
        {"a signal off the 50 m grid, in the cell it takes", true, "segnale,  3200,", "segnale,  3180,", "unaligned"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Pair pair(c.in_train ? line : replaced(line, c.from, c.to), c.in_train ? replaced(train, c.from, c.to) : train);
        const std::string& uri = c.in_train ? pair.train_uri() : pair.line_uri();
        const int at = line_starting(pair.text(uri), c.to);
        ASSERT_TRUE(names(pair.diagnostics(uri), at, c.diagnostic)) << pair.diagnostics(uri).dump();
        const json actions = pair.code_actions(uri, at);
        const auto preferred =
            std::find_if(actions.begin(), actions.end(), [](const json& a) { return a.value("isPreferred", false); });
        ASSERT_NE(preferred, actions.end()) << actions.dump();
        EXPECT_EQ((*preferred)["kind"], "quickfix");
        EXPECT_EQ((*preferred)["diagnostics"][0]["data"]["name"], c.diagnostic);
        pair.apply((*preferred)["edit"]);
        EXPECT_EQ(line_of(pair.text(uri), at).substr(0, c.from.size()), c.from);
        EXPECT_FALSE(names(pair.diagnostics(uri), at, c.diagnostic)) << pair.diagnostics(uri).dump();
    }
}

TEST(CodeActions, NoFixWhereTheRoundedValueWouldMeetAnotherFault) {
    // Rounded to 300 m, the station would stand too near the first one.
    const std::string train = replaced(testing::own_train_text(), "stazione,  5300,  12,", "stazione,  310,  12,");
    Pair pair(testing::own_line_text(), train);
    const int at = line_starting(pair.text(pair.train_uri()), "stazione,  310,");
    ASSERT_TRUE(names(pair.diagnostics(pair.train_uri()), at, "not-multiple"));
    EXPECT_EQ(pair.code_actions(pair.train_uri(), at), json::array());
}

TEST(CodeActions, AKeywordOfTheOtherFileMovesThere) {
    const std::string signal = "segnale,  3200,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0";
    const std::string line = replaced(testing::own_line_text(), "[pendenze]\r\n",
                                      "[pendenze]\r\nsegnale,  7000,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0\r\n");
    Pair pair(line, testing::own_train_text());
    const int at = line_starting(pair.text(pair.line_uri()), "segnale,  7000");
    ASSERT_TRUE(names(pair.diagnostics(pair.line_uri()), at, "wrong-file"));
    const json actions = pair.code_actions(pair.line_uri(), at);
    ASSERT_EQ(actions.size(), 1u) << actions.dump();
    EXPECT_FALSE(actions[0].value("isPreferred", false)) << "it changes both files";
    pair.apply(actions[0]["edit"]);
    EXPECT_EQ(pair.text(pair.line_uri()), from_windows_1252(testing::own_line_text()));
    // After the other signals, so that they stay in order of position.
    const int moved = line_starting(pair.text(pair.train_uri()), "segnale,  7000");
    EXPECT_EQ(line_of(pair.text(pair.train_uri()), moved - 1).substr(0, 15), "segnale,  43000");
    EXPECT_EQ(pair.diagnostics(pair.line_uri()), json::array());
}

TEST(CodeActions, AllOfOneKindInTheFileAtOnce) {
    std::string line = testing::own_line_text();
    for (const char* position : {"14100", "16100", "20600"}) {
        line = replaced(line, std::string("pendenza,  ") + position, std::string("pendenzza,  ") + position);
    }
    line = replaced(line, "[pendenze]", "[pendenz]");
    Pair pair(line, testing::own_train_text());
    const json actions = pair.code_actions(pair.line_uri(), line_starting(pair.text(pair.line_uri()), "pendenzza"));
    const auto all = std::find_if(actions.begin(), actions.end(), [](const json& a) {
        return a["title"].get<std::string>().find("Fix all 3") != std::string::npos;
    });
    ASSERT_NE(all, actions.end()) << actions.dump();
    pair.apply((*all)["edit"]);
    EXPECT_EQ(pair.text(pair.line_uri()),
              from_windows_1252(replaced(testing::own_line_text(), "[pendenze]", "[pendenz]")));
    // Where the client asks for every safe fix.
    const json fix_all =
        pair.request("textDocument/codeAction",
                     {{"textDocument", {{"uri", pair.line_uri()}}},
                      {"range", {{"start", {{"line", 0}, {"character", 0}}}, {"end", {{"line", 0}, {"character", 0}}}}},
                      {"context", {{"diagnostics", json::array()}, {"only", {"source.fixAll"}}}}});
    ASSERT_EQ(fix_all.size(), 1u) << fix_all.dump();
    pair.apply(fix_all[0]["edit"]);
    EXPECT_EQ(pair.text(pair.line_uri()), from_windows_1252(testing::own_line_text()));
}

TEST(Hover, FiguresAfterAFaultThatStoppedTheReadingSaySo) {
    // The second station off the grid stops the compiler's reading at line
    // 17 of the train description.
    const std::string train = replaced(testing::own_train_text(), "stazione,  5300,", "stazione,  5310,");
    Pair pair(testing::own_line_text(), train);
    const auto hover_text = [&](const std::string& uri, const std::string& prefix) {
        const json hover = pair.request("textDocument/hover", pair.at(uri, line_starting(pair.text(uri), prefix), 0));
        return hover["contents"]["value"].get<std::string>();
    };
    const std::string stop = "the compilation stopped at line 17 of the train description (error 8)";
    for (const auto& [uri, prefix] :
         {std::pair{pair.line_uri(), "pendenza,  14100"}, std::pair{pair.train_uri(), "velocita,  700"}}) {
        const std::string before = hover_text(uri, prefix);
        EXPECT_NE(before.find("speed 140 km/h"), std::string::npos) << before;
        EXPECT_NE(before.find("The figures count only what was read: " + stop), std::string::npos) << before;
    }
    const std::string after = hover_text(pair.train_uri(), "segnale,  3200");
    EXPECT_NE(after.find(stop + " before this line, so it has no figures"), std::string::npos) << after;
    EXPECT_EQ(after.find("speed"), std::string::npos) << after;
}

// The run's pair with LUVERA named on the sign board at 4900 m, and where
// asked a signal in the cell of the sign board at 550 m.
Pair navigation_pair(bool clash = true) {
    const std::string line = replaced(testing::own_line_text(), "(   P.L.  )(km 4+919)", "(Stazione di)(LUVERA)");
    const std::string signal = "segnale,  550,  1,  4,  1,  0,  0,  0,  0,  0,  0,  0\r\n";
    const std::string train =
        replaced(testing::own_train_text(), "segnale,  3200,", (clash ? signal : std::string()) + "segnale,  3200,");
    return Pair(line, train);
}

std::vector<std::pair<std::string, int>> places(const json& locations) {
    std::vector<std::pair<std::string, int>> out;
    for (const json& l : locations) out.emplace_back(l["uri"], l["range"]["start"]["line"]);
    return out;
}

TEST(Navigation, FromAnObjectToTheObjectOfTheOtherFileItClashesWith) {
    Pair pair = navigation_pair();
    const int signal = line_starting(pair.text(pair.train_uri()), "segnale,  550,");
    const int board = line_starting(pair.text(pair.line_uri()), "cartello_indicatore,  550,");
    const json definition = pair.request("textDocument/definition", pair.at(pair.train_uri(), signal, 2));
    const auto found = places(definition);
    EXPECT_NE(std::find(found.begin(), found.end(), std::pair{pair.line_uri(), board}), found.end())
        << definition.dump();
    // And back: the board's references are the lines whose faults name it.
    json params = pair.at(pair.line_uri(), board, 2);
    params["context"] = {{"includeDeclaration", true}};
    EXPECT_EQ(places(pair.request("textDocument/references", params)),
              (std::vector<std::pair<std::string, int>>{{pair.train_uri(), signal}}));
}

TEST(Navigation, AStationsNameWhereverItIsWritten) {
    Pair pair = navigation_pair();
    const int station = line_starting(pair.text(pair.train_uri()), "stazione,  5300,");
    const int sign = line_starting(pair.text(pair.line_uri()), "cartello_indicatore,  4900,");
    const int name_column = static_cast<int>(line_of(pair.text(pair.train_uri()), station).find("LUVERA"));
    const int sign_column = static_cast<int>(line_of(pair.text(pair.line_uri()), sign).find("LUVERA"));
    // From the sign text to the station line.
    const json definition = pair.request("textDocument/definition", pair.at(pair.line_uri(), sign, sign_column + 2));
    ASSERT_EQ(definition.size(), 1u) << definition.dump();
    EXPECT_EQ(definition[0]["uri"], pair.train_uri());
    EXPECT_EQ(definition[0]["range"],
              json::parse(R"({"start":{"line":)" + std::to_string(station) + R"(,"character":)" +
                          std::to_string(name_column) + R"(},"end":{"line":)" + std::to_string(station) +
                          R"(,"character":)" + std::to_string(name_column + 6) + "}}"));
    json params = pair.at(pair.train_uri(), station, name_column);
    params["context"] = {{"includeDeclaration", false}};
    EXPECT_EQ(places(pair.request("textDocument/references", params)),
              (std::vector<std::pair<std::string, int>>{{pair.line_uri(), sign}}));
    const json highlight = pair.request("textDocument/documentHighlight", pair.at(pair.line_uri(), sign, sign_column));
    ASSERT_EQ(highlight.size(), 1u);
    EXPECT_EQ(highlight[0]["range"]["start"]["character"], sign_column);
    EXPECT_EQ(pair.request("textDocument/prepareRename", pair.at(pair.line_uri(), sign, sign_column))["placeholder"],
              "LUVERA");
    EXPECT_TRUE(pair.request("textDocument/prepareRename", pair.at(pair.line_uri(), sign, 0)).is_null());
    // The station's symbol is found from either file.
    json symbols = pair.request("workspace/symbol", {{"query", "luvera"}});
    for (json& symbol : symbols) symbol = symbol["location"];
    auto found = places(symbols);
    std::sort(found.begin(), found.end());
    EXPECT_EQ(found, (std::vector<std::pair<std::string, int>>{{pair.train_uri(), station}, {pair.line_uri(), sign}}))
        << symbols.dump();
}

TEST(Navigation, RenameAStationEverywhereAndThePairStillCompiles) {
    Pair pair = navigation_pair(false);
    const int station = line_starting(pair.text(pair.train_uri()), "stazione,  5300,");
    const int column = static_cast<int>(line_of(pair.text(pair.train_uri()), station).find("LUVERA"));
    json params = pair.at(pair.train_uri(), station, column);
    params["newName"] = "LUVERA CENTRALE";
    pair.apply(pair.request("textDocument/rename", params));
    EXPECT_NE(pair.text(pair.line_uri()).find("(Stazione di)(LUVERA CENTRALE)"), std::string::npos);
    EXPECT_NE(pair.text(pair.train_uri()).find(",   LUVERA CENTRALE\r\n"), std::string::npos);
    EXPECT_EQ(pair.text(pair.train_uri()).find("LUVERA\r"), std::string::npos);
    const PipelineOutcome outcome = pair.compiled();
    ASSERT_TRUE(outcome.result);
    EXPECT_EQ(outcome.error_count(), 0u);
    const auto& table = outcome.result->stations;
    EXPECT_EQ(std::count_if(table.begin(), table.end(),
                            [](const StationEntry& e) { return e.name.find("LUVERA CENTRALE") != std::string::npos; }),
              2)
        << "the station and the sign text";
}

TEST(Navigation, ANameTheReaderWouldNotReadBackIsRefused) {
    Pair pair = navigation_pair();
    const int station = line_starting(pair.text(pair.train_uri()), "stazione,  5300,");
    const int column = static_cast<int>(line_of(pair.text(pair.train_uri()), station).find("LUVERA"));
    for (const char* name : {"", "A,B", "A\nB", " A", "\"A\"", "\xc5\x90"}) {
        SCOPED_TRACE(name);
        json params = pair.at(pair.train_uri(), station, column);
        params["newName"] = name;
        const json result = pair.request_raw("textDocument/rename", params);
        EXPECT_EQ(result["error"]["code"], -32602) << result.dump();
    }
}

TEST(Outline, TheLineFilesObjectsWithTheirKm) {
    Pair pair(testing::own_line_text(), testing::own_train_text());
    const json symbols = pair.request("textDocument/documentSymbol", {{"textDocument", {{"uri", pair.line_uri()}}}});
    std::map<int, std::vector<std::string>> by_kind;
    for (const json& section : symbols) {
        for (const json& child : section.value("children", json::array())) {
            by_kind[child["kind"].get<int>()].push_back(child["name"].get<std::string>() + " | " +
                                                        child.value("detail", ""));
        }
    }
    const struct {
        int kind;
        const char* first;
    } expected[] = {
        {12, "curvad4 km 0+650 | 1000 m"},
        {16, "pendenza km 0+000 | 0 \u2030"},
        {14, "indicatori_vmax km 0+700 | 130 / 140 / 140 km/h"},
        {15, "(Diramazione per)(    GORVENTA) | cartello_indicatore km 0+550"},
    };
    for (const auto& e : expected) {
        ASSERT_FALSE(by_kind[e.kind].empty()) << e.kind;
        EXPECT_EQ(by_kind[e.kind].front(), e.first);
    }
    EXPECT_EQ(by_kind[12].size(), 20u) << "every curve line";
}

// The tokens of a document as (line, character, length, type) from the
// protocol's relative encoding.
std::vector<std::array<int, 4>> decoded(const json& tokens) {
    std::vector<std::array<int, 4>> out;
    const std::vector<int> data = tokens["data"];
    int line = 0;
    int start = 0;
    for (std::size_t i = 0; i + 5 <= data.size(); i += 5) {
        start = data[i] == 0 ? start + data[i + 1] : data[i + 1];
        line += data[i];
        out.push_back({line, start, data[i + 2], data[i + 3]});
    }
    return out;
}

TEST(SemanticTokens, ColourWhatTheReaderDoesWithEachField) {
    // keyword, number, string, comment, namespace, as the legend lists them
    const struct {
        std::string line;
        std::vector<std::pair<std::string, int>> fields;  // each coloured field and its type
    } cases[] = {
        {"pendenza,  100,  -6", {{"pendenza", 0}, {"100", 1}, {"-6", 1}}},
        {"cartello_indicatore,  700,  (a)(b)", {{"cartello_indicatore", 0}, {"700", 1}, {"(a)(b)", 2}}},
        {"----- pendenza,  100,  1", {{"----- pendenza", 3}, {"100", 3}, {"1", 3}}},
        {"REM pendenza 100", {{"REM pendenza 100", 0}}},
        {"[curve]", {{"[curve]", 4}}},
        {"[pendenze], 5", {{"[pendenze]", 4}, {"5", 3}}},
        {"pendenza,  100,  1,  7", {{"pendenza", 0}, {"100", 1}, {"1", 1}, {"7", 3}}},
        {"Pendenza,  100,  1", {{"Pendenza", 0}, {"100", 1}, {"1", 1}}},
        {"segnale,  100,  1", {{"segnale", 3}, {"100", 3}, {"1", 3}}},
        {"sfondo uno,  1", {{"sfondo uno", 3}, {"1", 3}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        const std::string line =
            testing::crlf({"lunghezza, 1", "[generale]", "lunghezza percorso,  1000", "[curve]", c.line, "[fine]"});
        Pair pair(line, testing::empty_train());
        const json tokens =
            pair.request("textDocument/semanticTokens/full", {{"textDocument", {{"uri", pair.line_uri()}}}});
        std::vector<std::pair<std::string, int>> seen;
        for (const auto& [l, character, length, type] : decoded(tokens)) {
            if (l == 4)
                seen.emplace_back(c.line.substr(static_cast<std::size_t>(character), static_cast<std::size_t>(length)),
                                  type);
            if (l == 0) {
                EXPECT_EQ(type, 3) << "before [generale] the reader reads nothing";
            }
        }
        EXPECT_EQ(seen, c.fields);
    }
}

std::u16string utf16(const std::string& utf8) {
    std::u16string out;
    for (std::size_t i = 0; i < utf8.size();) {
        const auto b = static_cast<unsigned char>(utf8[i]);
        const std::size_t n = b < 0x80 ? 1 : b < 0xE0 ? 2 : 3;
        char32_t c = n == 1 ? b : n == 2 ? (b & 0x1Fu) : (b & 0x0Fu);
        for (std::size_t k = 1; k < n; ++k) c = (c << 6) | (static_cast<unsigned char>(utf8[i + k]) & 0x3Fu);
        out.push_back(static_cast<char16_t>(c));
        i += n;
    }
    return out;
}

TEST(SignatureHelp, TheValueUnderTheCursorWithItsUnit) {
    const std::string line = testing::crlf(
        {"[generale]", "lunghezza percorso,  1000", "[curve]", "pendenza,  100,  -6", "pendenza,  ", "[fine]"});
    Pair pair(line, testing::empty_train());
    const struct {
        int line, character, active;
    } cases[] = {{3, 2, 0}, {3, 11, 0}, {3, 14, 0}, {3, 15, 1}, {3, 18, 1}, {4, 11, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(std::to_string(c.line) + ":" + std::to_string(c.character));
        const json help = pair.request("textDocument/signatureHelp", pair.at(pair.line_uri(), c.line, c.character));
        ASSERT_TRUE(help.is_object()) << help.dump();
        EXPECT_EQ(help["activeParameter"], c.active);
        const json& signature = help["signatures"][0];
        // The label's offsets count UTF-16 units; the label holds no character past the first plane.
        const std::u16string label = utf16(signature["label"]);
        const json& parameter = signature["parameters"][static_cast<std::size_t>(c.active)]["label"];
        const std::u16string name = label.substr(parameter[0].get<std::size_t>(),
                                                 parameter[1].get<std::size_t>() - parameter[0].get<std::size_t>());
        EXPECT_TRUE(name == (c.active == 0 ? u"position (m)" : u"gradient (\u2030)"));
    }
    EXPECT_TRUE(pair.request("textDocument/signatureHelp", pair.at(pair.line_uri(), 2, 1)).is_null());
}

TEST(RangeFormatting, TheLinesAskedForAsTheWholeFormattingSetsThem) {
    const std::string line = testing::crlf({"[generale]", "lunghezza percorso,  46000", "[pendenze]", "pendenza,0,0",
                                            "pendenza,14100,-6", "pendenza,  16100,  0", "[fine]"});
    Pair pair(line, testing::empty_train());
    const json whole = pair.request("textDocument/formatting",
                                    {{"textDocument", {{"uri", pair.line_uri()}}}, {"options", json::object()}});
    const json part =
        pair.request("textDocument/rangeFormatting",
                     {{"textDocument", {{"uri", pair.line_uri()}}},
                      {"range", {{"start", {{"line", 4}, {"character", 0}}}, {"end", {{"line", 4}, {"character", 3}}}}},
                      {"options", json::object()}});
    json expected = json::array();
    for (const json& edit : whole) {
        if (edit["range"]["start"]["line"] == 4) expected.push_back(edit);
    }
    EXPECT_FALSE(expected.empty());
    EXPECT_EQ(part, expected);
}

}  // namespace
}  // namespace scenariogen::lsp
