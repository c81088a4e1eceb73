// The names the program gives description files, read back: NAME_linea.txt
// for a line description, NAME_NUMBER-.txt for a train description, in any
// letter case. A description named so finds its partner in its folder.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenariogen {

inline constexpr std::string_view kLineFileSuffix = "_linea.txt";
inline constexpr std::string_view kTrainFileSuffix = "-.txt";

// The folder of a path; empty for a file in the current folder.
std::string folder_of(const std::string& path);

// The last part of a path.
std::string file_name_of(const std::string& path);

// NAME of a file named NAME_linea.txt; none for another name.
std::optional<std::string> line_file_scenario(std::string_view file);

// What a file named NAME_NUMBER-.txt says; none for a file not ending in
// -.txt, both empty for one that ends so without NAME_ and NUMBER.
struct TrainFileName {
    std::string name;
    std::string number;
};
std::optional<TrainFileName> train_file_name(std::string_view file);

// The file names NAME_NUMBER-.txt in `folder` (empty: the current folder)
// for the scenario NAME, sorted.
std::vector<std::string> train_files_of(const std::string& folder, std::string_view name);

// Whether a file exists, on disk or as a buffer an editor holds open.
using FileKnown = std::function<bool(const std::string& path)>;

// The partner of the description at `path` found by its name, in its folder:
// for NAME_linea.txt the train descriptions NAME_NUMBER-.txt (sorted; the
// first is the partner), for NAME_NUMBER-.txt the line description
// NAME_linea.txt when `known` says it exists.
struct NamedPartners {
    bool is_line = true;             // `path` is named as a line description
    std::vector<std::string> paths;  // the partners' paths; empty: none
};
std::optional<NamedPartners> partners_by_name(const std::string& path, const FileKnown& known);

}  // namespace scenariogen
