#include "platform/temporary_files.h"

#include <cerrno>
#include <cstdio>

#include "platform/file_system.h"

namespace scenariogen {

namespace {

constexpr std::string_view kPrefix = ".scenariogen-";
constexpr std::string_view kSuffix = ".tmp";
constexpr std::size_t kRandomDigits = 16;

std::string folder_of(const std::string& path) {
    for (std::size_t i = path.size(); i > 0; --i) {
        if (!system_files::is_separator(path[i - 1])) continue;
        if (i == 1) return path.substr(0, 1);
        return path.substr(0, i - 1);
    }
    return ".";
}

std::string temporary_name() {
    char name[64];
    std::snprintf(name, sizeof name, "%.*s%llu-%016llx%.*s", static_cast<int>(kPrefix.size()), kPrefix.data(),
                  static_cast<unsigned long long>(system_files::current_process_id()),
                  static_cast<unsigned long long>(system_files::random_bits()), static_cast<int>(kSuffix.size()),
                  kSuffix.data());
    return name;
}

bool all_of(std::string_view text, std::string_view allowed) {
    return !text.empty() && text.find_first_not_of(allowed) == std::string_view::npos;
}

}  // namespace

system_files::OpenFile create_temporary_beside(const std::string& target, std::string& temporary,
                                               std::optional<RemovedOnInterruption>& removed_on_interruption) {
    const std::string folder = folder_of(target);
    for (int attempt = 0; attempt < 100; ++attempt) {
        const std::string candidate = join_path(folder, temporary_name());
        const InterruptionsDeferred deferred;
        system_files::OpenFile file = system_files::create_new(candidate, target);
        if (!file.is_open()) continue;  // the name is taken: draw another
        temporary = candidate;
        removed_on_interruption.emplace(candidate);
        return file;
    }
    throw FileError(target, "no free name for a temporary file beside it");
}

std::optional<std::uint64_t> temporary_file_owner(std::string_view name) {
    if (name.size() <= kPrefix.size() + kSuffix.size() || !name.starts_with(kPrefix) || !name.ends_with(kSuffix)) {
        return std::nullopt;
    }
    name.remove_prefix(kPrefix.size());
    name.remove_suffix(kSuffix.size());
    const auto dash = name.find('-');
    if (dash == std::string_view::npos || dash > 19) return std::nullopt;
    const std::string_view process = name.substr(0, dash);
    const std::string_view random = name.substr(dash + 1);
    if (!all_of(process, "0123456789") || random.size() != kRandomDigits || !all_of(random, "0123456789abcdef")) {
        return std::nullopt;
    }
    std::uint64_t number = 0;
    for (const char digit : process) number = number * 10 + static_cast<std::uint64_t>(digit - '0');
    return number;
}

void remove_abandoned_temporary_files(const std::string& folder) {
    try {
        for (const std::string& name : system_files::folder_entries(folder)) {
            const auto owner = temporary_file_owner(name);
            if (!owner || *owner == system_files::current_process_id() || system_files::process_exists(*owner)) {
                continue;
            }
            try {
                system_files::remove_path(join_path(folder, name));
            } catch (const FileError&) {
            }
        }
    } catch (const FileError&) {
    }
}

}  // namespace scenariogen
