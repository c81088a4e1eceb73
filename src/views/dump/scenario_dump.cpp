#include "views/dump/scenario_dump.h"

#include <cstdio>
#include <sstream>

#include "format/binary_format.h"
#include "format/binary_reader.h"
#include "text/text_lines.h"

namespace scenariogen {

namespace {

using nlohmann::json;

bool ends_with(std::string_view text, std::string_view tail) {
    return text.size() >= tail.size() && text.substr(text.size() - tail.size()) == tail;
}

std::string clock_text(std::int32_t seconds) {
    char text[32];
    std::snprintf(text, sizeof text, "%d:%02d:%02d", seconds / 3600, (seconds / 60) % 60, seconds % 60);
    return text;
}

bool holds_anything(const Cell& c) {
    return c.kind || c.value_1 || c.value_2 || c.value_3 || c.value_4 || c.signal_time || c.approach_marker ||
           c.mountain_kind || c.speed_limit || c.gradient || c.adhesion;
}

bool line_changes(const Cell& c, const Cell* previous) {
    return previous == nullptr || c.speed_limit != previous->speed_limit || c.gradient != previous->gradient ||
           c.adhesion != previous->adhesion || c.mountain_kind != previous->mountain_kind;
}

json cell_json(std::size_t i, const Cell& c) {
    json row{{"cell", i},
             {"from_m", (static_cast<std::int64_t>(i) - 1) * 50},
             {"object", cell_kind_name(c.kind)},
             {"tipo", c.kind}};
    if (c.value_1 || c.value_2 || c.value_3 || c.value_4) {
        row["values"] = {c.value_1, c.value_2, c.value_3, c.value_4};
    }
    if (c.signal_time) row["signal_time"] = c.signal_time;
    if (c.approach_marker) row["approach_marker"] = c.approach_marker;
    if (c.mountain_kind) row["mountain_kind"] = c.mountain_kind;
    row["speed_kmh"] = c.speed_limit * 5;
    row["gradient_per_mille"] = c.gradient == 0 ? json() : json(c.gradient - 100);
    row["adhesion"] = c.adhesion;
    return row;
}

json cells_json(std::string_view bytes, const DumpOptions& options) {
    const auto cells = decode_cells(bytes);
    json rows = json::array();
    const Cell* previous = nullptr;
    for (std::size_t i = 0; i < cells.size(); ++i) {
        const Cell& c = cells[i];
        const bool marked = c.kind || c.approach_marker || c.signal_time || (i == 1 && (c.value_1 || c.value_2));
        if (holds_anything(c) && (options.all_cells || marked || line_changes(c, previous))) {
            rows.push_back(cell_json(i, c));
        }
        previous = &c;
    }
    return {{"kind", "cells"}, {"cells", cells.size()}, {"last_cell", cells.size() - 1}, {"rows", rows}};
}

json station_json(std::size_t entry, const StationEntry& v) {
    return {{"entry", entry},
            {"name", from_windows_1252(v.name)},
            {"tipo", v.kind},
            {"start_m", v.start},
            {"end_m", v.end},
            {"position_m", v.position},
            {"time", clock_text(v.time)},
            {"time_s", v.time},
            {"stop_s", v.dwell},
            {"attributo_5", v.attribute_5},
            {"attributo_7", v.attribute_7},
            {"attributo_8", v.attribute_8},
            {"attributo_9", v.attribute_9},
            {"attributo_10", v.attribute_10},
            {"attributo_11", v.attribute_11},
            {"attributo_12", v.attribute_12},
            {"attributo_14", v.attribute_14},
            {"attributo_15", v.attribute_15}};
}

json station_table_json(std::string_view bytes) {
    const auto table = decode_station_table(bytes);
    json stations = json::array();
    json signs = json::array();
    for (std::size_t k = 1; k <= kFirstSignEntry; ++k) {
        const StationEntry& v = table[k];
        if (only_a_name(v) && !v.name.empty()) {
            signs.push_back({{"entry", k}, {"text", from_windows_1252(v.name)}});
        } else if (!only_a_name(v) || !v.name.empty()) {
            stations.push_back(station_json(k, v));
        }
    }
    const TableHeader h = read_table_header(table);
    json progressives = json::array();
    for (const ProgressiveEntry& p : h.progressives) {
        progressives.push_back({{"entry", p.entry},
                                {"from_m", p.from_m},
                                {"reference_m", p.reference_m},
                                {"sense", p.falling ? "falling" : "rising"}});
    }
    return {{"kind", "station_table"},
            {"stations", stations},
            {"signs", signs},
            {"progressives", progressives},
            {"train",
             {{"braked_mass_percent", h.braked_mass_percent},
              {"route_length_m", h.route_length_m},
              {"coaches", h.coaches}}},
            {"scenario",
             {{"name", from_windows_1252(h.scenario_name)},
              {"background_1", h.background_1},
              {"background_2", h.background_2},
              {"background_3", h.background_3},
              {"header", h.header},
              {"identity_code", h.identity_code}}},
            {"signal_repetition",
             {{"first_m", h.repetition_first_m}, {"second_m", h.repetition_second_m}, {"codes", h.repetition_codes}}},
            {"train_number", from_windows_1252(h.train_number)},
            {"sand", h.sand},
            {"clock", clock_text(h.clock_s)}};
}

json grid_value(const GridValue& v) { return v.tag == format::grid::kEmpty ? json() : json(v.value); }

json grid_json(std::string_view bytes, const DumpOptions& options) {
    const DecodedGrid grid = decode_grid(bytes);
    json rows = json::array();
    const std::size_t every = static_cast<std::size_t>(std::max<std::int32_t>(options.every, 1));
    for (std::size_t m = 0; m < grid.x.size(); m += every) {
        rows.push_back({{"metre", m}, {"x", grid_value(grid.x[m])}, {"y", grid_value(grid.y[m])}});
    }
    return {{"kind", "grid"},
            {"last_metre", grid.x.size() - 1},
            {"computed_metres", computed_metres(grid)},
            {"rows", rows}};
}

std::string cell_or_blank(const json& v) {
    if (v.is_null()) return "";
    std::ostringstream out;
    out << v;
    return out.str();
}

std::string cells_table(const json& d) {
    std::ostringstream out;
    char line[256];
    std::snprintf(line, sizeof line, "%6s %8s  %-22s %6s %6s %6s %6s %5s %5s %4s %6s %6s %4s\n", "cell", "from_m",
                  "object", "val_1", "val_2", "val_3", "val_4", "time", "appr", "mnt", "km/h", "grad", "adh");
    out << line;
    for (const json& r : d["rows"]) {
        const json values = r.value("values", json::array({0, 0, 0, 0}));
        std::snprintf(line, sizeof line, "%6d %8lld  %-22s %6d %6d %6d %6d %5d %5d %4d %6d %6s %4d\n",
                      r["cell"].get<int>(), r["from_m"].get<long long>(), r["object"].get<std::string>().c_str(),
                      values[0].get<int>(), values[1].get<int>(), values[2].get<int>(), values[3].get<int>(),
                      r.value("signal_time", 0), r.value("approach_marker", 0), r.value("mountain_kind", 0),
                      r["speed_kmh"].get<int>(), cell_or_blank(r["gradient_per_mille"]).c_str(),
                      r["adhesion"].get<int>());
        out << line;
    }
    out << d["cells"].get<std::size_t>() << " cells (0 to " << d["last_cell"].get<std::size_t>() << ")\n";
    return out.str();
}

std::string station_table_text(const json& d) {
    std::ostringstream out;
    char line[512];
    out << "Stations\n";
    std::snprintf(line, sizeof line, "%5s  %-24s %4s %9s %9s %9s %9s %5s\n", "entry", "name", "tipo", "start_m",
                  "end_m", "pos_m", "time", "stop");
    out << line;
    for (const json& s : d["stations"]) {
        std::snprintf(line, sizeof line, "%5d  %-24s %4d %9d %9d %9d %9s %5d\n", s["entry"].get<int>(),
                      s["name"].get<std::string>().c_str(), s["tipo"].get<int>(), s["start_m"].get<int>(),
                      s["end_m"].get<int>(), s["position_m"].get<int>(), s["time"].get<std::string>().c_str(),
                      s["stop_s"].get<int>());
        out << line;
    }
    out << "\nSign texts\n";
    for (const json& s : d["signs"]) out << "  " << s["entry"] << "  " << s["text"].get<std::string>() << "\n";
    out << "\nKilometric progressives\n";
    for (const json& p : d["progressives"]) {
        out << "  " << p["entry"] << "  from " << p["from_m"] << " m, reference " << p["reference_m"] << " m, "
            << p["sense"].get<std::string>() << "\n";
    }
    const json& t = d["train"];
    const json& sc = d["scenario"];
    const json& r = d["signal_repetition"];
    out << "\nTrain " << d["train_number"].get<std::string>() << ": " << t["coaches"] << " coaches, "
        << t["braked_mass_percent"] << " % braked mass, sand " << d["sand"] << ", clock "
        << d["clock"].get<std::string>() << "\n";
    out << "Scenario " << sc["name"].get<std::string>() << ": route " << t["route_length_m"] << " m, backgrounds "
        << sc["background_1"] << " " << sc["background_2"] << " " << sc["background_3"] << ", header " << sc["header"]
        << ", identity code " << sc["identity_code"] << "\n";
    out << "Signal repetition: " << r["codes"] << " codes, " << r["first_m"] << " m, " << r["second_m"] << " m\n";
    return out.str();
}

std::string grid_text(const json& d) {
    std::ostringstream out;
    char line[128];
    std::snprintf(line, sizeof line, "%9s %16s %16s\n", "metre", "x", "y");
    out << line;
    for (const json& r : d["rows"]) {
        const auto coordinate = [](const json& v) {
            char text[32];
            if (v.is_null()) return std::string("empty");
            std::snprintf(text, sizeof text, "%.6f", v.get<double>());
            return std::string(text);
        };
        std::snprintf(line, sizeof line, "%9d %16s %16s\n", r["metre"].get<int>(), coordinate(r["x"]).c_str(),
                      coordinate(r["y"]).c_str());
        out << line;
    }
    out << "metres 0 to " << d["last_metre"] << ", computed up to " << d["computed_metres"].get<int>() - 1 << "\n";
    return out.str();
}

}  // namespace

std::string_view cell_kind_name(std::uint8_t kind) {
    switch (kind) {
        case kEmpty:
            return "";
        case kSignal:
            return "signal";
        case kSlowdownEnd:
            return "slowdown end";
        case kSlowdownStart:
            return "slowdown start";
        case kSlowdownWarning:
            return "slowdown warning";
        case kBeforeWarning:
            return "before warning";
        case kSpeedBoard:
            return "speed board";
        case kStationEnd:
            return "station end";
        case kMountainMarker:
            return "mountain marker";
        case kCodeDrop:
            return "code drop";
        case kCodeDropWithoutValue:
            return "code drop (no value)";
        case kSign:
            return "sign board";
        default:
            return "unknown";
    }
}

FileKind detect_kind(std::string_view name, std::string_view bytes) {
    if (ends_with(name, ".sim")) return FileKind::kStationTable;
    if (ends_with(name, "_linea.dat")) return FileKind::kGrid;
    if (ends_with(name, ".dat")) return looks_like_grid(bytes) ? FileKind::kGrid : FileKind::kCells;
    if (looks_like_station_table(bytes)) return FileKind::kStationTable;
    if (looks_like_grid(bytes)) return FileKind::kGrid;
    if (!bytes.empty() && bytes.size() % format::kCellSize == 0) return FileKind::kCells;
    throw DecodeError("neither a cell file, a station table nor a grid", 0);
}

nlohmann::json dump_json(FileKind kind, std::string_view bytes, const DumpOptions& options) {
    switch (kind) {
        case FileKind::kCells:
            return cells_json(bytes, options);
        case FileKind::kStationTable:
            return station_table_json(bytes);
        case FileKind::kGrid:
            return grid_json(bytes, options);
    }
    return {};
}

std::string dump_table(FileKind kind, std::string_view bytes, const DumpOptions& options) {
    const json d = dump_json(kind, bytes, options);
    switch (kind) {
        case FileKind::kCells:
            return cells_table(d);
        case FileKind::kStationTable:
            return station_table_text(d);
        case FileKind::kGrid:
            return grid_text(d);
    }
    return {};
}

}  // namespace scenariogen
