#include "pipeline/sarif_log.h"

#include "compiler/diagnostic_format.h"

#include <map>

#include "lint/explanations.h"

namespace scenariogen {

namespace {

using nlohmann::json;

constexpr std::string_view kSchema =
    "https://docs.oasis-open.org/sarif/sarif/v2.1.0/errata01/os/schemas/sarif-schema-2.1.0.json";

// The rule a diagnostic answers to: its name, or "E" and its number.
std::string rule_id(const Diagnostic& d) { return d.name.empty() ? "E" + std::to_string(d.number) : d.name; }

json rule_json(const Diagnostic& d) {
    json rule{{"id", rule_id(d)}, {"defaultConfiguration", {{"level", severity_word(d.severity)}}}};
    const Explanation* e = find_explanation(d.name.empty() ? std::to_string(d.number) : d.name);
    if (e != nullptr) {
        rule["shortDescription"] = {{"text", explanation_title(*e)}};
        rule["fullDescription"] = {{"text", std::string(e->meaning)}};
        rule["help"] = {{"text", explanation_text(*e)}, {"markdown", explanation_markdown(*e)}};
    } else {
        rule["shortDescription"] = {{"text", diagnostic_message(d)}};
    }
    json properties{{"tags", {"scenario-description"}}};
    if (d.name.empty()) properties["errorNumber"] = d.number;
    rule["properties"] = properties;
    return rule;
}

// Where a diagnostic stands; one without a place stands in the line
// description as a whole, since a result needs a location.
json location_json(const Diagnostic& d, const DiagnosticFileNames& files) {
    const std::string file = d.where ? diagnostic_file(d, files) : files.line_file;
    json physical{{"artifactLocation", {{"uri", path_uri(file)}}}};
    if (d.where && d.where->line > 0) {
        physical["region"] = {{"startLine", d.where->line},
                              {"startColumn", std::max(d.where->column, 1)},
                              {"endColumn", std::max({d.where->end_column, d.where->column, 1})}};
    }
    return {{"physicalLocation", physical}};
}

bool unreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~' || c == '/';
}

}  // namespace

std::string path_uri(std::string_view path) {
    std::string slashed(path);
    for (char& c : slashed) c = c == '\\' ? '/' : c;
    const bool drive = slashed.size() >= 3 && slashed[1] == ':' && slashed[2] == '/';
    std::string uri = drive ? "file:///" + slashed.substr(0, 2) : (slashed.rfind('/', 0) == 0 ? "file://" : "");
    static constexpr char kHex[] = "0123456789ABCDEF";
    for (std::size_t i = drive ? 2 : 0; i < slashed.size(); ++i) {
        const auto c = static_cast<unsigned char>(slashed[i]);
        if (unreserved(c)) {
            uri += static_cast<char>(c);
        } else {
            uri += {'%', kHex[c >> 4], kHex[c & 0x0F]};
        }
    }
    return uri;
}

json sarif_log(const Diagnostics& diagnostics, const DiagnosticFileNames& files, std::string_view version) {
    json rules = json::array();
    std::map<std::string, std::size_t> rule_index;
    json results = json::array();
    for (const Diagnostic& d : diagnostics) {
        if (d.severity == Severity::kNote) {
            if (results.empty()) continue;
            json related = location_json(d, files);
            related["id"] = results.back()["relatedLocations"].size();
            related["message"] = {{"text", diagnostic_message(d)}};
            results.back()["relatedLocations"].push_back(related);
            continue;
        }
        const std::string id = rule_id(d);
        if (rule_index.count(id) == 0) {
            rule_index[id] = rules.size();
            rules.push_back(rule_json(d));
        }
        results.push_back({{"ruleId", id},
                           {"ruleIndex", rule_index[id]},
                           {"level", severity_word(d.severity)},
                           {"message", {{"text", diagnostic_message(d)}}},
                           {"locations", {location_json(d, files)}},
                           {"relatedLocations", json::array()}});
        // A mistake that the compiler records too carries its number.
        if (d.number != 0) results.back()["properties"] = {{"errorNumber", d.number}};
    }
    for (json& r : results) {
        if (r["relatedLocations"].empty()) r.erase("relatedLocations");
    }
    json driver{{"name", "scenariogen"}, {"version", std::string(version)}, {"rules", rules}};
    return {{"$schema", std::string(kSchema)},
            {"version", "2.1.0"},
            {"runs",
             {{{"tool", {{"driver", driver}}},
               {"columnKind", "unicodeCodePoints"},
               {"invocations", {{{"executionSuccessful", true}}}},
               {"results", results}}}}};
}

}  // namespace scenariogen
