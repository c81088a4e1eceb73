#include "views/timetable/timetable_report.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace scenariogen {

namespace {

using nlohmann::json;

std::string fixed(double v, int decimals) {
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.*f", decimals, v);
    return buf;
}

std::string two_digits(std::int64_t v) { return (v < 10 ? "0" : "") + std::to_string(v); }

// "4:24", minutes and seconds; "1:02:03" from an hour on.
std::string minutes_text(std::int64_t seconds) {
    if (seconds < 0) return "-" + minutes_text(-seconds);
    if (seconds >= 3600) {
        return std::to_string(seconds / 3600) + ":" + two_digits(seconds / 60 % 60) + ":" + two_digits(seconds % 60);
    }
    return std::to_string(seconds / 60) + ":" + two_digits(seconds % 60);
}

std::string clock_text(std::int64_t seconds) {
    return std::to_string(seconds / 3600) + ":" + two_digits(seconds / 60 % 60) + ":" + two_digits(seconds % 60);
}

std::string metres_text(double metres) { return std::to_string(static_cast<long long>(std::nearbyint(metres))) + " m"; }

std::string slack_text(double percent) { return (percent >= 0 ? "+" : "") + fixed(percent, 1) + " %"; }

// Columns of UTF-8 text, padded by characters rather than bytes.
std::size_t characters(const std::string& utf8) {
    return static_cast<std::size_t>(
        std::count_if(utf8.begin(), utf8.end(), [](char c) { return (static_cast<unsigned char>(c) & 0xC0) != 0x80; }));
}
std::string padded(const std::string& text, std::size_t width, bool right) {
    const std::string fill(width > characters(text) ? width - characters(text) : 0, ' ');
    return right ? fill + text : text + fill;
}

// A station's name as the table shows it: a name longer than any sign holds
// is cut to its first characters and "…", so that one such name does not
// make every row of the table thousands of columns wide.
std::string table_name(const std::string& utf8) {
    constexpr std::size_t kWidest = 40;
    if (characters(utf8) <= kWidest) return utf8;
    std::size_t seen = 0;
    std::size_t end = 0;
    for (; end < utf8.size(); ++end) {
        if ((static_cast<unsigned char>(utf8[end]) & 0xC0) == 0x80) continue;
        if (seen == kWidest - 1) break;
        ++seen;
    }
    return utf8.substr(0, end) + "\u2026";
}

std::string leg_name(const TimetableCheck& check, const LegCheck& leg) {
    return check.stations[leg.from].name + " \u2192 " + check.stations[leg.to].name;
}

std::string blockage_text(const Blockage& b) {
    switch (b.cause) {
        case BlockageCause::kNoSpeed:
            return "the speed in force is 0 km/h at " + metres_text(b.position_m);
        case BlockageCause::kTooSteepUp:
            return "the train stalls at " + metres_text(b.position_m) + " on the climb of " +
                   std::to_string(b.gradient_per_mille) + " \u2030";
        case BlockageCause::kTooSteepDown:
            return "the train cannot brake on the descent of " + std::to_string(b.gradient_per_mille) +
                   " \u2030 from " + metres_text(b.position_m);
    }
    return "";
}

std::vector<std::string> table_row(const TimetableCheck& check, const LegCheck& leg) {
    std::vector<std::string> row{table_name(check.stations[leg.from].name), table_name(check.stations[leg.to].name),
                                 fixed(leg.distance_m / 1000.0, 3) + " km", minutes_text(leg.scheduled_s)};
    switch (leg.status) {
        case LegStatus::kRunnable:
            row.push_back(minutes_text(leg.minimum_whole_s()));
            row.push_back(slack_text(leg.slack_percent()));
            row.push_back(fixed(leg.top_speed_kmh, 0) + " km/h");
            row.push_back(leg.too_tight() ? "too tight" : "");
            break;
        case LegStatus::kBlocked:
            row.insert(row.end(), {"-", "-", "-", "cannot be run"});
            break;
        case LegStatus::kNotAhead:
            row.insert(row.end(), {"-", "-", "-", "does not go ahead"});
            break;
    }
    return row;
}

const char* status_name(const LegCheck& leg) {
    switch (leg.status) {
        case LegStatus::kRunnable:
            return leg.too_tight() ? "too tight" : "ok";
        case LegStatus::kBlocked:
            return "cannot be run";
        case LegStatus::kNotAhead:
            return "does not go ahead";
    }
    return "";
}

double rounded(double v, int decimals) {
    const double scale = std::pow(10.0, decimals);
    return std::nearbyint(v * scale) / scale;
}
double hundredths(double v) { return rounded(v, 2); }

json leg_json(const TimetableCheck& check, const LegCheck& leg) {
    json j{{"from", check.stations[leg.from].name},
           {"to", check.stations[leg.to].name},
           {"from_entry", check.stations[leg.from].entry},
           {"to_entry", check.stations[leg.to].entry},
           {"distance_m", leg.distance_m},
           {"scheduled_s", leg.scheduled_s},
           {"status", status_name(leg)},
           {"minimum_s", nullptr},
           {"slack_percent", nullptr},
           {"top_speed_kmh", nullptr},
           {"problem", nullptr}};
    if (leg.status == LegStatus::kRunnable) {
        j["minimum_s"] = hundredths(leg.minimum_s);
        j["slack_percent"] = hundredths(leg.slack_percent());
        j["top_speed_kmh"] = hundredths(leg.top_speed_kmh);
    }
    if (const auto problem = leg_problem(check, leg)) j["problem"] = *problem;
    return j;
}

}  // namespace

std::string model_summary(const TrainModel& model) {
    std::string line = "acceleration " + fixed(model.acceleration, 2) + " m/s\u00b2, braking " +
                       fixed(model.braking, 2) + " m/s\u00b2";
    if (model.braked_mass_percent > 0) line += " (" + std::to_string(model.braked_mass_percent) + " % braked mass)";
    return line + ", top speed " + fixed(model.max_speed_kmh, 0) + " km/h";
}

std::string duration_text(std::int64_t seconds) {
    if (seconds < 0) return "-" + duration_text(-seconds);
    if (seconds < 60) return std::to_string(seconds) + " s";
    std::string text;
    if (seconds >= 3600) text = std::to_string(seconds / 3600) + " h ";
    return text + std::to_string(seconds / 60 % 60) + " min " + std::to_string(seconds % 60) + " s";
}

std::vector<std::vector<std::string>> timetable_rows(const TimetableCheck& check) {
    std::vector<std::vector<std::string>> rows{
        {"From", "To", "Distance", "Scheduled", "Minimum", "Slack", "Top speed", ""}};
    for (const LegCheck& leg : check.legs) rows.push_back(table_row(check, leg));
    return rows;
}

std::string timetable_table(const TimetableCheck& check) {
    const std::vector<bool> right{false, false, true, true, true, true, true, false};
    const std::vector<std::vector<std::string>> rows = timetable_rows(check);
    const std::vector<std::string>& heads = rows.front();
    std::vector<std::size_t> widths(heads.size(), 0);
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) widths[c] = std::max(widths[c], characters(row[c]));
    }
    std::string out = "Running-time model: " + model_summary(check.model) + "\n";
    for (const auto& row : rows) {
        std::string line;
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) line += "  ";
            line += padded(row[c], widths[c], right[c]);
        }
        line.erase(line.find_last_not_of(' ') + 1);
        out += line + "\n";
    }
    return out;
}

json timetable_json(const TimetableCheck& check) {
    const TrainModel& m = check.model;
    json model{{"acceleration_ms2", m.acceleration},
               {"braking_ms2", rounded(m.braking, 4)},
               {"braked_mass_percent", m.braked_mass_percent > 0 ? json(m.braked_mass_percent) : json()},
               {"max_speed_kmh", m.max_speed_kmh}};
    json stations = json::array();
    for (const TimetableStation& s : check.stations) {
        stations.push_back({{"entry", s.entry},
                            {"name", s.name},
                            {"position_m", s.position_m},
                            {"time", clock_text(s.time_s)},
                            {"time_s", s.time_s},
                            {"stop_s", s.dwell_s},
                            {"stops", s.stops}});
    }
    json legs = json::array();
    for (const LegCheck& leg : check.legs) legs.push_back(leg_json(check, leg));
    return {{"model", model}, {"stations", stations}, {"legs", legs}};
}

std::optional<std::string> leg_problem(const TimetableCheck& check, const LegCheck& leg) {
    switch (leg.status) {
        case LegStatus::kRunnable:
            if (!leg.too_tight()) return std::nullopt;
            return leg_name(check, leg) + " is scheduled in " + duration_text(leg.scheduled_s) +
                   "; the train needs at least " + duration_text(leg.minimum_whole_s()) + " at these limits";
        case LegStatus::kBlocked:
            return leg_name(check, leg) + " cannot be run at these limits: " +
                   (leg.blockage ? blockage_text(*leg.blockage) : std::string("the train comes to a halt"));
        case LegStatus::kNotAhead:
            return leg_name(check, leg) + " does not go ahead: " + check.stations[leg.to].name + " lies at " +
                   metres_text(check.stations[leg.to].position_m) + ", " + check.stations[leg.from].name + " at " +
                   metres_text(check.stations[leg.from].position_m);
    }
    return std::nullopt;
}

}  // namespace scenariogen
