#include "pipeline/description_file_names.h"

#include <algorithm>

#include "pipeline/project_file.h"
#include "platform/file_system.h"

namespace scenariogen {

namespace {

#ifdef _WIN32
bool separates_folders(char c) { return c == '/' || c == '\\'; }
#else
bool separates_folders(char c) { return c == '/'; }
#endif

char ascii_lower(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool ends_with_any_case(std::string_view text, std::string_view suffix) {
    return text.size() >= suffix.size() &&
           std::equal(suffix.begin(), suffix.end(), text.end() - static_cast<std::ptrdiff_t>(suffix.size()),
                      [](char a, char b) { return ascii_lower(a) == ascii_lower(b); });
}

}  // namespace

std::string folder_of(const std::string& path) {
    const auto last = std::find_if(path.rbegin(), path.rend(), separates_folders);
    if (last == path.rend()) return {};
    const auto end = last.base() - 1;
    return end == path.begin() ? std::string(1, path.front()) : std::string(path.begin(), end);
}

std::string file_name_of(const std::string& path) {
    const auto last = std::find_if(path.rbegin(), path.rend(), separates_folders);
    return std::string(last.base(), path.end());
}

std::optional<std::string> line_file_scenario(std::string_view file) {
    if (!ends_with_any_case(file, kLineFileSuffix) || file.size() == kLineFileSuffix.size()) return std::nullopt;
    return std::string(file.substr(0, file.size() - kLineFileSuffix.size()));
}

std::optional<TrainFileName> train_file_name(std::string_view file) {
    if (!ends_with_any_case(file, kTrainFileSuffix)) return std::nullopt;
    const std::string_view stem = file.substr(0, file.size() - kTrainFileSuffix.size());
    const std::size_t underscore = stem.rfind('_');
    if (underscore == std::string_view::npos || underscore == 0 || underscore + 1 == stem.size()) {
        return TrainFileName{};
    }
    return TrainFileName{std::string(stem.substr(0, underscore)), std::string(stem.substr(underscore + 1))};
}

std::vector<std::string> train_files_of(const std::string& folder, std::string_view name) {
    std::vector<std::string> found;
    for (const std::string& file : regular_files_in(folder)) {
        const std::optional<TrainFileName> named = train_file_name(file);
        if (named && !named->name.empty() && named->name == name) found.push_back(file);
    }
    return found;
}

std::optional<NamedPartners> partners_by_name(const std::string& path, const FileKnown& known) {
    const std::string folder = folder_of(path);
    const std::string file = file_name_of(path);
    if (const std::optional<std::string> name = line_file_scenario(file)) {
        NamedPartners partners;
        for (const std::string& train : train_files_of(folder, *name)) partners.paths.push_back(path_in(folder, train));
        return partners;
    }
    const std::optional<TrainFileName> named = train_file_name(file);
    if (!named) return std::nullopt;
    NamedPartners partners{false, {}};
    if (named->name.empty()) return partners;
    const std::string line = path_in(folder, named->name + std::string(kLineFileSuffix));
    if (known(line)) partners.paths.push_back(line);
    return partners;
}

}  // namespace scenariogen
