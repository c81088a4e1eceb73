// The preview's session as the page uses it: the state it publishes (the
// title, the model, the running times, each fault's link to the editor),
// the model's values taken or refused, the drawing downloaded, and a stretch
// of the profile; and the two small readings it rests on, the editor's URL
// and the model's query.
#include <gtest/gtest.h>

#include <map>
#include <nlohmann/json.hpp>
#include <string>
#include <variant>
#include <vector>

#include "preview/editor_link.h"
#include "preview/model_query.h"
#include "preview/preview_session.h"
#include "preview/preview_state.h"
#include "test_support.h"
#include "views/plot/page_export.h"

namespace scenariogen {
namespace {

using nlohmann::json;
using testing::TempDir;

TEST(EditorLink, TheTemplateGetsTheFileAsAUrlPathAndItsLineAndColumn) {
    struct Case {
        std::string url;
        std::string path;
        int line;
        int column;
        std::string link;
    };
    const std::vector<Case> cases{
        {std::string(kDefaultEditorUrl), "/home/a/linea.txt", 12, 5, "vscode://file/home/a/linea.txt:12:5"},
        {std::string(kDefaultEditorUrl), "/home/a/my route/linea.txt", 1, 1,
         "vscode://file/home/a/my%20route/linea.txt:1:1"},
        {std::string(kDefaultEditorUrl), "C:\\Percorsi\\linea.txt", 3, 9, "vscode://file/C:/Percorsi/linea.txt:3:9"},
        {std::string(kDefaultEditorUrl), "/r/citt\xc3\xa0#1?.txt", 2, 0, "vscode://file/r/citt%C3%A0%231%3F.txt:2:1"},
        {"subl://open?url=file://{path}&line={line}&column={column}", "/x/t.txt", 4, 2,
         "subl://open?url=file:///x/t.txt&line=4&column=2"},
        {"idea://open?file={path}&line={line}", "/x/{line}.txt", 7, 1, "idea://open?file=/x/%7Bline%7D.txt&line=7"},
    };
    for (const Case& c : cases) EXPECT_EQ(editor_link(c.url, c.path, c.line, c.column), c.link) << c.url;
}

TEST(EditorLink, ATemplateMustNameItsSchemeAndThePathAndRunNoCode) {
    for (const std::string good : {"vscode://file{path}:{line}:{column}", "subl://open?url=file://{path}",
                                   "http://localhost:63342/api/file{path}:{line}"}) {
        EXPECT_EQ(editor_url_fault(good), "") << good;
    }
    for (const std::string bad : {"javascript:alert(1)//{path}", "JavaScript:{path}", "data:text/html,{path}",
                                  "vbscript:{path}", "{path}:{line}", "://x{path}", "vscode://file/no/path"}) {
        EXPECT_NE(editor_url_fault(bad), "") << bad;
    }
}

TEST(ModelQuery, EmptyValuesKeepTheModelsOwnAndOthersMustBeFiniteAndAboveZero) {
    const auto taken = [](std::string_view query) { return std::get<TrainModelChoice>(read_model_query(query)); };
    EXPECT_FALSE(taken("").acceleration.has_value());
    const TrainModelChoice choice = taken("acceleration=0.6&braking=&max_speed=%31%32%30");
    EXPECT_EQ(choice.acceleration, 0.6);
    EXPECT_FALSE(choice.braking.has_value());
    EXPECT_EQ(choice.max_speed_kmh, 120);

    struct Case {
        std::string query;
        std::string refusal;
    };
    for (const Case& c : std::vector<Case>{
             {"max_speed=nan", "the top speed: give a number above 0 (km/h), not 'nan'"},
             {"max_speed=inf", "the top speed: give a number above 0 (km/h), not 'inf'"},
             {"max_speed=1e999", "the top speed: give a number above 0 (km/h), not '1e999'"},
             {"acceleration=0", "the acceleration: give a number above 0 (m/s\u00b2), not '0'"},
             {"braking=-0.7", "the braking: give a number above 0 (m/s\u00b2), not '-0.7'"},
             {"braking=0,7", "the braking: give a number above 0 (m/s\u00b2), not '0,7'"},
             {"max_speed=12km", "the top speed: give a number above 0 (km/h), not '12km'"},
         }) {
        const auto read = read_model_query(c.query);
        ASSERT_TRUE(std::holds_alternative<std::string>(read)) << c.query;
        EXPECT_EQ(std::get<std::string>(read), c.refusal);
    }
}

// A session on the fixed route, every state it publishes kept.
class PreviewSessionTest : public ::testing::Test {
protected:
    void SetUp() override {
        testing::spit(folder_.file("linea.txt"), testing::own_line_text());
        testing::spit(folder_.file("treno.txt"), train_text_);
        PreviewSinks sinks;
        sinks.publish = [this](PublishedState state) {
            published_.push_back(json::parse(state.document));
            events_.push_back(json::parse(state.event));
        };
        session_ = std::make_unique<PreviewSession>(
            PreviewSources{folder_.file("linea.txt"), folder_.file("treno.txt"), "Zervano-OdelmaVmod", "27340"}, sinks);
    }

    void write_line(const std::string& from, const std::string& to) {
        std::string line = testing::own_line_text();
        line.replace(line.find(from), from.size(), to);
        testing::spit(folder_.file("linea.txt"), line);
    }

    void write_train(const std::string& from, const std::string& to) {
        std::string train = train_text_;
        train.replace(train.find(from), from.size(), to);
        testing::spit(folder_.file("treno.txt"), train);
    }

    const json& latest() const { return published_.back(); }

    TempDir folder_;
    std::string train_text_ = testing::own_train_text();
    std::vector<json> published_;
    std::vector<json> events_;  // as open pages receive them
    std::unique_ptr<PreviewSession> session_;
};

TEST_F(PreviewSessionTest, TheStateHoldsTheTitleTheModelTheRunningTimesAndEachFaultsLink) {
    write_train("segnale,  43000,", "segnale,  42900,");
    session_->recompile();
    ASSERT_EQ(published_.size(), 1u);
    const json& state = latest();
    EXPECT_EQ(state["title"], (json{{"scenario", "Zervano-OdelmaVmod"}, {"train", "27340"}}));
    EXPECT_EQ(state["model"]["summary"],
              "acceleration 0.50 m/s\u00b2, braking 0.90 m/s\u00b2 (130 % braked mass), top speed 130 km/h");
    EXPECT_TRUE(state["model"]["max_speed"].is_null());
    EXPECT_EQ(state["timetable"]["rows"].size(), 9u) << "the heads and eight legs";
    EXPECT_EQ(state["timetable"]["problems"].size(), 8u);
    EXPECT_EQ(state["drawing"]["groups"]["graph"]["g"], "<g id=\"graph\">");
    ASSERT_EQ(state["faults"].size(), 1u);
    // The link's own form (a URL path, also of a Windows path) is the table above's.
    EXPECT_EQ(state["faults"][0]["link"], editor_link(kDefaultEditorUrl, folder_.file("treno.txt"), 38, 11));
}

TEST_F(PreviewSessionTest, TheModelsValuesAreTakenOrRefusedAndARefusalPublishesNothing) {
    session_->recompile();
    EXPECT_EQ(session_->choose_model("max_speed=nan"), "the top speed: give a number above 0 (km/h), not 'nan'");
    EXPECT_EQ(published_.size(), 1u);

    EXPECT_EQ(session_->choose_model("max_speed=80"), "");
    ASSERT_EQ(published_.size(), 2u);
    EXPECT_EQ(latest()["generation"], 2);
    EXPECT_EQ(latest()["model"]["max_speed"], 80);
    std::size_t problems = 0;
    for (const json& problem : latest()["timetable"]["problems"]) problems += problem.is_string();
    EXPECT_EQ(problems, 2u) << "two legs cannot be kept at 80 km/h";

    // The values stay for the next compilation.
    session_->recompile();
    EXPECT_EQ(latest()["model"]["max_speed"], 80);
}

TEST_F(PreviewSessionTest, TheDrawingIsDownloadedInEachFormatAndAStretchOfTheProfileIsDrawn) {
    EXPECT_EQ(std::get<std::string>(session_->download("format=svg")), "there is no drawing to export");
    session_->recompile();
    std::vector<std::string> formats{"svg"};
    if (page_rendering_unavailable().empty()) formats.insert(formats.end(), {"png", "pdf"});
    for (const std::string& format : formats) {
        const auto download = session_->download("format=" + format);
        ASSERT_TRUE(std::holds_alternative<PageDownload>(download)) << format;
        EXPECT_EQ(std::get<PageDownload>(download).file_name, "Zervano-OdelmaVmod_27340." + format);
    }
    EXPECT_EQ(std::get<std::string>(session_->download("format=gif")), "give format=svg, png or pdf");

    const auto stretch = session_->profile_window("from_m=20000&to_m=30000");
    ASSERT_TRUE(std::holds_alternative<ProfileStretch>(stretch));
    const json answer = json::parse(std::get<ProfileStretch>(stretch).json);
    EXPECT_EQ(answer["generation"], 1);
    EXPECT_EQ(answer["from_m"], 20000);
    EXPECT_NE(answer["svg"].get<std::string>().find("<g id=\"profile\""), std::string::npos);
    for (const std::string bad : {"from_m=5&to_m=1", "from_m=nan&to_m=1", "to_m=100", ""}) {
        EXPECT_TRUE(std::holds_alternative<std::string>(session_->profile_window(bad))) << bad;
    }
}

TEST_F(PreviewSessionTest, TheTrainsPlaceAtATimeOfDayIsThatOfTheRunDrawn) {
    EXPECT_EQ(std::get<std::string>(session_->train_position("clock_s=0")), "there is no drawing");
    session_->recompile();
    for (const std::string bad : {"clock_s=nan", "clock_s=", "clock=1", "clock_s=1e999"}) {
        EXPECT_EQ(std::get<std::string>(session_->train_position(bad)), "give clock_s, seconds since midnight") << bad;
    }
    const json clock = latest()["clock"];
    const json terminus = latest()["figures"]["stations"].back()["position_m"];
    struct Case {
        const char* moment;
        double clock_s;
        json position_m;
    };
    const Case cases[] = {
        {"the graph's first tick, before the departure", clock["first_s"], 0},
        {"its last, after the arrival", clock["last_s"], terminus},
    };
    for (const Case& c : cases) {
        const auto answer = session_->train_position("clock_s=" + std::to_string(c.clock_s));
        ASSERT_TRUE(std::holds_alternative<TrainPosition>(answer)) << c.moment;
        const json place = json::parse(std::get<TrainPosition>(answer).json);
        EXPECT_EQ(place["run"]["position_m"], c.position_m) << c.moment;
        EXPECT_EQ(place["timetable"]["position_m"], c.position_m) << c.moment;
        EXPECT_TRUE(place["run"]["plan_point"].is_object()) << c.moment;
        EXPECT_GT(place["run"]["graph_point"]["y"].get<double>(), 210) << c.moment << ": on the graph's page";
    }
}

// The pieces of an event's drawing, by key, with their text when it is a
// run of elements.
void collect_runs(const json& node, std::map<std::string, std::string>& runs, const json& texts) {
    if (node.contains("c")) {
        for (const json& child : node["c"]) collect_runs(child, runs, texts);
        return;
    }
    const std::string key = node["k"];
    runs[key] = texts.contains(key) ? texts[key].get<std::string>() : std::string();
}

std::map<std::string, std::string> event_runs(const json& event, const json& texts) {
    std::map<std::string, std::string> runs;
    for (const auto& [id, node] : event["drawing"]["groups"].items()) collect_runs(node, runs, texts);
    return runs;
}

TEST_F(PreviewSessionTest, AnOpenPageIsSentWhatChangedAndAsksTheSessionForItsText) {
    session_->recompile();
    const json first = events_.back();
    // The parts are named by key in the event, and their text is the whole document's.
    for (const char* part : kStateParts) {
        EXPECT_FALSE(first.contains(part)) << part;
        const std::string key = first["parts"][part];
        const json answer = json::parse(session_->piece_texts("keys=" + key));
        EXPECT_EQ(json::parse(answer[key].get<std::string>()), latest()[part]) << part;
    }
    const json all = json::parse(session_->piece_texts(""));
    const std::map<std::string, std::string> runs_before = event_runs(first, all);
    for (const auto& [key, text] : runs_before) EXPECT_FALSE(text.empty()) << "every run is served: " << key;

    // A sign's text edited: the run of the fastest run and the graph stay as
    // they were; the runs that changed are few, and served, as are the ones
    // they replace, for a page that asks late.
    write_line("(km 0+662)", "(km 0+667)");
    session_->recompile();
    const json second = events_.back();
    EXPECT_EQ(second["drawing"]["groups"]["graph"]["k"], first["drawing"]["groups"]["graph"]["k"]);
    EXPECT_NE(second["drawing"]["groups"]["profile"]["k"], first["drawing"]["groups"]["profile"]["k"]);
    EXPECT_EQ(second["parts"]["timetable"], first["parts"]["timetable"]);
    std::string added, removed;
    for (const auto& [key, text] : event_runs(second, json::object())) {
        if (!runs_before.contains(key)) added += (added.empty() ? "" : ",") + key;
    }
    for (const auto& [key, text] : runs_before) {
        if (!event_runs(second, json::object()).contains(key)) removed += (removed.empty() ? "" : ",") + key;
        if (text.find("id=\"driving-curve\"") != std::string::npos) {
            EXPECT_TRUE(event_runs(second, json::object()).contains(key)) << "the fastest run's run is kept";
        }
    }
    std::string sent;
    for (const auto& [key, text] : second["texts"].items()) sent += (sent.empty() ? "" : ",") + key;
    EXPECT_EQ(sent, added) << "the runs that changed come with the event";
    const json fetched = json::parse(session_->piece_texts("keys=" + added + "," + removed + ",0000000000000000"));
    std::string texts;
    for (const auto& [key, text] : fetched.items()) texts += text.get<std::string>();
    EXPECT_NE(texts.find("km 0+667"), std::string::npos);
    EXPECT_NE(texts.find("km 0+662"), std::string::npos) << "the run replaced is still served";
    EXPECT_FALSE(fetched.contains("0000000000000000"));
    EXPECT_LE(fetched.size(), 6u) << "an edit to one sign changes a run or two";
}

}  // namespace
}  // namespace scenariogen
