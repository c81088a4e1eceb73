// The file-system layer: every file the program reads or writes goes through
// here, so that outputs are replaced atomically and failures carry the file's
// name and the reason. Paths are UTF-8 strings on every system.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace scenariogen {

namespace system_files {
class OpenFile;
}

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

// Joins a folder and a file name with the system's separator ("/", or "\"
// on Windows), without looking at the folder string.
std::string join_path(std::string_view folder, std::string_view name);

// True when `name` names a file inside a folder and nowhere else: not empty,
// not "." or "..", no separator ("/", and "\" or ":" on Windows), no NUL.
bool is_plain_file_name(std::string_view name);

// True when `path` names an existing regular file.
bool file_exists(const std::string& path);

// The names of the regular files in `folder` (empty: the current folder),
// sorted; none when the folder cannot be read.
std::vector<std::string> regular_files_in(const std::string& folder);

// The whole content of a regular file. Throws FileError, also when the file
// holds more than `max_bytes`.
std::string read_file(const std::string& path, std::size_t max_bytes = SIZE_MAX);

// Gives bytes in order, a piece at a time.
class ByteInput {
public:
    virtual ~ByteInput() = default;
    // Up to `size` of the next bytes into `buffer`; 0 at the end.
    virtual std::size_t read(char* buffer, std::size_t size) = 0;
};

// Bytes held in memory.
class StringInput : public ByteInput {
public:
    explicit StringInput(std::string_view bytes) : bytes_(bytes) {}
    std::size_t read(char* buffer, std::size_t size) override;

private:
    std::string_view bytes_;
};

// A regular file read in pieces, for files too large to want whole in
// memory. Throws FileError naming the file.
class FileInput : public ByteInput {
public:
    explicit FileInput(const std::string& path);
    FileInput(const FileInput&) = delete;
    FileInput& operator=(const FileInput&) = delete;
    ~FileInput() override;

    std::uint64_t size() const { return size_; }
    std::size_t read(char* buffer, std::size_t size) override;

private:
    std::string path_;
    std::uint64_t size_ = 0;
    std::unique_ptr<system_files::OpenFile> file_;
};

// Throws FileError when the file cannot be opened for reading or is not a
// regular file.
void check_readable(const std::string& path);

// Deletes a file; a missing file is not an error. Throws FileError otherwise.
void remove_file(const std::string& path);

// True when both paths exist and name the same file (through links, or as
// two names of one file).
bool same_file(const std::string& a, const std::string& b);

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

// Receives a file of a known size in pieces, each at its offset from the
// file's start, in any order; together the pieces cover every byte once.
class PositionedOutput {
public:
    virtual ~PositionedOutput() = default;
    virtual void write_at(std::uint64_t offset, std::string_view bytes) = 0;
};

// Collects the pieces in memory.
class PositionedStringOutput : public PositionedOutput {
public:
    explicit PositionedStringOutput(std::size_t size) : text_(size, '\0') {}
    void write_at(std::uint64_t offset, std::string_view bytes) override;
    std::string& text() { return text_; }

private:
    std::string text_;
};

// A set of output files written side by side: each is staged in a temporary
// file beside the file it replaces, and commit() renames them all over their
// targets. Until then no target changes; a set destroyed without commit, or
// a process interrupted by a signal, removes its temporary files.
//
// The target of an output name:
// - a symbolic link keeps the link, and the file it leads to is replaced;
// - a regular file, or a name that does not exist yet, is replaced;
// - an existing file that is not a regular file (a device, a FIFO, the
//   standard output as /dev/stdout) is written directly at commit, never
//   replaced or removed;
// - a folder is refused (FileError "is a folder") before anything is written.
class StagedFiles {
public:
    StagedFiles();
    StagedFiles(const StagedFiles&) = delete;
    StagedFiles& operator=(const StagedFiles&) = delete;
    ~StagedFiles();

    // Writes `bytes` for `path`. Throws FileError.
    void stage(const std::string& path, std::string_view bytes);
    // The same, with the bytes produced piece by piece into a buffered output.
    void stage(const std::string& path, const std::function<void(ByteOutput&)>& produce);
    // The same, for a file of `size` bytes produced in pieces at their
    // offsets. Throws std::logic_error when the pieces leave bytes out.
    void stage(const std::string& path, std::uint64_t size, const std::function<void(PositionedOutput&)>& produce);
    // Puts every staged file in place; a signal that comes meanwhile waits
    // until all are. Throws FileError.
    void commit();

private:
    struct Staged;
    // Stages `path`: the bytes collected by `in_memory` for a target written
    // in place at commit, or written by `into_file` into a temporary file.
    void stage_with(const std::string& path, const std::function<std::string()>& in_memory,
                    const std::function<void(system_files::OpenFile&, const std::string&)>& into_file);

    std::vector<std::unique_ptr<Staged>> staged_;
};

// Replaces one file atomically with `bytes`, by the rules of StagedFiles.
// Throws FileError.
void replace_file(const std::string& path, std::string_view bytes);

// Throws FileError ("is a folder") when `path` names a folder, or leads to
// one through symbolic links: an output name that can never be written.
void refuse_folder_as_output(const std::string& path);

}  // namespace scenariogen
