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

#include "compiler/memorizza_percorso.h"
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
inline std::string own_line_text() { return render_lines(righe_linea()); }
inline std::string own_train_text() { return render_lines(righe_treno()); }

// A compilation of description texts, with the files in a temporary folder.
struct Compiled {
    Scenario s;
    Esito esito = Esito::kScritto;
};

inline Compiled compile_texts(const std::string& line_text, const std::string& train_text, std::int32_t j = 1,
                              const std::string& numero_treno = "27340",
                              const std::string& nome_scenario = "Zervano-OdelmaVmod") {
    TempDir dir;
    const std::string line_path = dir.file("linea.txt");
    const std::string train_path = dir.file("treno.txt");
    spit(line_path, line_text);
    spit(train_path, train_text);
    Compiled result;
    result.s.scenario_name = nome_scenario;
    result.s.train_number = numero_treno;
    result.esito = compila(result.s, j, DescriptionSources{line_path, train_path, true});
    return result;
}

// Just the line phase's input with an empty train description.
inline std::string empty_train() { return crlf({"[generale]", "[fine]"}); }

}  // namespace scenariogen::testing
