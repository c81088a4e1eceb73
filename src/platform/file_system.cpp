#include "platform/file_system.h"

#include <algorithm>
#include <optional>
#include <stdexcept>

#include "platform/interruption.h"
#include "platform/system_files.h"
#include "platform/temporary_files.h"

namespace scenariogen {

using system_files::OpenFile;
using system_files::OutputTarget;

namespace {

// Buffered writes into an open file.
class FileOutput : public ByteOutput {
public:
    FileOutput(OpenFile& file, const std::string& path) : file_(file), path_(path) { buffer_.reserve(kBuffer); }
    void write(std::string_view bytes) override {
        if (buffer_.size() + bytes.size() > kBuffer) flush();
        if (bytes.size() >= kBuffer / 2) {
            file_.write_all(bytes, path_);
        } else {
            buffer_ += bytes;
        }
    }
    void flush() {
        file_.write_all(buffer_, path_);
        buffer_.clear();
    }

private:
    // Pieces of half this size or more go straight to the file, without a copy.
    static constexpr std::size_t kBuffer = 1 << 16;
    OpenFile& file_;
    const std::string& path_;
    std::string buffer_;
};

// Unbuffered writes at offsets into an open file: the pieces come large.
class FileOutputAt : public PositionedOutput {
public:
    FileOutputAt(OpenFile& file, const std::string& path) : file_(file), path_(path) {}
    void write_at(std::uint64_t offset, std::string_view bytes) override {
        file_.write_all_at(offset, bytes, path_);
        written_ += bytes.size();
    }
    std::uint64_t written() const { return written_; }

private:
    OpenFile& file_;
    const std::string& path_;
    std::uint64_t written_ = 0;
};

OutputTarget writable_target(const std::string& path) {
    OutputTarget target = system_files::resolve_output(path);
    if (target.kind == OutputTarget::Kind::kFolder) throw FileError(path, "is a folder");
    return target;
}

}  // namespace

void PositionedStringOutput::write_at(std::uint64_t offset, std::string_view bytes) {
    if (offset > text_.size() || bytes.size() > text_.size() - offset) {
        throw std::logic_error("a piece written past the end of its file");
    }
    bytes.copy(text_.data() + offset, bytes.size());
}

FileError::FileError(std::string path, std::string reason)
    : std::runtime_error(path + ": " + reason), path_(std::move(path)), reason_(std::move(reason)) {}

std::string join_path(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += system_files::kSeparator;
    path += name;
    return path;
}

bool is_plain_file_name(std::string_view name) {
    if (name.empty() || name == "." || name == "..") return false;
    for (const char c : name) {
        if (c == '\0' || system_files::is_separator(c)) return false;
        if (c == ':' && system_files::kSeparator == '\\') return false;  // a drive, or a stream of a file
    }
    return true;
}

bool file_exists(const std::string& path) { return system_files::is_regular_file(path); }

std::vector<std::string> regular_files_in(const std::string& folder) {
    const std::string where = folder.empty() ? "." : folder;
    std::vector<std::string> names;
    try {
        names = system_files::folder_entries(where);
    } catch (const FileError&) {
        return {};
    }
    std::erase_if(names,
                  [&](const std::string& name) { return !system_files::is_regular_file(join_path(where, name)); });
    std::sort(names.begin(), names.end());
    return names;
}

void check_readable(const std::string& path) {
    std::uint64_t size = 0;
    system_files::open_regular_for_reading(path, size).close(path);
}

std::string read_file(const std::string& path, std::size_t max_bytes) {
    std::uint64_t size = 0;
    OpenFile file = system_files::open_regular_for_reading(path, size);
    const auto too_large = [&] { throw FileError(path, "larger than " + std::to_string(max_bytes) + " bytes"); };
    if (size > max_bytes) too_large();
    std::string content;
    content.reserve(static_cast<std::size_t>(size));
    char buffer[1 << 16];
    while (const std::size_t got = file.read_some(buffer, sizeof buffer, path)) {
        if (content.size() + got > max_bytes) too_large();
        content.append(buffer, got);
    }
    file.close(path);
    return content;
}

std::size_t StringInput::read(char* buffer, std::size_t size) {
    const std::size_t n = std::min(size, bytes_.size());
    std::copy_n(bytes_.data(), n, buffer);
    bytes_.remove_prefix(n);
    return n;
}

FileInput::FileInput(const std::string& path)
    : path_(path), file_(std::make_unique<OpenFile>(system_files::open_regular_for_reading(path, size_))) {}

FileInput::~FileInput() = default;

std::size_t FileInput::read(char* buffer, std::size_t size) { return file_->read_some(buffer, size, path_); }

void remove_file(const std::string& path) {
    system_files::remove_path(path);
    interruption_point();
}

bool same_file(const std::string& a, const std::string& b) {
    const auto first = system_files::identity_of(a);
    return first && first == system_files::identity_of(b);
}

void refuse_folder_as_output(const std::string& path) { writable_target(path); }

// One output: its target, and either its temporary file or, for a direct
// target, its bytes until the commit.
struct StagedFiles::Staged {
    OutputTarget target;
    std::string temporary;
    std::optional<RemovedOnInterruption> removed_on_interruption;
    std::string direct_bytes;
};

StagedFiles::StagedFiles() = default;

StagedFiles::~StagedFiles() {
    for (const auto& file : staged_) {
        if (!file->temporary.empty()) {
            try {
                system_files::remove_path(file->temporary);
            } catch (const FileError&) {
                // The interruption handler no longer knows it; the next run in the folder removes it.
            }
        }
    }
}

void StagedFiles::stage(const std::string& path, std::string_view bytes) {
    stage(path, [bytes](ByteOutput& out) { out.write(bytes); });
}

void StagedFiles::stage(const std::string& path, const std::function<void(ByteOutput&)>& produce) {
    stage_with(
        path,
        [&] {
            StringOutput out;
            produce(out);
            return std::move(out.text());
        },
        [&](OpenFile& file, const std::string& target) {
            FileOutput out(file, target);
            produce(out);
            out.flush();
        });
}

void StagedFiles::stage(const std::string& path, std::uint64_t size,
                        const std::function<void(PositionedOutput&)>& produce) {
    stage_with(
        path,
        [&] {
            PositionedStringOutput out(static_cast<std::size_t>(size));
            produce(out);
            return std::move(out.text());
        },
        [&](OpenFile& file, const std::string& target) {
            FileOutputAt out(file, target);
            produce(out);
            if (out.written() != size) {
                throw std::logic_error(target + ": the pieces written do not make the file's size");
            }
        });
}

void StagedFiles::stage_with(const std::string& path, const std::function<std::string()>& in_memory,
                             const std::function<void(OpenFile&, const std::string&)>& into_file) {
    auto staged = std::make_unique<Staged>();
    staged->target = writable_target(path);
    if (staged->target.kind == OutputTarget::Kind::kDirect) {
        staged->direct_bytes = in_memory();
        staged_.push_back(std::move(staged));
        return;
    }
    const std::string& target = staged->target.path;
    OpenFile file = create_temporary_beside(target, staged->temporary, staged->removed_on_interruption);
    staged_.push_back(std::move(staged));
    interruption_point();
    into_file(file, target);
    interruption_point();
    file.close(target);
}

void StagedFiles::commit() {
    {
        const InterruptionsDeferred deferred;
        for (auto& file : staged_) {
            if (file->temporary.empty()) continue;
            interruption_point();
            system_files::rename_over(file->temporary, file->target.path);
            file->temporary.clear();
            file->removed_on_interruption.reset();
            interruption_point();
        }
    }
    // Written in place after the renames, and not deferred: a FIFO may keep its writer waiting.
    for (auto& file : staged_) {
        if (file->target.kind != OutputTarget::Kind::kDirect) continue;
        OpenFile out = system_files::open_direct_output(file->target);
        out.write_all(file->direct_bytes, file->target.path);
        out.close(file->target.path);
    }
    staged_.clear();
}

void replace_file(const std::string& path, std::string_view bytes) {
    StagedFiles files;
    files.stage(path, bytes);
    files.commit();
}

}  // namespace scenariogen
