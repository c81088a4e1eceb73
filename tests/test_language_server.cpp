// The language server's parts that stand alone: the message framing, the
// JSON-RPC classification, the open documents' text and positions, the
// reading of fields, pairing, URIs, and formatting that changes no value.
#include <gtest/gtest.h>

#include <fstream>

#include "bench/largest_route.h"
#include "lsp/client_capabilities.h"
#include "lsp/description_view.h"
#include "lsp/document_uri.h"
#include "lsp/features.h"
#include "lsp/json_rpc.h"
#include "lsp/markup.h"
#include "lsp/message_framing.h"
#include "lsp/pairing.h"
#include "platform/file_system.h"
#include "test_support.h"

namespace scenariogen::lsp {
namespace {

using scenariogen::testing::TempDir;

// Every frame a reader gives for `stream`, fed in pieces of `piece` bytes.
std::vector<Frame> frames_of(std::string_view stream, std::size_t piece, std::size_t max_body = kMaxBodyBytes) {
    MessageReader reader(max_body);
    std::vector<Frame> frames;
    for (std::size_t at = 0; at < stream.size(); at += piece) {
        reader.feed(stream.substr(at, piece));
        while (std::optional<Frame> frame = reader.next()) frames.push_back(*frame);
    }
    return frames;
}

TEST(MessageFraming, BodiesComeWholeWhateverThePiecesTheStreamArrivesIn) {
    const std::string stream = frame_message(R"({"a":1})") + "\r\n" + frame_message("") +
                               "content-length:  12\ncontent-type: x\n\n{\"b\":\"\xc3\xa9\"}  " +
                               frame_message(std::string(70000, 'x'));
    for (const std::size_t piece : {std::size_t{1}, std::size_t{7}, std::size_t{4096}, stream.size()}) {
        SCOPED_TRACE(piece);
        const std::vector<Frame> frames = frames_of(stream, piece);
        ASSERT_EQ(frames.size(), 4u);
        EXPECT_EQ(frames[0].text, R"({"a":1})");
        EXPECT_EQ(frames[1].text, "");
        EXPECT_EQ(frames[2].text, "{\"b\":\"\xc3\xa9\"}  ");
        EXPECT_EQ(frames[3].text.size(), 70000u);
        for (const Frame& frame : frames) EXPECT_EQ(frame.kind, Frame::Kind::kBody);
    }
}

TEST(MessageFraming, AFaultIsToldOnceAndTheNextMessageIsReadAfterIt) {
    const std::string next = frame_message("{}");
    const struct {
        const char* name;
        std::string stream;
        const char* fault;
    } cases[] = {
        {"no Content-Length", "Content-Type: x\r\n\r\n{}" + next, "no Content-Length"},
        {"a length that is no number", "Content-Length: -5\r\n\r\n{}" + next, "not a number"},
        {"two lengths", "Content-Length: 2\r\nContent-Length: 3\r\n\r\n{}" + next, "two different"},
        {"a line without a colon", "Content-Length 2\r\n\r\n{}" + next, "no colon"},
        {"a header without end", std::string(kMaxHeaderBytes + 10, 'h') + next, "8192 bytes"},
        {"a body over the limit", "Content-Length: 101\r\n\r\n" + std::string(101, '{') + next,
         "larger than the limit"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        for (const std::size_t piece : {std::size_t{1}, c.stream.size()}) {
            const std::vector<Frame> frames = frames_of(c.stream, piece, 100);
            ASSERT_EQ(frames.size(), 2u);
            EXPECT_EQ(frames[0].kind, Frame::Kind::kFault);
            EXPECT_NE(frames[0].text.find(c.fault), std::string::npos) << frames[0].text;
            EXPECT_EQ(frames[1].kind, Frame::Kind::kBody);
            EXPECT_EQ(frames[1].text, "{}");
        }
    }
}

TEST(MessageFraming, KnowsWhenItHoldsPartOfAMessage) {
    MessageReader reader;
    EXPECT_FALSE(reader.inside_message());
    reader.feed("\r\n");
    EXPECT_FALSE(reader.inside_message());
    reader.feed("Content-Length: 2\r\n\r\n{");
    EXPECT_FALSE(reader.next());
    EXPECT_TRUE(reader.inside_message());
    reader.feed("}");
    EXPECT_TRUE(reader.next());
    EXPECT_FALSE(reader.inside_message());
}

TEST(JsonRpc, EachBodyIsAMessageOrTheRefusalThatSaysWhy) {
    const struct {
        const char* body;
        int kind;  // 0 request, 1 notification, 2 response, else the refusal's error code
        json id;
    } cases[] = {
        {R"({"jsonrpc":"2.0","id":1,"method":"a","params":{}})", 0, 1},
        {R"({"jsonrpc":"2.0","id":"x","method":"a"})", 0, "x"},
        {R"({"jsonrpc":"2.0","method":"a","params":[1]})", 1, nullptr},
        // Null params are no params: what Eglot sends with shutdown and exit.
        {R"({"jsonrpc":"2.0","id":2,"method":"shutdown","params":null})", 0, 2},
        {R"({"jsonrpc":"2.0","method":"exit","params":null})", 1, nullptr},
        {R"({"jsonrpc":"2.0","id":4,"result":null})", 2, 4},
        {R"({"jsonrpc":"2.0","id":4})", rpc_error::kInvalidRequest, 4},
        {R"({"jsonrpc":"1.0","id":5,"method":"a"})", rpc_error::kInvalidRequest, 5},
        {R"({"jsonrpc":"2.0","id":1.5,"method":"a"})", rpc_error::kInvalidRequest, nullptr},
        {R"({"jsonrpc":"2.0","id":6,"method":7})", rpc_error::kInvalidRequest, 6},
        {R"({"jsonrpc":"2.0","id":6,"method":"a","params":"p"})", rpc_error::kInvalidRequest, 6},
        {R"([{"jsonrpc":"2.0","method":"a"}])", rpc_error::kInvalidRequest, nullptr},
        {R"("text")", rpc_error::kInvalidRequest, nullptr},
        {R"({"jsonrpc":"2.0",)", rpc_error::kParseError, nullptr},
        {"{\"jsonrpc\":\"2.0\",\"method\":\"\xff\"}", rpc_error::kParseError, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.body);
        const auto parsed = parse_message(c.body);
        if (c.kind >= 0 && c.kind <= 2) {
            ASSERT_TRUE(std::holds_alternative<Message>(parsed));
            EXPECT_EQ(static_cast<int>(std::get<Message>(parsed).kind), c.kind);
            EXPECT_EQ(std::get<Message>(parsed).id, c.id);
        } else {
            ASSERT_TRUE(std::holds_alternative<Refusal>(parsed));
            EXPECT_EQ(std::get<Refusal>(parsed).response["error"]["code"], c.kind);
            EXPECT_EQ(std::get<Refusal>(parsed).response["id"], c.id);
        }
    }
    // Names in Windows-1252 bytes never make the answer fail.
    EXPECT_EQ(serialise(json("A\xe8")), "\"A\xef\xbf\xbd\"");
}

TEST(DocumentText, ColumnsInCharactersAndInUtf16Units) {
    // "Citt\u00e0 \u4e2d \U0001F682 x": \u00e0 and \u4e2d are one unit each, the engine two.
    const DocumentText text("Citt\xc3\xa0 \xe4\xb8\xad \xf0\x9f\x9a\x82 x\r\nb");
    EXPECT_EQ(text.utf16_column(0, 5), 5);   // after the \u00e0
    EXPECT_EQ(text.utf16_column(0, 9), 10);  // after the engine
    EXPECT_EQ(text.utf16_column(0, 11), 12);
    EXPECT_EQ(text.utf16_length(0), 12);
    EXPECT_EQ(text.utf16_column(0, 14), 15) << "past the line's end each column counts one";
    EXPECT_EQ(text.character_column(0, 10), 9);
    EXPECT_EQ(text.offset({0, 10}), 15u) << "a position counts UTF-16 units, an offset bytes";
    const DocumentText malformed(
        "a\xff"
        "b\xc3");
    EXPECT_EQ(malformed.utf16_length(0), 4) << "a malformed byte counts as one";
}

TEST(ClientCapabilities, OnlyWhatTheClientDeclares) {
    const json rich = json::parse(R"({"capabilities": {
        "textDocument": {"completion": {"completionItem": {"snippetSupport": true,
                                                           "documentationFormat": ["plaintext", "markdown"]}},
                         "hover": {"contentFormat": ["markdown"]}},
        "workspace": {"didChangeWatchedFiles": {"dynamicRegistration": true}}}})");
    const ClientCapabilities all = read_client_capabilities(rich);
    EXPECT_TRUE(all.snippets && all.completion_markdown && all.hover_markdown && all.registers_file_watch);
    for (const char* params : {R"({})", R"({"capabilities": null})", R"({"capabilities": {"textDocument": 3}})",
                               R"({"capabilities": {"textDocument": {"completion": {"completionItem":
                                   {"snippetSupport": "yes", "documentationFormat": "markdown"}}},
                                   "workspace": {"didChangeWatchedFiles": {}}}})"}) {
        SCOPED_TRACE(params);
        const ClientCapabilities none = read_client_capabilities(json::parse(params));
        EXPECT_FALSE(none.snippets || none.completion_markdown || none.hover_markdown || none.registers_file_watch);
    }
}

TEST(Markup, PlainTextKeepsTheWordsAndSetsTablesInColumns) {
    const std::string markdown =
        "**pendenza** at km 1+000\n\n| field | unit | meaning |\n|---|---|---|\n"
        "| `position` | m | metres |\n| `gradient` | \u2030 | rising positive |\n\n---\n\nfield `x`";
    EXPECT_EQ(plain_text(markdown),
              "pendenza at km 1+000\n\n"
              "field     unit  meaning\n"
              "position  m     metres\n"
              "gradient  \u2030     rising positive\n"
              "\n---\n\nfield x");
    EXPECT_EQ(markup_content("**a**", true), json({{"kind", "markdown"}, {"value", "**a**"}}));
    EXPECT_EQ(markup_content("**a**", false), json({{"kind", "plaintext"}, {"value", "a"}}));
}

TEST(DocumentText, PositionsAndChangesFollowTheProtocolsLines) {
    DocumentText text("ab\r\ncd\ref\ngh");
    ASSERT_EQ(text.line_count(), 4);
    EXPECT_EQ(text.line(1), "cd");
    EXPECT_EQ(text.offset({2, 1}), 8u);
    EXPECT_EQ(text.offset({0, 99}), 2u);          // past the line's end: its end
    EXPECT_EQ(text.offset({9, 0}), 12u);          // past the last line: the text's end
    text.replace({{0, 2}, {1, 1}}, "X\xc3\xa8");  // across a CR LF
    EXPECT_EQ(text.utf8(),
              "abX\xc3\xa8"
              "d\ref\ngh");
    EXPECT_EQ(text.line_count(), 3);
    text.replace({{0, 4}, {0, 4}}, "!");  // after the \u00e8, one unit
    EXPECT_EQ(text.line(0), "abX\xc3\xa8!d");
    text.replace({{1, 0}, {1, 0}}, "1\n2\r\n");
    EXPECT_EQ(text.line_count(), 5);
    EXPECT_EQ(text.line(2), "2");
    text.replace({{0, 0}, {4, 2}}, "");
    EXPECT_EQ(text.line_count(), 1);
    EXPECT_EQ(text.utf8(), "");
    // A change that joins a CR and an LF makes one line end of them.
    DocumentText joined("a\rx\nb");
    joined.replace({{1, 0}, {1, 1}}, "");
    EXPECT_EQ(joined.line_count(), 2);
    EXPECT_EQ(joined.line(1), "b");
}

TEST(DescriptionView, FieldsAsTheReaderReadsThem) {
    const std::string train = testing::crlf(
        {"[generale]", "orologio,    6   32  50 ", "cartello_indicatore,  10,  \"(a, b)\"  x, y",
         "stazione,  0,  4,  600,  0,  0,  0,  1,  1,  0,  4,  1,  1,  1,  6,  33,  0,   SAN VITO  ", "[fine]"});
    const DescriptionView view = view_description(train, SourceFile::kTrain);
    const ViewLine& clock = view.lines[1];
    ASSERT_EQ(clock.kind, LineKind::kKeyword);
    EXPECT_EQ(clock.keyword, syntax::Keyword::kClock);
    ASSERT_EQ(clock.values.size(), 3u);
    EXPECT_EQ(clock.value(1)->text, "32");
    EXPECT_EQ(clock.value(1)->begin, 17);
    EXPECT_EQ(view.lines[2].kind, LineKind::kIgnored) << "a line keyword of the other file";
    const ViewLine& station = view.lines[3];
    ASSERT_EQ(station.values.size(), 17u);
    EXPECT_EQ(station.value(16)->text, "SAN VITO  ");
    EXPECT_EQ(station.missing, 0u);

    const std::string boards =
        testing::crlf({"[generale]", "[x]", "indicatori_vmax,  700,  130,    ,    ,  0", "[fine]"});
    const ViewLine& board = view_description(boards, SourceFile::kLine).lines[2];
    EXPECT_EQ(board.values.size(), 5u);
    EXPECT_EQ(board.missing, 4u);
}

TEST(DescriptionView, KeywordsAreKnownWhereTheReaderKnowsThem) {
    const std::string text = testing::crlf({"intro, pendenza", "[Generale]", "Lunghezza Percorso,  100",
                                            "Progressiva chilometrica uno,  0,  0,  0", "pendenza,  0,  1", "[curve]",
                                            "----- pendenza", "pendenza,  0,  1", "", "[fine]"});
    const DescriptionView view = view_description(text, SourceFile::kLine);
    const std::vector<LineKind> kinds{LineKind::kIgnored, LineKind::kHeader, LineKind::kKeyword, LineKind::kIgnored,
                                      LineKind::kIgnored, LineKind::kHeader, LineKind::kComment, LineKind::kKeyword,
                                      LineKind::kBlank,   LineKind::kHeader, LineKind::kBlank};
    ASSERT_EQ(view.lines.size(), kinds.size());
    for (std::size_t i = 0; i < kinds.size(); ++i) EXPECT_EQ(view.lines[i].kind, kinds[i]) << "line " << i;
    ASSERT_EQ(view.sections.size(), 3u);
    EXPECT_EQ(view.sections[1].name, "[curve]");
    EXPECT_EQ(view.sections[1].last_line, 7);
}

TEST(Pairing, ByTheProgramsNamesOrByAProjectFile) {
    TempDir dir;
    const auto touch = [&](const std::string& name) { std::ofstream(dir.file(name)) << "[generale]\n"; };
    const FileKnown on_disk = [](const std::string& path) { return file_exists(path); };
    touch("Valle_linea.txt");
    touch("Valle_88-.txt");
    touch("Valle_7-.txt");
    touch("Monte_3-.txt");
    Pairing line = pair_file(dir.file("Valle_linea.txt"), "", on_disk);
    EXPECT_EQ(line.role, SourceFile::kLine);
    EXPECT_EQ(line.train_path, dir.file("Valle_7-.txt"));  // of two trains, the first by name
    EXPECT_EQ(std::make_pair(line.name, line.number), std::make_pair(std::string("Valle"), std::string("7")));
    const Pairing train = pair_file(dir.file("Valle_88-.txt"), "", on_disk);
    EXPECT_EQ(std::make_tuple(train.role, train.line_path, train.number),
              std::make_tuple(SourceFile::kTrain, dir.file("Valle_linea.txt"), std::string("88")));
    EXPECT_TRUE(pair_file(dir.file("Monte_3-.txt"), "", on_disk).line_path.empty());
    // What the pairs hang on: the project file that may appear, the partners,
    // and the line description that a lone train description waits for.
    const std::string project = dir.file("scenario.json");
    EXPECT_EQ(pairing_inputs(dir.file("Valle_linea.txt"), line),
              (std::vector<std::string>{project, dir.file("Valle_7-.txt")}));
    EXPECT_EQ(pairing_inputs(dir.file("Monte_3-.txt"), pair_file(dir.file("Monte_3-.txt"), "", on_disk)),
              (std::vector<std::string>{project, dir.file("Monte_linea.txt")}));

    std::ofstream(dir.file("scenario.json"))
        << R"({"line": "a.txt", "train": "Monte_3-.txt", "name": "Monte", "number": "3", "output": "out"})";
    touch("a.txt");
    const Pairing by_project = pair_file(dir.file("Monte_3-.txt"), "", on_disk);
    EXPECT_EQ(by_project.line_path, dir.file("a.txt"));
    EXPECT_EQ(by_project.output, "out");
    EXPECT_EQ(pair_file(dir.file("a.txt"), "", on_disk).train_path, dir.file("Monte_3-.txt"));
    // Neither named nor listed: the text tells.
    EXPECT_EQ(pair_file(dir.file("b.txt"), "[generale]\nstazione, 0", on_disk).role, SourceFile::kTrain);
    EXPECT_EQ(pair_file(dir.file("b.txt"), "lunghezza percorso, 9", on_disk).role, SourceFile::kLine);
}

TEST(DocumentUri, FileUrisAndPathsBothWays) {
    EXPECT_EQ(uri_to_path("file:///home/a%20b/x_linea.txt"), "/home/a b/x_linea.txt");
    EXPECT_EQ(uri_to_path("file:///c%3A/Linee/x.txt"), "c:/Linee/x.txt");
    EXPECT_EQ(uri_to_path("file://localhost/x"), "/x");
    EXPECT_EQ(uri_to_path("untitled:Untitled-1"), std::nullopt);
    EXPECT_EQ(uri_to_path("file://server/share/x"), std::nullopt);
    EXPECT_EQ(uri_to_path("file:///a%2"), std::nullopt);
    EXPECT_EQ(uri_to_path("file:///a%00b"), std::nullopt);
    EXPECT_EQ(path_to_uri("/home/a b/Città.txt"), "file:///home/a%20b/Citt%C3%A0.txt");
    EXPECT_EQ(path_to_uri("C:\\Linee\\x.txt"), "file:///C%3A/Linee/x.txt");
    EXPECT_EQ(uri_to_path(path_to_uri("/a#b?c%d")), "/a#b?c%d");
}

// The text after applying the edits of one formatting.
std::string formatted(const std::string& text, SourceFile role) {
    OpenDocument document;
    document.text = DocumentText(text);
    document.pairing.role = role;
    document.describe();
    const json edits = formatting(document);
    for (auto edit = edits.rbegin(); edit != edits.rend(); ++edit) {
        const json& range = (*edit)["range"];
        document.text.replace(
            {{range["start"]["line"], range["start"]["character"]}, {range["end"]["line"], range["end"]["character"]}},
            (*edit)["newText"].get<std::string>());
    }
    return document.text.utf8();
}

TEST(Formatting, ChangesNoValue) {
    const std::string awkward_line = testing::crlf({"[generale]", "   lunghezza percorso,20000", "sfondo uno ,\t1",
                                                    "[cartelli]", "indicatori_vmax,700,130,140,140,0,,,,0",
                                                    "cartello_indicatore,1500,\"(a, b)\"", "pendenza, 100,", "[fine]"});
    const struct {
        const char* name;
        std::string line, train;
    } cases[] = {
        {"the scenario's own descriptions", testing::own_line_text(), testing::own_train_text()},
        {"the largest route", largest_line_description(), largest_train_description()},
        {"blanks, tabs, quotes and empty fields", awkward_line, testing::own_train_text()},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string line = formatted(c.line, SourceFile::kLine);
        const std::string train = formatted(c.train, SourceFile::kTrain);
        const CompileResult before = compile(CompileInput{c.line, c.train, "A", "1", false});
        const CompileResult after = compile(CompileInput{line, train, "A", "1", false});
        ASSERT_EQ(before.cells.size(), after.cells.size());
        EXPECT_EQ(0, std::memcmp(before.cells.data(), after.cells.data(), before.cells.size() * sizeof(Cell)));
        for (std::size_t k = 0; k < before.stations.size(); ++k) {
            EXPECT_EQ(before.stations[k].name, after.stations[k].name) << "entry " << k;
            EXPECT_EQ(before.stations[k].position, after.stations[k].position) << "entry " << k;
        }
        EXPECT_EQ(before.last_error, after.last_error);
        EXPECT_EQ(formatted(line, SourceFile::kLine), line);  // a second formatting changes nothing
    }
    EXPECT_NE(formatted(awkward_line, SourceFile::kLine).find("lunghezza percorso,  20000\r\n"), std::string::npos);
}

}  // namespace
}  // namespace scenariogen::lsp
