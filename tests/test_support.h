// Fixtures shared by the tests: temporary folders, files, and compiling
// description texts held in the test itself.
#pragma once

#include <sys/wait.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "compiler/compile.h"
#include "content/description_files.h"

namespace scenariogen::testing {

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        std::string pattern = (std::filesystem::temp_directory_path() / "scenariogen-test-XXXXXX").string();
        if (::mkdtemp(pattern.data()) == nullptr) throw std::runtime_error("mkdtemp failed");
        path_ = pattern;
    }
    ~TempDir() {
        std::error_code ignored;
        std::filesystem::permissions(path_, std::filesystem::perms::owner_all, ignored);
        std::filesystem::remove_all(path_, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }

private:
    std::filesystem::path path_;
};

inline std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void spit(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

// Names of the files in a folder, sorted.
inline std::vector<std::string> listing(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) names.push_back(entry.path().filename());
    std::sort(names.begin(), names.end());
    return names;
}

// What a command printed and how it ended.
struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// Runs a shell command line with its output captured and no input.
inline Outcome run_command(const std::string& command_line) {
    TempDir capture;
    const std::string command = command_line + " >" + capture.file("out") + " 2>" + capture.file("err") + " </dev/null";
    const int raw = std::system(command.c_str());
    return {WIFEXITED(raw) ? WEXITSTATUS(raw) : -1, slurp(capture.file("out")), slurp(capture.file("err"))};
}

#ifdef SCENARIOGEN_EXECUTABLE
// Runs the program with `args`, already quoted for the shell.
inline Outcome run_program(const std::string& args) {
    return run_command(std::string(SCENARIOGEN_EXECUTABLE) + " " + args);
}
#endif

// Lines joined with CR LF after each, as the description files are written.
inline std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const auto& line : lines) text += line + "\r\n";
    return text;
}

// The scenario's own description files, as the run writes them.
inline std::string own_line_text() { return render_lines(line_description_lines()); }
inline std::string own_train_text() { return render_lines(train_description_lines()); }

// A compilation of description texts held in the test.
struct Compiled {
    CompileResult s;
    CompileOutcome outcome = CompileOutcome::kCompiled;
};

inline Compiled compile_texts(const std::string& line_text, const std::string& train_text, bool build_grid = true,
                              const std::string& train_number = "27340",
                              const std::string& scenario_name = "Zervano-OdelmaVmod") {
    Compiled result;
    result.s = compile(CompileInput{line_text, train_text, scenario_name, train_number, build_grid});
    result.outcome = result.s.outcome;
    return result;
}

// Just the line phase's input with an empty train description.
inline std::string empty_train() { return crlf({"[generale]", "[fine]"}); }

}  // namespace scenariogen::testing
