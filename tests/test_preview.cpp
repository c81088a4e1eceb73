// The preview's parts below its server: the file watch, the rules for which
// requests are answered, and what a compilation shows on the page. The
// server itself is tested in a real browser (tests/preview/).
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <nlohmann/json.hpp>
#include <thread>

#include "platform/file_system.h"
#include "platform/file_watch.h"
#include "preview/http_rules.h"
#include "preview/preview_compilation.h"
#include "preview/preview_state.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using std::chrono::milliseconds;
using testing::TempDir;

// Long enough for any change to arrive; a wait that should see nothing
// waits only `kQuiet`.
constexpr milliseconds kArrives{5000};
constexpr milliseconds kQuiet{300};

struct WatchKind {
    const char* name;
    std::function<std::unique_ptr<FileWatch>(const std::vector<std::string>&)> make;
};

const WatchKind kWatchKinds[] = {
    {"notification", [](const std::vector<std::string>& paths) { return watch_files(paths); }},
    {"polling", [](const std::vector<std::string>& paths) { return poll_files(paths, milliseconds(10)); }},
};

// The first event that is not "still being written".
WatchEvent settled(FileWatch& watch) {
    WatchEvent event = watch.wait(kArrives);
    while (event == WatchEvent::kChanging) event = watch.wait(kArrives);
    return event;
}

TEST(FileWatch, SeesEveryWayOfSavingAndNothingElseInTheFolder) {
    struct Save {
        const char* how;
        std::function<void(const std::string& path, const std::string& text)> save;
    };
    const Save saves[] = {
        {"in place", [](const std::string& path, const std::string& text) { testing::spit(path, text); }},
        {"renamed over",
         [](const std::string& path, const std::string& text) {
             testing::spit(path + ".new", text);
             std::filesystem::rename(path + ".new", path);
         }},
        {"deleted", [](const std::string& path, const std::string&) { std::filesystem::remove(path); }},
        {"created", [](const std::string& path, const std::string& text) { testing::spit(path, text); }},
    };
    for (const WatchKind& kind : kWatchKinds) {
        TempDir folder;
        const std::string watched = folder.file("linea.txt");
        testing::spit(watched, "0");
        const auto watch = kind.make({watched, folder.file("treno.txt")});
        std::string text = "0";
        for (const Save& save : saves) {
            text += "1";  // a new size each time, so that polling sees every save
            save.save(watched, text);
            EXPECT_EQ(settled(*watch), WatchEvent::kChanged) << kind.name << ": " << save.how;
            while (watch->wait(milliseconds(50)) != WatchEvent::kTimedOut) {
            }
        }
        testing::spit(folder.file("other.txt"), "x");
        EXPECT_EQ(watch->wait(kQuiet), WatchEvent::kTimedOut) << kind.name;
    }
}

TEST(FileWatch, TellsAFileStillOpenForWritingFromOneClosed) {
#ifndef __linux__
    GTEST_SKIP() << "only Linux's notification tells a file still open for writing; polling sees changes only";
#endif
    TempDir folder;
    const std::string path = folder.file("linea.txt");
    const auto watch = watch_files({path});
    std::FILE* file = std::fopen(path.c_str(), "wb");
    ASSERT_NE(file, nullptr);
    std::fputs("[generale]", file);
    std::fflush(file);
    WatchEvent event = watch->wait(kArrives);
    EXPECT_EQ(event, WatchEvent::kChanging);
    while (event == WatchEvent::kChanging) event = watch->wait(kQuiet);
    EXPECT_EQ(event, WatchEvent::kTimedOut);
    std::fclose(file);
    EXPECT_EQ(watch->wait(kArrives), WatchEvent::kChanged);
}

TEST(FileWatch, StopEndsTheWaitingAndEveryLaterWait) {
    for (const WatchKind& kind : kWatchKinds) {
        TempDir folder;
        const auto watch = kind.make({folder.file("linea.txt")});
        std::thread stopper([&] {
            std::this_thread::sleep_for(milliseconds(50));
            watch->stop();
        });
        EXPECT_EQ(watch->wait(kArrives), WatchEvent::kStopped) << kind.name;
        stopper.join();
        testing::spit(folder.file("linea.txt"), "x");
        EXPECT_EQ(watch->wait(kArrives), WatchEvent::kStopped) << kind.name;
    }
}

TEST(FileWatch, AFolderThatDoesNotExistCannotBeWatched) {
    TempDir folder;
    EXPECT_THROW(watch_files({folder.file("missing/linea.txt")}), FileError);
}

TEST(HttpRules, OnlyTheLoopbackNamesWithTheServersPortAreAnswered) {
    struct Case {
        const char* host;
        std::uint16_t port;
        int status;
    };
    const Case cases[] = {
        {"127.0.0.1:8040", 8040, 200},      {"localhost:8040", 8040, 200},
        {"LocalHost:8040", 8040, 200},      {"localhost", 80, 200},
        {"localhost:80", 80, 200},          {"localhost", 8040, 403},
        {"127.0.0.1:8041", 8040, 403},      {"127.0.0.1:08040", 8040, 403},
        {"127.0.0.2:8040", 8040, 403},      {"[::1]:8040", 8040, 403},
        {"localhost.:8040", 8040, 403},     {"evil.example:8040", 8040, 403},
        {"localhost:8040:8040", 8040, 403}, {"", 8040, 403},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(judge_request({"GET", "/", std::string_view(c.host)}, c.port).status, c.status) << c.host;
    }
}

TEST(HttpRules, RefusalsComeInOrderOfWhatIsWrongFirst) {
    const std::string long_target = "/" + std::string(kMaxTargetLength, 'a');
    struct Case {
        std::string_view method;
        std::string_view target;
        std::optional<std::string_view> host;
        int status;
        Resource resource;
    };
    const Case cases[] = {
        {"GET", long_target, std::nullopt, 414, Resource::kNone},
        {"GET", "/", std::nullopt, 400, Resource::kNone},
        {"POST", "/", "evil.example", 403, Resource::kNone},
        {"POST", "/", "localhost:8040", 405, Resource::kNone},
        {"GET", "*", "localhost:8040", 400, Resource::kNone},
        {"GET", "/index.html", "localhost:8040", 404, Resource::kNone},
        {"GET", "/events?since=3", "localhost:8040", 200, Resource::kEvents},
        {"GET", "/preview.js", "localhost:8040", 200, Resource::kScript},
    };
    for (const Case& c : cases) {
        const Verdict verdict = judge_request({c.method, c.target, c.host}, 8040);
        EXPECT_EQ(verdict.status, c.status) << c.method << " " << c.target.substr(0, 20);
        EXPECT_EQ(verdict.resource, c.resource) << c.target.substr(0, 20);
        EXPECT_EQ(verdict.reason.empty(), c.status == 200);
    }
}

// The fixed route with one of its lines changed, compiled for the page.
PreviewCompilation compile_changed(const TempDir& folder, const std::string& from, const std::string& to) {
    std::string train = testing::own_train_text();
    if (!from.empty()) train.replace(train.find(from), from.size(), to);
    testing::spit(folder.file("linea.txt"), testing::own_line_text());
    testing::spit(folder.file("treno.txt"), train);
    return compile_for_preview({folder.file("linea.txt"), folder.file("treno.txt"), "Zervano-OdelmaVmod", "27340"});
}

TEST(PreviewCompilation, AFaultIsListedAsCompilePrintsItWithItsPlaceOnTheRoute) {
    TempDir folder;
    const PreviewCompilation c = compile_changed(folder, "segnale,  43000,", "segnale,  42900,");
    ASSERT_TRUE(c.compiled);
    ASSERT_EQ(c.faults.size(), 1u);
    const PreviewFault& fault = c.faults[0];
    EXPECT_EQ(fault.text,
              folder.file("treno.txt") +
                  ":38:11: error 16: the signal's cell (cell 859, 42900 to 42950 m) is already taken by the "
                  "speed-indicator board [occupied-cell]");
    EXPECT_EQ(fault.file, folder.file("treno.txt"));
    EXPECT_EQ(fault.line, 38);
    EXPECT_EQ(fault.column, 11);
    EXPECT_EQ(fault.position_m, 42900);
    EXPECT_EQ(fault.source_line, "segnale,  42900,  2,  2,  3,  0,  0,  0,  0,  0,  0,  0");

    const PreviewDrawing drawing = draw_for_preview(c);
    const DrawingPieces pieces = cut_drawing(drawing.plot.svg);
    PreviewState shown;
    shown.generation = 7;
    shown.line_file = "linea.txt";
    shown.train_file = "treno.txt";
    shown.compilation = &c;
    shown.drawing = &drawing;
    shown.pieces = &pieces;
    shown.compile_ms = 1.5;
    const auto state = nlohmann::json::parse(state_json(shown));
    EXPECT_EQ(state["generation"], 7);
    EXPECT_EQ(state["faults"][0]["position_m"], 42900);
    EXPECT_GT(state["faults"][0]["graph_y"].get<double>(), 210) << "its place down the graph, on the second page";
    EXPECT_EQ(state["figures"]["stations"].size(), 9u);
    EXPECT_EQ(state["figures"]["length_m"], 46000);
    EXPECT_EQ(state["axis"]["end_m"], drawing.plot.profile_end_m);
    for (const char* group : {"plan", "profile", "legend", "graph"}) {
        EXPECT_TRUE(state["drawing"]["groups"][group]["g"].get<std::string>().starts_with("<g id=\"")) << group;
    }
}

TEST(PreviewCompilation, AFileThatCannotBeReadIsSaidSoAndNothingIsCompiled) {
    TempDir folder;
    compile_changed(folder, "", "");
    std::filesystem::remove(folder.file("treno.txt"));
    const PreviewCompilation c =
        compile_for_preview({folder.file("linea.txt"), folder.file("treno.txt"), "Zervano-OdelmaVmod", "27340"});
    EXPECT_FALSE(c.compiled);
    EXPECT_TRUE(c.unreadable.starts_with("cannot read " + folder.file("treno.txt") + ": ")) << c.unreadable;
    PreviewState shown;
    shown.generation = 1;
    shown.line_file = "linea.txt";
    shown.train_file = "treno.txt";
    shown.compilation = &c;
    const auto state = nlohmann::json::parse(state_json(shown));
    EXPECT_EQ(state["unreadable"], c.unreadable);
    EXPECT_TRUE(state["drawing"].is_null());
    EXPECT_TRUE(state["figures"].is_null());
}

}  // namespace
}  // namespace scenariogen

namespace scenariogen {
namespace {

TEST(PreviewCommand, RefusesWhatCannotWorkBeforeItListens) {
    testing::TempDir folder;
    const std::string line = folder.file("linea.txt");
    const std::string train = folder.file("treno.txt");
    testing::spit(line, testing::own_line_text());
    testing::spit(train, testing::own_train_text());
    struct Case {
        std::string args;
        std::string message;
    };
    const Case cases[] = {
        {folder.file("missing.txt") + " " + train, "cannot read " + folder.file("missing.txt")},
        {line + " " + train + " --write " + folder.file("missing"), "cannot write into " + folder.file("missing")},
        {line + " " + train + " --port 70000", "the port must be 0 to 65535"},
        {line + " " + train + " --name a/b", "must not be empty or hold '/'"},
    };
    for (const Case& c : cases) {
        const testing::Outcome outcome = testing::run_program("preview " + c.args);
        EXPECT_EQ(outcome.status, 2) << c.args;
        EXPECT_NE(outcome.err.find(c.message), std::string::npos) << outcome.err;
        EXPECT_EQ(outcome.out, "") << c.args;
    }
    EXPECT_EQ(testing::listing(folder.path()), (std::vector<std::string>{"linea.txt", "treno.txt"}));
}

}  // namespace
}  // namespace scenariogen
