// Every way an author looks at a pair of descriptions gives the same
// diagnostics, in the same order, at the same places: `compile` and `check`
// on the command line (the program itself, its output read back, as text
// and as JSON), the preview's page and the language server. Each is asked
// about the same texts: a table of mistakes, the corpus of the pipeline's
// fuzz target, and the descriptions that compile clean.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <regex>
#include <sstream>

#include "lint_fixtures.h"
#include "lsp/document_uri.h"
#include "lsp/language_server.h"
#include "preview/preview_compilation.h"
#include "text/description_encoding.h"
#include "text/windows_1252.h"

namespace scenariogen::testing {
namespace {

// What every front end must agree on, for each diagnostic (notes aside).
struct Seen {
    std::string file;  // "line", "train" or "" for no file
    int line = 0;
    int column = 0;
    std::string severity;
    int number = 0;
    std::string name;

    bool operator==(const Seen&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Seen& s) {
    return out << s.file << ":" << s.line << ":" << s.column << " " << s.severity << " " << s.number << " [" << s.name
               << "]";
}

struct NamedPair {
    TempDir dir;
    std::string line_path = dir.file("Coppia_linea.txt");
    std::string train_path = dir.file("Coppia_1-.txt");

    NamedPair(const std::string& line, const std::string& train) {
        spit(line_path, line);
        spit(train_path, train);
    }
};

// The diagnostics a command prints: "FILE:LINE:COLUMN: error N: sentence [name]" and the like.
std::vector<Seen> printed(const std::string& err, const NamedPair& pair) {
    static const std::regex kDiagnostic(
        R"(^(.*?)(?::(\d+):(\d+))?: (error|warning)(?: (\d+))?: .*?(?: \[([a-z0-9-]+)\])?$)");
    std::vector<Seen> seen;
    std::istringstream lines(err);
    for (std::string text; std::getline(lines, text);) {
        std::smatch m;
        if (!std::regex_match(text, m, kDiagnostic)) continue;
        const std::string file = m[1] == pair.line_path ? "line" : m[1] == pair.train_path ? "train" : "";
        if (file.empty() && m[1] != "") continue;  // the command's own closing line
        seen.push_back({file, m[2].matched ? std::stoi(m[2]) : 0, m[3].matched ? std::stoi(m[3]) : 0, m[4],
                        m[5].matched ? std::stoi(m[5]) : 0, m[6]});
    }
    return seen;
}

std::vector<Seen> by_command(const std::string& command, const NamedPair& pair) {
    const Outcome outcome = run_program(command + " " + pair.line_path + " " + pair.train_path + " -fmax-errors=0" +
                                        (command == "compile" ? " -o " + pair.dir.path().string() : ""));
    std::vector<Seen> seen = printed(outcome.err, pair);
    // The timetable's warnings come on top of the descriptions' in `check`.
    std::erase_if(seen, [](const Seen& s) { return s.name == "timetable"; });
    return seen;
}

// The same diagnostics as JSON, one object a line (--diagnostics-format=json).
std::vector<Seen> by_json_lines(const NamedPair& pair) {
    const Outcome outcome = run_program("compile " + pair.line_path + " " + pair.train_path +
                                        " -fmax-errors=0 --diagnostics-format=json -o " + pair.dir.path().string());
    std::vector<Seen> seen;
    std::istringstream lines(outcome.err);
    for (std::string text; std::getline(lines, text);) {
        if (text.empty() || text.front() != '{') continue;  // the command's own closing line
        const nlohmann::json d = nlohmann::json::parse(text);
        const std::string path = d["file"].get<std::string>();
        const std::string file = path == pair.line_path ? "line" : path == pair.train_path ? "train" : "";
        const bool placed = d.contains("range");
        seen.push_back({file, placed ? d["range"]["start"]["line"].get<int>() : 0,
                        placed ? d["range"]["start"]["column"].get<int>() : 0, d["severity"],
                        d["number"].is_null() ? 0 : d["number"].get<int>(),
                        d["name"].is_null() ? std::string() : d["name"].get<std::string>()});
    }
    return seen;
}

std::vector<Seen> by_preview(const NamedPair& pair) {
    const PreviewCompilation c = compile_for_preview({pair.line_path, pair.train_path, "Coppia", "1"});
    std::vector<Seen> seen;
    for (const PreviewFault& f : c.faults) {
        if (f.severity == "note") continue;
        const std::string file = f.file == pair.line_path ? "line" : f.file == pair.train_path ? "train" : "";
        seen.push_back({file, f.line, f.column, f.severity, f.number, f.name});
    }
    return seen;
}

// A description's bytes as an editor shows them, in UTF-8: a UTF-8 file as
// it is (without a byte-order mark), any other as Windows-1252; none for a
// file an editor would decode otherwise (UTF-16, broken UTF-8).
std::optional<std::string> editor_text(const std::string& raw) {
    const DecodedDescription decoded = decode_description(raw);
    switch (decoded.found) {
        case TextEncoding::kWindows1252:
            return from_windows_1252(raw);
        case TextEncoding::kUtf8:
        case TextEncoding::kUtf8WithBom:
            if (std::any_of(decoded.refusals.begin(), decoded.refusals.end(),
                            [](const EncodingProblem& p) { return p.malformed; })) {
                return std::nullopt;
            }
            return decoded.found == TextEncoding::kUtf8 ? raw : raw.substr(3);
        default:
            return std::nullopt;
    }
}

// The language server in process, with both descriptions open as an editor
// holds them.
std::vector<Seen> by_language_server(const NamedPair& pair, const std::string& line_utf8,
                                     const std::string& train_utf8) {
    std::vector<nlohmann::json> sent;
    lsp::LanguageServer server("test", [&](const nlohmann::json& message) { sent.push_back(message); });
    const auto send = [&](nlohmann::json message) {
        message["jsonrpc"] = "2.0";
        server.handle(message.dump());
    };
    send({{"id", 1}, {"method", "initialize"}, {"params", {{"capabilities", nlohmann::json::object()}}}});
    const std::string line_uri = lsp::path_to_uri(pair.line_path);
    const std::string train_uri = lsp::path_to_uri(pair.train_path);
    for (const auto& [uri, text] : {std::pair{line_uri, line_utf8}, std::pair{train_uri, train_utf8}}) {
        send({{"method", "textDocument/didOpen"},
              {"params",
               {{"textDocument", {{"uri", uri}, {"languageId", "scenariogen"}, {"version", 1}, {"text", text}}}}}});
    }
    server.publish_diagnostics();
    std::map<std::string, nlohmann::json> latest;
    for (const nlohmann::json& m : sent) {
        if (m.value("method", "") == "textDocument/publishDiagnostics")
            latest[m["params"]["uri"]] = m["params"]["diagnostics"];
    }
    std::vector<Seen> seen;
    for (const auto& [uri, file] : {std::pair{line_uri, "line"}, std::pair{train_uri, "train"}}) {
        for (const nlohmann::json& d : latest[uri]) {
            const nlohmann::json& start = d["range"]["start"];
            const nlohmann::json data = d.value("data", nlohmann::json::object());
            const bool whole = data.value("wholeFile", false);
            seen.push_back({file, whole ? 0 : start["line"].get<int>() + 1,
                            whole ? 0 : start["character"].get<int>() + 1, d["severity"] == 1 ? "error" : "warning",
                            data.value("number", 0), data.value("name", "")});
        }
    }
    return seen;
}

// The command line and the preview list a file's diagnostics in file order;
// the language server, per document. Compared per file, in order.
std::vector<Seen> sorted_by_file(std::vector<Seen> seen) {
    std::stable_sort(seen.begin(), seen.end(), [](const Seen& a, const Seen& b) { return a.file < b.file; });
    return seen;
}

void expect_agreement(const std::string& what, const std::string& line, const std::string& train) {
    SCOPED_TRACE(what);
    const NamedPair pair(line, train);
    const std::vector<Seen> compiled = by_command("compile", pair);
    EXPECT_EQ(by_command("check", pair), compiled) << "check";
    EXPECT_EQ(by_json_lines(pair), compiled) << "compile --diagnostics-format=json";
    EXPECT_EQ(by_preview(pair), compiled) << "the preview";
    const std::optional<std::string> line_utf8 = editor_text(line);
    const std::optional<std::string> train_utf8 = editor_text(train);
    if (!line_utf8 || !train_utf8) return;  // an editor would not show these bytes as they are
    EXPECT_EQ(sorted_by_file(by_language_server(pair, *line_utf8, *train_utf8)), sorted_by_file(compiled))
        << "the language server";
}

TEST(FrontEnds, TheSameMistakesGetTheSameDiagnosticsEverywhere) {
    struct Case {
        const char* what;
        Edits line;
        Edits train;
    };
    const std::vector<Case> cases{
        {"clean", {}, {}},
        {"a misspelt keyword", {{15, "pendneza,  3000,  8"}}, {}},
        {"a gradient the cells cannot hold", {{15, "pendenza,  3000,  180"}}, {}},
        {"a value missing, the next line's keyword taken for it", {{15, "pendenza,  3000"}}, {}},
        {"a value missing at the end of the file", {{24, "pendenza,  9000"}}, {}},
        {"a route longer than the format allows", {{2, "lunghezza percorso,  1000001"}}, {}},
        {"no [generale]", {{1, "[generali]"}}, {}},
        {"no route length", {{2, kDeleted}}, {}},
        {"a progressive off the 50 m grid", {{4, "progressiva chilometrica due,  0,  49630,  1"}}, {}},
        {"a sign beyond the cells", {{23, "cartello_indicatore,  16950,     (x)"}}, {}},
        {"a curve class 7", {{12, "curvas7,  6000,  300"}}, {}},
        {"a sign on the speed board", {{23, "cartello_indicatore,  600,     (x)"}}, {}},
        {"a station off the 50 m grid", {}, {{13, rocca({{0, "9510"}})}}},
        {"a station length off the 100 m grid", {}, {{13, rocca({{2, "650"}})}}},
        {"a number that is not one", {}, {{4, "sabbia,    2x0"}}},
        {"a sand value beyond 16 bits", {}, {{4, "sabbia,    40000"}}},
        {"a speed beyond the format", {}, {{10, "velocita,  6000,  2000"}}},
        {"a signal on a signal", {}, {{19, "segnale,  2500," + kSignal}}},
        {"a slowdown that starts and ends in one cell", {}, {{15, "rallentamento,  4000,  30,  20,  1,  1,  0"}}},
        {"a station's time before the previous one's", {}, {{13, rocca({{13, "7"}})}}},
        {"an empty train file", {}, {{1, kDeleted}, {2, kDeleted}, {3, kDeleted}, {4, kDeleted}, {5, kDeleted}}},
        {"a line ending in a dash field", {{24, "-- a\n-- b"}}, {}},
        {"an accented station name", {}, {{13, rocca({}, "   ROCCA D\xC0")}}},
        {"a line limit no railway has", {}, {{10, "velocita,  6000,  1000"}}},
        {"a slowdown no slower than the line", {}, {{15, "rallentamento,  4000,  120,  600,  1,  1,  0"}}},
        {"a curve whose end stands where its length belongs", {{12, "curvas4,  6000,  6300"}}, {}},
    };
    for (const Case& c : cases) expect_agreement(c.what, edited(kLineLines, c.line), edited(kTrainLines, c.train));
}

// The pipeline's fuzz corpus: a line description and a train description
// split at the first NUL byte.
TEST(FrontEnds, TheFuzzCorpusGetsTheSameDiagnosticsEverywhere) {
    const std::filesystem::path corpus = std::filesystem::path(SCENARIOGEN_SOURCE_DIR) / "fuzz" / "corpus" / "pipeline";
    std::size_t entries = 0;
    for (const auto& entry : std::filesystem::directory_iterator(corpus)) {
        const std::string input = slurp(entry.path().string());
        const std::size_t split = input.find('\0');
        if (split == std::string::npos) continue;
        ++entries;
        expect_agreement(entry.path().filename().string(), input.substr(0, split), input.substr(split + 1));
    }
    EXPECT_GT(entries, 0u) << "no corpus entry was compared";
}

}  // namespace
}  // namespace scenariogen::testing
