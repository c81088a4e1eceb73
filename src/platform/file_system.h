// The file-system layer: every file the program reads or writes goes through
// here, so that outputs are replaced atomically and failures carry the file's
// name and the reason.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scenariogen {

// A file-system failure: which file, and why (the system's own words).
class FileError : public std::runtime_error {
public:
    FileError(std::string path, std::string reason);
    const std::string& path() const { return path_; }
    const std::string& reason() const { return reason_; }

private:
    std::string path_;
    std::string reason_;
};

// Joins a folder and a file name with "/".
std::string join_path(std::string_view folder, std::string_view name);

bool file_exists(const std::string& path);

// The whole content of a file. Throws FileError, also when the file holds
// more than `max_bytes`.
std::string read_file(const std::string& path, std::size_t max_bytes = SIZE_MAX);

// Throws FileError when the file cannot be opened for reading.
void check_readable(const std::string& path);

// Deletes a file; a missing file is not an error. Throws FileError otherwise.
void remove_file(const std::string& path);

// Receives a file's bytes in order.
class ByteOutput {
public:
    virtual ~ByteOutput() = default;
    virtual void write(std::string_view bytes) = 0;
};

// Collects the bytes in memory.
class StringOutput : public ByteOutput {
public:
    void write(std::string_view bytes) override { text_ += bytes; }
    std::string& text() { return text_; }

private:
    std::string text_;
};

// A set of output files written side by side: each is staged in a temporary
// file in its target's folder, and commit() renames them all over their
// targets. Until then no target changes; a set destroyed without commit
// removes its temporary files.
class StagedFiles {
public:
    StagedFiles() = default;
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles();

    // Writes `bytes` to a temporary file beside `path`. Throws FileError.
    void stage(const std::string& path, std::string_view bytes);
    // The same, with the bytes produced piece by piece into a buffered output.
    void stage(const std::string& path, const std::function<void(ByteOutput&)>& produce);
    // Renames every staged file over its target. Throws FileError.
    void commit();

private:
    struct Staged {
        std::string temporary;
        std::string target;
    };
    std::vector<Staged> staged_;
};

// Replaces one file atomically with `bytes`. Throws FileError.
void replace_file(const std::string& path, std::string_view bytes);

}  // namespace scenariogen
