// Fixtures shared by the tests: temporary folders, files, and compiling
// description texts held in the test itself.
#pragma once

#ifndef _WIN32
#include <sys/wait.h>
#include <unistd.h>
#endif

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "compiler/compile.h"
#include "content/description_files.h"

// A test that needs what only a POSIX system has (signals, a POSIX shell,
// folder permissions) skips itself on Windows and says why.
#ifdef _WIN32
#define SKIP_ON_WINDOWS(reason) GTEST_SKIP() << "not on Windows: " << (reason)
#else
#define SKIP_ON_WINDOWS(reason) static_cast<void>(0)
#endif

namespace scenariogen::testing {

// The superuser writes into read-only folders.
inline bool running_as_superuser() {
#ifdef _WIN32
    return false;
#else
    return ::geteuid() == 0;
#endif
}

// A fresh folder under the system's temporary folder, removed at the end.
class TempDir {
public:
    TempDir() {
        std::random_device device;
        std::mt19937_64 draw(device() ^
                             static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count()));
        for (int attempt = 0; attempt < 100; ++attempt) {
            path_ = std::filesystem::temp_directory_path() / ("scenariogen-test-" + std::to_string(draw()));
            if (std::filesystem::create_directory(path_)) return;
        }
        throw std::runtime_error("no fresh temporary folder");
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
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Every file of a folder by name, with its bytes; a folder in it shows as
// its name and "/".
inline std::map<std::string, std::string> folder_contents(const std::filesystem::path& folder) {
    std::map<std::string, std::string> files;
    for (const auto& name : listing(folder)) {
        if (std::filesystem::is_directory(folder / name)) {
            files[name] = "/";
        } else {
            files[name] = slurp((folder / name).string());
        }
    }
    return files;
}

// What a command printed and how it ended.
struct Outcome {
    int status;
    std::string out;
    std::string err;
};

// The exit status of a command that std::system ran; -1 when a signal ended it.
inline int exit_status(int raw) {
#ifdef _WIN32
    return raw;
#else
    return WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
#endif
}

// The system's empty input.
#ifdef _WIN32
inline constexpr const char* kNoInput = "NUL";
#else
inline constexpr const char* kNoInput = "/dev/null";
#endif

// The start of a command line that runs in `folder` (cmd changes the drive too only with /d).
inline std::string in_folder(const std::filesystem::path& folder) {
#ifdef _WIN32
    return "cd /d " + folder.string() + " && ";
#else
    return "cd " + folder.string() + " && ";
#endif
}

// Runs a command line in UTF-8 (on Windows passed on as UTF-16, so that
// names in any letters arrive whole) and returns its exit status.
inline int system_utf8(const std::string& command) {
#ifdef _WIN32
    const std::u8string utf8(reinterpret_cast<const char8_t*>(command.data()), command.size());
    return ::_wsystem(std::filesystem::path(utf8).wstring().c_str());
#else
    return exit_status(std::system(command.c_str()));
#endif
}

// Runs a shell command line (sh, or cmd on Windows) with its output captured and no input.
inline Outcome run_command(const std::string& command_line) {
    TempDir capture;
    const std::string command =
        command_line + " >" + capture.file("out") + " 2>" + capture.file("err") + " <" + kNoInput;
    return {system_utf8(command), slurp(capture.file("out")), slurp(capture.file("err"))};
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

// The lines of a written text file, without their CR LF; a text that does
// not end with CR LF is a failure of the test.
inline std::vector<std::string> crlf_lines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "the file does not end with CR LF";
            break;
        }
        lines.push_back(bytes.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// The unsigned little-endian number of `size` bytes at `offset`.
inline std::uint32_t little_endian(const std::string& bytes, std::size_t offset, std::size_t size) {
    std::uint32_t v = 0;
    for (std::size_t i = 0; i < size; ++i) {
        v |= static_cast<std::uint32_t>(static_cast<unsigned char>(bytes.at(offset + i))) << (8 * i);
    }
    return v;
}

// The example route's folder, with a slash at the end.
inline const std::string kExamples = std::string(SCENARIOGEN_SOURCE_DIR) + "/examples/";

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
