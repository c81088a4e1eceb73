#include "pipeline/diagnostics_json.h"

#include "compiler/diagnostic_format.h"
#include "compiler/error_numbers.h"

namespace scenariogen {

namespace {

using nlohmann::json;

json range_json(const Diagnostic& d) {
    if (!d.where || d.where->line <= 0) return nullptr;
    const SourceRange& r = *d.where;
    return {{"start", {{"line", r.line}, {"column", r.column}}},
            {"end", {{"line", r.line}, {"column", std::max(r.end_column, r.column)}}}};
}

json file_json(const Diagnostic& d, const DiagnosticFileNames& files) {
    const std::string file = diagnostic_file(d, files);
    return file.empty() ? json(nullptr) : json(file);
}

template <typename T>
json optional_json(const std::optional<T>& value) {
    return value ? json(*value) : json(nullptr);
}

}  // namespace

std::string diagnostic_message(const Diagnostic& d) {
    std::string text = d.message;
    if (d.number != 0 && text.empty()) text = std::string(error_sentence(d.number));
    if (!d.detail.empty()) text += ": " + d.detail;
    return text;
}

std::string diagnostic_file(const Diagnostic& d, const DiagnosticFileNames& files) {
    if (!d.where) return {};
    return d.where->file == SourceFile::kLine ? files.line_file : files.train_file;
}

json diagnostics_json(const Diagnostics& diagnostics, const DiagnosticFileNames& files) {
    json all = json::array();
    for (const Diagnostic& d : diagnostics) {
        if (d.severity == Severity::kNote) {
            if (all.empty()) continue;  // a note on nothing: the check's own closing note has no diagnostic
            all.back()["notes"].push_back(
                {{"file", file_json(d, files)}, {"range", range_json(d)}, {"message", diagnostic_message(d)}});
            continue;
        }
        all.push_back({{"file", file_json(d, files)},
                       {"range", range_json(d)},
                       {"severity", severity_word(d.severity)},
                       {"number", d.number != 0 ? json(d.number) : json(nullptr)},
                       {"name", d.name.empty() ? json(nullptr) : json(d.name)},
                       {"message", diagnostic_message(d)},
                       {"position_m", optional_json(d.position)},
                       {"cell", optional_json(d.cell)},
                       {"notes", json::array()}});
    }
    return all;
}

}  // namespace scenariogen
