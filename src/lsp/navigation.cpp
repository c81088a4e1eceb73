#include "lsp/navigation.h"

#include <algorithm>
#include <cctype>
#include <stdexcept>

#include "lsp/description_view.h"
#include "lsp/protocol_json.h"
#include "text/windows_1252.h"

namespace scenariogen::lsp {

namespace {

using nlohmann::json;
using syntax::Keyword;

// One place a station's name is written.
struct Occurrence {
    const OpenDocument* document = nullptr;
    int line = 0;
    int begin = 0;  // characters, 0-based
    int end = 0;
    bool declaration = false;  // the name of a station line
};

json location(const OpenDocument& document, int line, int begin, int end) {
    return {{"uri", document.uri}, {"range", character_range_json(document.text, line, begin, end)}};
}

json location(const Occurrence& o) { return location(*o.document, o.line, o.begin, o.end); }

// The column a field's text starts at: after the quote of a quoted text.
int text_column(const OpenDocument& document, int line, const ViewField& field) {
    const std::string_view row = description_line(document, line);
    return static_cast<int>(field.text.data() - row.data());
}

struct StationName {
    int line = 0;
    int begin = 0;
    std::string name;  // Windows-1252, without the blanks after it
};

struct SignText {
    int line = 0;
    int begin = 0;
    std::string_view text;
};

// Where names are written in a pair: the stations' names and the sign
// texts, each description read once.
struct NameIndex {
    const OpenDocument* line = nullptr;
    const OpenDocument* train = nullptr;
    std::vector<StationName> stations;
    std::vector<SignText> signs;
};

std::vector<StationName> station_names(const OpenDocument& train) {
    const DescriptionView view = view_description(train.description, SourceFile::kTrain);
    std::vector<StationName> names;
    const std::size_t all = syntax::shape(Keyword::kStation).values.size();
    for (int i = 0; i < static_cast<int>(view.lines.size()); ++i) {
        const ViewLine& line = view.lines[static_cast<std::size_t>(i)];
        if (line.kind != LineKind::kKeyword || line.keyword != Keyword::kStation || line.values.size() != all ||
            line.missing > 0) {
            continue;
        }
        const ViewField& field = *line.value(all - 1);
        std::string name(field.text);
        name.erase(std::min(name.size(), name.find_last_not_of(" \t") + 1));
        if (!name.empty()) names.push_back({i, text_column(train, i, field), name});
    }
    return names;
}

std::vector<SignText> sign_texts(const OpenDocument& line_document) {
    const DescriptionView view = view_description(line_document.description, SourceFile::kLine);
    std::vector<SignText> signs;
    for (int i = 0; i < static_cast<int>(view.lines.size()); ++i) {
        const ViewLine& line = view.lines[static_cast<std::size_t>(i)];
        if (line.kind != LineKind::kKeyword || line.keyword != Keyword::kSign || !line.value(1)) continue;
        signs.push_back({i, text_column(line_document, i, *line.value(1)), line.value(1)->text});
    }
    return signs;
}

NameIndex name_index(const PairView& pair) {
    const bool line = pair.document.pairing.role == SourceFile::kLine;
    NameIndex index{line ? &pair.document : pair.partner, line ? pair.partner : &pair.document, {}, {}};
    if (index.train) index.stations = station_names(*index.train);
    if (index.line) index.signs = sign_texts(*index.line);
    return index;
}

bool word_character(char c) { return std::isalnum(static_cast<unsigned char>(c)) || (c & 0x80) != 0; }

// Where `name` stands as a whole word in a sign text, as columns of its line.
std::vector<int> name_columns(const SignText& sign, const std::string& name) {
    std::vector<int> columns;
    const std::string_view text = sign.text;
    for (std::size_t at = text.find(name); at != std::string_view::npos; at = text.find(name, at + 1)) {
        const std::size_t after = at + name.size();
        if ((at > 0 && word_character(text[at - 1])) || (after < text.size() && word_character(text[after]))) {
            continue;
        }
        columns.push_back(sign.begin + static_cast<int>(at));
    }
    return columns;
}

std::vector<Occurrence> occurrences(const NameIndex& index, const std::string& name) {
    std::vector<Occurrence> found;
    const int size = static_cast<int>(name.size());
    for (const StationName& station : index.stations) {
        if (station.name == name)
            found.push_back({index.train, station.line, station.begin, station.begin + size, true});
    }
    for (const SignText& sign : index.signs) {
        for (const int column : name_columns(sign, name)) {
            found.push_back({index.line, sign.line, column, column + size, false});
        }
    }
    return found;
}

// The station's name under the cursor, and where it stands.
std::optional<Occurrence> name_at(const PairView& pair, const NameIndex& index, TextPosition at, std::string& name) {
    const int column = pair.document.text.character_column(at.line, at.character);
    const auto covers = [&](int begin, int size) { return begin <= column && column <= begin + size; };
    for (const StationName& station : index.stations) {
        const int size = static_cast<int>(station.name.size());
        if (index.train == &pair.document && station.line == at.line && covers(station.begin, size)) {
            name = station.name;
            return Occurrence{index.train, station.line, station.begin, station.begin + size, true};
        }
        if (index.line != &pair.document) continue;
        for (const SignText& sign : index.signs) {
            if (sign.line != at.line) continue;
            for (const int begin : name_columns(sign, station.name)) {
                if (!covers(begin, size)) continue;
                name = station.name;
                return Occurrence{index.line, sign.line, begin, begin + size, false};
            }
        }
    }
    return std::nullopt;
}

// The diagnostics published for a URI by the unit.
const json* published(const CompileUnit& unit, const std::string& uri) {
    const auto found = unit.diagnostics.find(uri);
    return found == unit.diagnostics.end() ? nullptr : &found->second;
}

bool starts_on(const json& range, const std::string& uri, const std::string& at_uri, int line) {
    return uri == at_uri && range["start"]["line"].get<int>() == line;
}

// The places the faults of a line name (the other object of a clash).
void related_to(const PairView& pair, int line, json& out) {
    const json* list = published(*pair.unit, pair.document.uri);
    if (list == nullptr) return;
    for (const json& d : *list) {
        if (!starts_on(d["range"], pair.document.uri, pair.document.uri, line)) continue;
        for (const json& related : d.value("relatedInformation", json::array())) out.push_back(related["location"]);
    }
}

// The places of the faults that name a line.
void naming(const PairView& pair, int line, json& out) {
    for (const auto& [uri, list] : pair.unit->diagnostics) {
        for (const json& d : list) {
            for (const json& related : d.value("relatedInformation", json::array())) {
                const json& place = related["location"];
                if (starts_on(place["range"], place["uri"].get<std::string>(), pair.document.uri, line)) {
                    out.push_back({{"uri", uri}, {"range", d["range"]}});
                }
            }
        }
    }
}

// Objects that hold cells, as opposed to the changes that hold from a
// boundary on (gradients, speeds, adhesions) and the plan's curves.
bool holds_cells(Keyword keyword) {
    return keyword != Keyword::kGradient && keyword != Keyword::kSpeed && keyword != Keyword::kAdhesion &&
           keyword != Keyword::kCurve;
}

// The objects of the other file whose cells meet the cells of the object
// on `line`.
void sharing_cells(const PairView& pair, int line, json& out) {
    if (!pair.unit->result || !pair.partner) return;
    const std::vector<Placement>& placements = pair.unit->result->placements;
    const SourceFile file = pair.document.pairing.role;
    const auto own = std::find_if(placements.begin(), placements.end(),
                                  [&](const Placement& p) { return p.file == file && p.line == line + 1; });
    if (own == placements.end() || !holds_cells(own->keyword) || own->first_cell > own->last_cell) return;
    for (const Placement& p : placements) {
        if (p.file == file || !holds_cells(p.keyword) || p.first_cell > own->last_cell ||
            own->first_cell > p.last_cell) {
            continue;
        }
        out.push_back(location(*pair.partner, p.line - 1, p.keyword_at.column - 1, p.keyword_at.end_column - 1));
    }
}

json unique(json locations) {
    json out = json::array();
    for (json& l : locations) {
        if (std::find(out.begin(), out.end(), l) == out.end()) out.push_back(std::move(l));
    }
    return out;
}

// A name the reader reads back as written: on one line, without a comma
// (which would end it) or a leading quote or blank (which it would drop),
// every character with a Windows-1252 form.
std::string checked_name(const std::string& utf8) {
    const auto refuse = [](const std::string& why) { throw std::invalid_argument("the new name " + why); };
    if (utf8.empty() || utf8.find_first_not_of(" \t") == std::string::npos) refuse("is empty");
    if (utf8.find_first_of(",\r\n") != std::string::npos) refuse("may hold no comma and no line end");
    if (utf8.front() == '"' || utf8.front() == ' ' || utf8.front() == '\t') {
        refuse("may not begin with a blank or a double quote");
    }
    const std::string bytes = to_windows_1252(utf8);
    if (from_windows_1252(bytes) != utf8) refuse("holds a character that the description's encoding cannot hold");
    return bytes;
}

}  // namespace

json definition(const PairView& pair, TextPosition at) {
    std::string name;
    const NameIndex index = name_index(pair);
    if (name_at(pair, index, at, name)) {
        json out = json::array();
        for (const Occurrence& o : occurrences(index, name)) {
            if (o.declaration) out.push_back(location(o));
        }
        return out;
    }
    json out = json::array();
    if (!pair.unit) return out;
    related_to(pair, at.line, out);
    sharing_cells(pair, at.line, out);
    return unique(std::move(out));
}

json references(const PairView& pair, TextPosition at, bool with_declaration) {
    json out = json::array();
    std::string name;
    const NameIndex index = name_index(pair);
    if (name_at(pair, index, at, name)) {
        for (const Occurrence& o : occurrences(index, name)) {
            if (with_declaration || !o.declaration) out.push_back(location(o));
        }
        return out;
    }
    if (!pair.unit) return out;
    naming(pair, at.line, out);
    related_to(pair, at.line, out);
    return unique(std::move(out));
}

json document_highlight(const PairView& pair, TextPosition at) {
    constexpr int kText = 1;
    json out = json::array();
    std::string name;
    const NameIndex index = name_index(pair);
    if (name_at(pair, index, at, name)) {
        for (const Occurrence& o : occurrences(index, name)) {
            if (o.document != &pair.document) continue;
            out.push_back({{"range", character_range_json(o.document->text, o.line, o.begin, o.end)}, {"kind", kText}});
        }
        return out;
    }
    if (!pair.unit) return out;
    json places = json::array();
    related_to(pair, at.line, places);
    naming(pair, at.line, places);
    for (const json& place : unique(std::move(places))) {
        if (place["uri"] == pair.document.uri) out.push_back({{"range", place["range"]}, {"kind", kText}});
    }
    return out;
}

json prepare_rename(const PairView& pair, TextPosition at) {
    std::string name;
    const std::optional<Occurrence> found = name_at(pair, name_index(pair), at, name);
    if (!found) return nullptr;
    return {{"range", character_range_json(pair.document.text, found->line, found->begin, found->end)},
            {"placeholder", from_windows_1252(name)}};
}

json rename(const PairView& pair, TextPosition at, const std::string& new_name) {
    std::string name;
    const NameIndex index = name_index(pair);
    if (!name_at(pair, index, at, name)) throw std::invalid_argument("no station's name stands there");
    const std::string written = from_windows_1252(checked_name(new_name));
    json changes = json::object();
    for (const Occurrence& o : occurrences(index, name)) {
        changes[o.document->uri].push_back(
            {{"range", character_range_json(o.document->text, o.line, o.begin, o.end)}, {"newText", written}});
    }
    return {{"changes", changes}};
}

}  // namespace scenariogen::lsp
