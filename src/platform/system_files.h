// The primitives that each system gives the file-system layer: open files,
// exclusive creation, atomic renames, what an output name leads to, file
// identities and processes. posix/system_files.cpp and
// windows/system_files.cpp implement them; file_system.cpp builds the
// layer's public functions on top, once for both.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace scenariogen::system_files {

// The separator that join_path puts between a folder and a name.
extern const char kSeparator;

// True for a character that separates the parts of a path.
bool is_separator(char c);

// An open file of the system, closed when destroyed (errors ignored then:
// call close() to hear of them).
class OpenFile {
public:
    static constexpr std::intptr_t kNoHandle = -1;

    OpenFile() = default;
    OpenFile(std::intptr_t handle, bool owned) : handle_(handle), owned_(owned) {}
    OpenFile(OpenFile&& other) noexcept;
    OpenFile& operator=(OpenFile&& other) noexcept;
    OpenFile(const OpenFile&) = delete;
    OpenFile& operator=(const OpenFile&) = delete;
    ~OpenFile();

    bool is_open() const { return handle_ != kNoHandle; }
    // Each throws FileError naming `path`.
    void write_all(std::string_view bytes, const std::string& path);
    // Writes `bytes` at `offset` from the file's start, wherever the file's
    // position is; a file shorter than that grows first.
    void write_all_at(std::uint64_t offset, std::string_view bytes, const std::string& path);
    std::size_t read_some(char* buffer, std::size_t size, const std::string& path);  // 0 at the end
    void close(const std::string& path);

private:
    std::intptr_t handle_ = kNoHandle;
    bool owned_ = true;  // false: a standard stream, never closed here
};

// Opens a regular file for reading and tells its size. Throws FileError, also
// for a folder or a device.
OpenFile open_regular_for_reading(const std::string& path, std::uint64_t& size);

// Creates `path` with the permissions a new file gets. Returns a closed
// OpenFile when a file of that name exists already; throws FileError naming
// `reported_path` for any other failure.
OpenFile create_new(const std::string& path, const std::string& reported_path);

// What an output name leads to.
struct OutputTarget {
    enum class Kind {
        kReplace,  // a regular file, or a name not yet taken: replaced atomically
        kDirect,   // an existing file that is not a regular file: written in place
        kFolder,   // a folder: never an output
    };
    Kind kind = Kind::kReplace;
    std::string path;     // the end of any symbolic links
    int descriptor = -1;  // kDirect: a descriptor of this process that the name stands for (/dev/stdout)
};

// Follows symbolic links from `path` to what it leads to. Throws FileError.
OutputTarget resolve_output(const std::string& path);

// Opens a kDirect target for writing. Throws FileError.
OpenFile open_direct_output(const OutputTarget& target);

// Renames `from` over `to` in one step: `to` names the old file or the new
// one, never neither. Throws FileError naming `to`.
void rename_over(const std::string& from, const std::string& to);

// Deletes a file. False when it did not exist; throws FileError otherwise.
bool remove_path(const std::string& path);

// The names in a folder, "." and ".." left out. Throws FileError.
std::vector<std::string> folder_entries(const std::string& folder);

bool is_regular_file(const std::string& path);

// A file's identity across all its names, links followed.
struct FileIdentity {
    std::uint64_t device = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};
// None when the path leads to nothing.
std::optional<FileIdentity> identity_of(const std::string& path);

// 64 bits from the system's random source.
std::uint64_t random_bits();

std::uint64_t current_process_id();
// False only when no process of that number exists any more.
bool process_exists(std::uint64_t process_id);

// The system's own words for its last failure (errno, GetLastError).
std::string last_error_text();

}  // namespace scenariogen::system_files
