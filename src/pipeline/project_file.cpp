#include "pipeline/project_file.h"

#include <algorithm>
#include <nlohmann/json.hpp>

#include "lint/suggestion.h"
#include "pipeline/json_places.h"
#include "platform/file_system.h"
#include "platform/program_folder.h"

namespace scenariogen {

namespace {

using nlohmann::json;

constexpr std::size_t kMaxProjectBytes = 1 << 20;

#ifdef _WIN32
constexpr bool kBackslashSeparates = true;
#else
constexpr bool kBackslashSeparates = false;
#endif

const std::vector<std::string>& known_members() {
    static const std::vector<std::string> members{"line", "train", "name", "number", "output"};
    return members;
}

// A path that does not start from a folder: from the root, or on Windows
// from a drive or the root of the current drive.
bool is_absolute(std::string_view path) {
    if (!path.empty() && path.front() == '/') return true;
    const bool drive = path.size() >= 2 && path[1] == ':' &&
                       ((path[0] >= 'A' && path[0] <= 'Z') || (path[0] >= 'a' && path[0] <= 'z'));
    return kBackslashSeparates && (drive || (!path.empty() && path.front() == '\\'));
}

// A fault over bytes [begin, end) of the file, which must end on its line.
ProjectDiagnostic fault_at(const ProjectFile& project, std::size_t begin, std::size_t end, std::string message) {
    const TextPlace start = place_of_offset(project.text, begin);
    const TextPlace stop = place_of_offset(project.text, end);
    const int end_column = stop.line == start.line && stop.column > start.column ? stop.column : start.column + 1;
    return ProjectDiagnostic{project.path, start.line, start.column, end_column, std::move(message)};
}

// The words of nlohmann-json's parse error, without its own prefix and place.
std::string parse_error_words(const json::parse_error& error) {
    const std::string what = error.what();
    const std::size_t place = what.find("parse error");
    const std::size_t words = place == std::string::npos ? std::string::npos : what.find(": ", place);
    return words == std::string::npos ? what : what.substr(words + 2);
}

bool in_word(char c) { return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'z') || c == '.' || c == '-' || c == '+'; }

// The start of the token that ends at byte `last`: the parser reports the
// last byte it read, the author wants the token it did not expect.
std::size_t token_start(std::string_view text, std::size_t last) {
    if (last >= text.size()) return last;
    std::size_t start = last;
    if (text[last] == '"' && last > 0) {
        start = text.rfind('"', last - 1);
        while (start != std::string_view::npos && start > 1 && text[start - 1] == '\\')
            start = text.rfind('"', start - 2);
        return start == std::string_view::npos ? last : start;
    }
    while (start > 0 && in_word(text[last]) && in_word(text[start - 1])) --start;
    return start;
}

std::optional<json> parsed(ProjectFile& project) {
    try {
        return json::parse(project.text);
    } catch (const json::parse_error& error) {
        const std::size_t last = error.byte > 0 ? error.byte - 1 : 0;
        const std::size_t start = token_start(project.text, last);
        project.faults.push_back(fault_at(project, start, last + 1, "not valid JSON: " + parse_error_words(error)));
        return std::nullopt;
    }
}

std::string unknown_member_message(const std::string& key) {
    const std::optional<std::string> nearest = lint::nearest_spelling(key, known_members());
    if (nearest) return "unknown member \"" + key + "\"; did you mean \"" + *nearest + "\"?";
    return "unknown member \"" + key + "\"; a project file holds line, train, name, number and output";
}

// The member's value as text: a string, or for the train number a whole
// number written without quotes. None, with a fault, for anything else.
std::optional<std::string> text_value(ProjectFile& project, const std::string& key, const json& value,
                                      const MemberPlace& place) {
    if (value.is_string()) return value.get<std::string>();
    if (key == "number" && value.is_number_unsigned()) return std::to_string(value.get<std::uint64_t>());
    const std::string kind = key == "number"   ? "a train number in quotes"
                             : key == "name"   ? "a name in quotes"
                             : key == "output" ? "a folder in quotes"
                                               : "a file name in quotes";
    project.faults.push_back(fault_at(project, place.value_begin, place.value_end, "\"" + key + "\" must be " + kind));
    return std::nullopt;
}

std::string* member_field(ProjectFile& project, const std::string& key) {
    if (key == "line") return &project.line;
    if (key == "train") return &project.train;
    if (key == "name") return &project.name;
    if (key == "number") return &project.number;
    if (key == "output") return &project.output;
    return nullptr;
}

// The key between the quotes, its escapes read.
std::string decoded_key(const MemberPlace& place) {
    try {
        return json::parse("\"" + place.raw_key + "\"").get<std::string>();
    } catch (const json::exception&) {
        return place.raw_key;
    }
}

void read_member(ProjectFile& project, const json& object, const MemberPlace& place, std::vector<std::string>& seen) {
    const std::string key = decoded_key(place);
    std::string* field = member_field(project, key);
    if (!field) {
        project.faults.push_back(fault_at(project, place.key_begin, place.key_end, unknown_member_message(key)));
        return;
    }
    if (std::find(seen.begin(), seen.end(), key) != seen.end()) {
        project.faults.push_back(
            fault_at(project, place.key_begin, place.key_end, "\"" + key + "\" is given twice; give it once"));
        return;
    }
    seen.push_back(key);
    const std::optional<std::string> value = text_value(project, key, object.at(key), place);
    if (value) *field = *value;
}

// What the values say: names that make file names, files that exist.
void check_value(ProjectFile& project, const MemberPlace& place) {
    const std::string key = decoded_key(place);
    const std::string* field = member_field(project, key);
    if (!field) return;
    const auto fault = [&](const std::string& message) {
        project.faults.push_back(fault_at(project, place.value_begin, place.value_end, message));
    };
    if ((key == "name" || key == "number") && !is_plain_file_name(*field + "_")) {
        fault("\"" + key + "\" must not be empty, nor hold a path separator: it begins the names of the files");
    } else if ((key == "line" || key == "train") && !file_exists(resolve_project_path(project.folder, *field))) {
        fault(std::string(key == "line" ? "the line description " : "the train description ") +
              resolve_project_path(project.folder, *field) + " does not exist");
    } else if (key == "output") {
        try {
            require_folder(resolve_project_path(project.folder, field->empty() ? "." : *field));
        } catch (const FileError& failure) {
            fault("the output folder " + failure.path() + " cannot be used: " + failure.reason());
        }
    }
}

void read_members(ProjectFile& project, const json& object) {
    const std::vector<MemberPlace> places = top_level_members(project.text);
    std::vector<std::string> seen;
    for (const MemberPlace& place : places) read_member(project, object, place, seen);
    if (!project.faults.empty()) return;
    for (const MemberPlace& place : places) check_value(project, place);
}

}  // namespace

std::string path_in(const std::string& folder, std::string_view name) {
    return folder.empty() ? std::string(name) : join_path(folder, name);
}

std::string resolve_project_path(const std::string& folder, std::string_view written) {
    if (written.empty()) return {};
    std::string path(written);
    if (!kBackslashSeparates) std::replace(path.begin(), path.end(), '\\', '/');
    return path_from(folder, path);
}

std::string path_from(const std::string& folder, std::string_view path) {
    return is_absolute(path) ? std::string(path) : path_in(folder, path);
}

std::string ProjectFile::line_path() const { return resolve_project_path(folder, line); }
std::string ProjectFile::train_path() const { return resolve_project_path(folder, train); }
std::string ProjectFile::output_folder() const { return resolve_project_path(folder, output); }

namespace {
bool is_member_file(const std::string& member_path, const std::string& path) {
    return !member_path.empty() && (member_path == path || same_file(member_path, path));
}
}  // namespace

bool ProjectFile::names_line(const std::string& description) const { return is_member_file(line_path(), description); }
bool ProjectFile::names_train(const std::string& description) const {
    return is_member_file(train_path(), description);
}

std::optional<ProjectFile> read_project_file(const std::string& folder) {
    ProjectFile project;
    project.folder = folder;
    project.path = path_in(folder, kProjectFileName);
    if (!file_exists(project.path)) return std::nullopt;
    try {
        project.text = read_file(project.path, kMaxProjectBytes);
    } catch (const FileError& failure) {
        project.faults.push_back(ProjectDiagnostic{project.path, 0, 1, 1, "cannot be read: " + failure.reason()});
        return project;
    }
    const std::optional<json> object = parsed(project);
    if (!object) return project;
    if (!object->is_object()) {
        const std::size_t start = project.text.find_first_not_of(" \t\r\n\xEF\xBB\xBF");
        project.faults.push_back(fault_at(project, start, start + 1,
                                          "a project file holds one JSON object, such as "
                                          "{\"line\": \"NAME_linea.txt\", \"train\": \"NAME_NUMBER-.txt\"}"));
        return project;
    }
    read_members(project, *object);
    return project;
}

}  // namespace scenariogen
