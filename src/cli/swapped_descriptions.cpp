#include "cli/swapped_descriptions.h"

namespace scenariogen {

namespace {

// How many lines of a file hold a keyword of the other file.
std::size_t other_files_keywords(const Diagnostics& diagnostics, SourceFile file) {
    std::size_t n = 0;
    for (const Diagnostic& d : diagnostics) n += d.name == "wrong-file" && d.where && d.where->file == file;
    return n;
}

}  // namespace

std::optional<std::string> swapped_descriptions(const Diagnostics& diagnostics, const std::string& line_path,
                                                const std::string& train_path, const std::string& command) {
    constexpr std::size_t kEnough = 2;
    if (other_files_keywords(diagnostics, SourceFile::kLine) < kEnough ||
        other_files_keywords(diagnostics, SourceFile::kTrain) < kEnough) {
        return std::nullopt;
    }
    return "scenariogen: LINE and TRAIN look swapped: " + line_path +
           " holds the keywords of a train description and " + train_path +
           " those of a line description; the line description comes first:\n  scenariogen " + command + " " +
           train_path + " " + line_path + "\n";
}

}  // namespace scenariogen
