// `scenariogen check`: the table of the legs, the warning for a leg that
// cannot be kept at the arrival station's line, -Werror and -Wno-timetable,
// --json, and the errors and exit statuses that it shares with compile.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>

#include "test_support.h"

namespace scenariogen {
namespace {

using testing::Outcome;
using testing::run_program;
using testing::spit;
using testing::TempDir;

// The scenario's own descriptions in a folder, the train description
// changed by `edit` (one text replaced by another).
struct Sources {
    TempDir dir;
    std::string line = dir.file("linea.txt");
    std::string train = dir.file("treno.txt");

    explicit Sources(const std::string& from = "", const std::string& to = "") {
        std::string train_text = testing::own_train_text();
        if (!from.empty()) {
            const auto at = train_text.find(from);
            if (at == std::string::npos) throw std::logic_error("no " + from + " in the train description");
            train_text.replace(at, from.size(), to);
        }
        spit(line, testing::own_line_text());
        spit(train, train_text);
    }

    Outcome check(const std::string& options = "") const {
        return run_program("check " + line + " " + train + (options.empty() ? "" : " " + options));
    }
};

// ODELMA P.LIVARA, line 24 of the train description: its arrival a minute
// earlier leaves 4 min for a leg that needs 4 min 16 s.
const std::string kLivara = "7,  25,  0,   ODELMA P.LIVARA";
const std::string kLivaraEarlier = "7,  24,  0,   ODELMA P.LIVARA";

std::size_t count(const std::string& text, const std::string& what) {
    std::size_t n = 0;
    for (auto at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
    return n;
}

TEST(CheckCommand, TheScenariosOwnTimetableCanBeKept) {
    const Sources sources;
    const Outcome outcome = sources.check();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err, "");
    EXPECT_EQ(count(outcome.out, "\n"), 10u) << outcome.out;  // the model, the heads, eight legs
    EXPECT_NE(outcome.out.find("braking 0.90 m/s\u00b2 (130 % braked mass), top speed 130 km/h"), std::string::npos);
    EXPECT_NE(outcome.out.find("LUVERA               BRENDAGO              7.500 km       6:00     4:24   +36.5 %"),
              std::string::npos)
        << outcome.out;
    EXPECT_EQ(count(outcome.out, "too tight"), 0u);
}

TEST(CheckCommand, ALegTooTightByAMinuteIsAWarningAtTheArrivalStation) {
    const Sources sources(kLivara, kLivaraEarlier);
    const Outcome outcome = sources.check();
    EXPECT_EQ(outcome.status, 0);
    EXPECT_EQ(outcome.err,
              sources.train +
                  ":24:71: warning: ODELMA S.LEONARDINO \u2192 ODELMA P.LIVARA is scheduled in 4 min 0 s; the train "
                  "needs at least 4 min 16 s at these limits [timetable]\n"
                  "  stazione,  44200,  12,  600,  1,  0,  0,  1,  1,  0,  2,  1,  1,  0,  7,  24,  0,   ODELMA "
                  "P.LIVARA\n"
                  "                                                                        ^\n");
    EXPECT_EQ(count(outcome.out, "too tight"), 1u);

    // -Werror makes it an error, as compile does with its warnings; -Wno-timetable turns it off.
    const Outcome strict = sources.check("-Werror");
    EXPECT_EQ(strict.status, 1);
    EXPECT_NE(strict.err.find(":24:71: error: ODELMA S.LEONARDINO"), std::string::npos) << strict.err;
    EXPECT_NE(strict.err.find("at these limits [timetable]\n"), std::string::npos);
    EXPECT_NE(strict.err.find("scenariogen: 1 error (-Werror)\n"), std::string::npos);
    EXPECT_EQ(Sources().check("-Werror").status, 0);
    const Outcome quiet = sources.check("-Wno-timetable");
    EXPECT_EQ(quiet.status, 0);
    EXPECT_EQ(quiet.err, "");
    EXPECT_EQ(count(quiet.out, "too tight"), 1u);
}

TEST(CheckCommand, JsonForOtherTools) {
    const Sources sources(kLivara, kLivaraEarlier);
    const Outcome outcome = sources.check("--json");
    ASSERT_EQ(outcome.status, 0);
    const nlohmann::json j = nlohmann::json::parse(outcome.out);
    ASSERT_EQ(j["legs"].size(), 8u);
    ASSERT_EQ(j["stations"].size(), 9u);
    const nlohmann::json& tight = j["legs"][7];
    EXPECT_EQ(tight["to"], "ODELMA P.LIVARA");
    EXPECT_EQ(tight["status"], "too tight");
    EXPECT_EQ(tight["scheduled_s"], 240);
    EXPECT_EQ(tight["where"], (nlohmann::json{{"file", sources.train}, {"line", 24}, {"column", 71}}));
    EXPECT_EQ(j["legs"][1]["minimum_s"], 263.8);
    EXPECT_FALSE(j["legs"][1].contains("where"));
    EXPECT_EQ(j["model"]["braked_mass_percent"], 130);
    EXPECT_EQ(j["model"]["max_speed_kmh"], 130);
}

TEST(CheckCommand, TheModelsParameters) {
    const Sources sources;
    // At 60 km/h four legs cannot be kept.
    const Outcome slow = sources.check("--max-speed 60");
    EXPECT_EQ(slow.status, 0);
    EXPECT_EQ(count(slow.err, "warning: "), 4u) << slow.err;
    EXPECT_NE(slow.out.find("top speed 60 km/h"), std::string::npos);

    const Outcome chosen = sources.check("--acceleration 0.3 --braking 0.6");
    EXPECT_NE(chosen.out.find("acceleration 0.30 m/s\u00b2, braking 0.60 m/s\u00b2, top speed"), std::string::npos)
        << chosen.out;

    for (const char* bad : {"--acceleration 0", "--braking -1", "--max-speed x", "-Wnonsense", "-fmax-errors=x"}) {
        EXPECT_EQ(sources.check(bad).status, 2) << bad;
    }
}

TEST(CheckCommand, WarningOptionsAsCompilersHaveThem) {
    const Sources sources(kLivara, kLivaraEarlier);
    EXPECT_EQ(sources.check("-Werror=timetable").status, 1);
    EXPECT_EQ(sources.check("-Werror -Wno-error=timetable").status, 0);
    EXPECT_EQ(sources.check("-Werror=board-limit").status, 0);
    const Outcome misspelt = sources.check("-Werror=timetabel");
    EXPECT_EQ(misspelt.status, 2);
    EXPECT_NE(misspelt.err.find("'timetabel' names no warning; did you mean 'timetable'?"), std::string::npos)
        << misspelt.err;
    const Outcome listed = run_program("check --list-warnings");
    EXPECT_EQ(listed.status, 0);
    EXPECT_NE(listed.out.find("  timetable "), std::string::npos) << listed.out;
    EXPECT_NE(run_program("compile --help").out.find("  steep-gradient "), std::string::npos);
}

// A train without a brake is a fault of its description, at its line: the
// check cannot run it unless --braking gives the rate.
TEST(CheckCommand, NoBrakedMassNeedsABrakingRate) {
    const Sources sources("percentuale massa frenata,    130", "percentuale massa frenata,    0");
    const Outcome outcome = sources.check();
    EXPECT_EQ(outcome.status, 1);
    EXPECT_NE(outcome.err.find(":3:31: error: a braked-mass percentage of 0 % gives the train no brake"),
              std::string::npos)
        << outcome.err;
    EXPECT_NE(outcome.err.find("--braking [braked-mass]"), std::string::npos) << outcome.err;
    EXPECT_EQ(sources.check("--braking 0.7").status, 0);
    // Turned off, the warning still leaves the error, on the file.
    const Outcome quiet = sources.check("-Wno-braked-mass");
    EXPECT_EQ(quiet.status, 1);
    EXPECT_NE(quiet.err.find("treno.txt: error: the train's braked-mass percentage is 0 % or not given"),
              std::string::npos)
        << quiet.err;
}

// The descriptions' errors are those of compile, in the same words; only
// the last line differs: the check does not run.
TEST(CheckCommand, FaultsAreThoseOfCompileAndStopTheCheck) {
    const Sources sources("stazione,  5300,", "stazione,  5310,");
    const Outcome checked = sources.check();
    TempDir out;
    const Outcome compiled =
        run_program("compile " + sources.line + " " + sources.train + " -o " + out.path().string());
    EXPECT_EQ(checked.status, compiled.status);
    EXPECT_EQ(checked.status, 1);
    const auto without_last_line = [](const std::string& text) {
        return text.substr(0, text.rfind('\n', text.size() - 2) + 1);
    };
    EXPECT_EQ(without_last_line(checked.err), without_last_line(compiled.err));
    EXPECT_NE(checked.err.find(":17:12: error 8: the station's position 5310 m is not a multiple of 50 [not-multiple]"),
              std::string::npos)
        << checked.err;
    EXPECT_NE(checked.err.find("scenariogen: 1 error; the timetable was not checked\n"), std::string::npos)
        << "one mistake, one diagnostic, with the compiler's number";
    EXPECT_EQ(checked.out, "");

    EXPECT_EQ(run_program("check " + sources.dir.file("none.txt") + " " + sources.train).status, 2);
}

}  // namespace
}  // namespace scenariogen
