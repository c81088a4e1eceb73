// The platform layer's files: what an output name leads to, the program's
// temporary files, the folder lock, and which paths name one file.
#include <gtest/gtest.h>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

#include <chrono>
#include <future>
#include <stdexcept>
#include <thread>

#include "platform/file_system.h"
#include "platform/folder_lock.h"
#include "platform/system_files.h"
#include "platform/temporary_files.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::listing;
using testing::slurp;
using testing::spit;
using testing::TempDir;

namespace fs = std::filesystem;

// No program's temporary file in any of these folders.
void expect_no_temporary_file(const std::vector<fs::path>& folders) {
    for (const auto& folder : folders) {
        for (const auto& name : listing(folder)) EXPECT_FALSE(temporary_file_owner(name)) << folder / name;
    }
}

TEST(OutputTargets, ALinkKeepsItsPlaceAndTheFileItLeadsToIsReplaced) {
    SKIP_ON_WINDOWS("symbolic links need a privilege on Windows");
    TempDir links;
    TempDir targets;
    spit(targets.file("real.svg"), "old");
    struct Case {
        const char* what;
        std::string link;
        fs::path leads_to;  // what the link holds
        std::string file;   // the file that must receive the bytes
    } cases[] = {
        {"absolute link to a file", links.file("a.svg"), targets.file("real.svg"), targets.file("real.svg")},
        {"relative link into another folder", links.file("b.svg"),
         fs::path("..") / targets.path().filename() / "real.svg", targets.file("real.svg")},
        {"link to a name not yet taken", links.file("c.svg"), targets.file("new.svg"), targets.file("new.svg")},
        {"link to a link", links.file("d.svg"), links.file("a.svg"), targets.file("real.svg")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        fs::create_symlink(c.leads_to, c.link);
        replace_file(c.link, std::string("bytes of ") + c.what);
        EXPECT_TRUE(fs::is_symlink(c.link));
        EXPECT_EQ(fs::read_symlink(c.link), c.leads_to);
        EXPECT_EQ(slurp(c.file), std::string("bytes of ") + c.what);
    }
    expect_no_temporary_file({links.path(), targets.path()});
}

TEST(OutputTargets, AFolderIsRefusedByNameAndNothingIsWritten) {
    TempDir dir;
    fs::create_directory(dir.file("taken.dat"));
    spit(dir.file("other.dat"), "old");
    StagedFiles files;
    files.stage(dir.file("other.dat"), "new");
    try {
        files.stage(dir.file("taken.dat"), "new");
        ADD_FAILURE() << "a folder was taken as an output";
    } catch (const FileError& refused) {
        EXPECT_EQ(refused.path(), dir.file("taken.dat"));
        EXPECT_EQ(refused.reason(), "is a folder");
    }
    EXPECT_THROW(refuse_folder_as_output(dir.path().string()), FileError);
    EXPECT_NO_THROW(refuse_folder_as_output(dir.file("not-yet.dat")));
}

TEST(OutputTargets, AFolderBehindALinkIsRefusedToo) {
    SKIP_ON_WINDOWS("symbolic links need a privilege on Windows");
    TempDir dir;
    fs::create_directory(dir.file("folder"));
    fs::create_directory_symlink(dir.file("folder"), dir.file("link"));
    EXPECT_THROW(replace_file(dir.file("link"), "x"), FileError);
    EXPECT_TRUE(fs::is_symlink(dir.file("link")));
    EXPECT_TRUE(listing(dir.file("folder")).empty());
}

TEST(OutputTargets, ADeviceIsWrittenInPlaceAndStaysADevice) {
#ifdef _WIN32
    const std::string device = "NUL";
#else
    const std::string device = "/dev/null";
#endif
    EXPECT_EQ(system_files::resolve_output(device).kind, system_files::OutputTarget::Kind::kDirect);
    EXPECT_NO_THROW(replace_file(device, "into the void"));
#ifndef _WIN32
    struct stat info {};
    ASSERT_EQ(::stat(device.c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode));
#endif
}

TEST(OutputTargets, AFifoReceivesTheBytesAndStaysAFifo) {
    SKIP_ON_WINDOWS("no FIFO in a Windows folder");
#ifndef _WIN32
    TempDir dir;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    replace_file(fifo, "through the pipe");
    char buffer[64] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 16);
    EXPECT_EQ(std::string(buffer), "through the pipe");
    ::close(reader);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"pipe"});
    // Read as an input, a FIFO is refused at once instead of waiting for a writer.
    EXPECT_THROW(read_file(fifo), FileError);
#endif
}

TEST(OutputTargets, AStagedSetDroppedBeforeItsCommitLeavesEverythingAsItWas) {
    TempDir dir;
    spit(dir.file("a"), "old a");
    {
        StagedFiles files;
        files.stage(dir.file("a"), "new a");
        files.stage(dir.file("b"), "new b");
        EXPECT_EQ(listing(dir.path()).size(), 3u);  // "a" and two temporary files
    }
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"a"});
    EXPECT_EQ(slurp(dir.file("a")), "old a");
}

// A file staged in pieces at their offsets: written in any order it is the
// same file, into a regular file and into a FIFO alike; pieces that leave a
// gap are refused and the old file stays.
TEST(OutputTargets, AFileStagedInPiecesAtTheirOffsetsIsWholeAndAGapIsRefused) {
    TempDir dir;
    const auto stage_pieces = [](const std::string& path, std::uint64_t size) {
        StagedFiles files;
        files.stage(path, size, [](PositionedOutput& out) {
            out.write_at(6, "second");
            out.write_at(0, "first ");
            out.write_at(12, "!");
        });
        files.commit();
    };
    spit(dir.file("a"), "old a");
    stage_pieces(dir.file("a"), 13);
    EXPECT_EQ(slurp(dir.file("a")), "first second!");
    EXPECT_THROW(stage_pieces(dir.file("a"), 14), std::logic_error);
    EXPECT_EQ(slurp(dir.file("a")), "first second!");
    EXPECT_EQ(listing(dir.path()), std::vector<std::string>{"a"});
#ifndef _WIN32
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    const int reader = ::open(fifo.c_str(), O_RDONLY | O_NONBLOCK);
    ASSERT_GE(reader, 0);
    stage_pieces(fifo, 13);
    char buffer[64] = {};
    EXPECT_EQ(::read(reader, buffer, sizeof buffer), 13);
    EXPECT_EQ(std::string(buffer), "first second!");
    ::close(reader);
#endif
}

TEST(TemporaryFiles, OnlyTheProgramsOwnNamesAreRecognised) {
    struct Case {
        const char* name;
        std::optional<std::uint64_t> owner;
    } cases[] = {
        {".scenariogen-4242-0123456789abcdef.tmp", 4242},
        {".scenariogen-1-ffffffffffffffff.tmp", 1},
        {".scenariogen-4242-0123456789ABCDEF.tmp", std::nullopt},  // upper-case digits: not written by the program
        {".scenariogen-4242-0123456789abcde.tmp", std::nullopt},   // 15 digits
        {".scenariogen--0123456789abcdef.tmp", std::nullopt},
        {".scenariogen-42x-0123456789abcdef.tmp", std::nullopt},
        {".scenariogen-4242-0123456789abcdef.tmp.bak", std::nullopt},
        {"scenariogen-4242-0123456789abcdef.tmp", std::nullopt},
        {".Zervano-OdelmaVmod_linea.dat.e357969d919421a7", std::nullopt},
        {".scenariogen-notes.tmp", std::nullopt},
        {"Zervano-OdelmaVmod_27340.dat", std::nullopt},
    };
    for (const Case& c : cases) EXPECT_EQ(temporary_file_owner(c.name), c.owner) << c.name;
}

// A process number that no process can have: above Linux's largest, and odd
// where Windows numbers processes in fours.
constexpr const char* kEndedProcessTemporary = ".scenariogen-4194305-0123456789abcdef.tmp";

TEST(TemporaryFiles, TakingTheLockRemovesWhatAnEndedProcessLeftAndNothingElse) {
    TempDir dir;
    const std::string own =
        ".scenariogen-" + std::to_string(system_files::current_process_id()) + "-00000000000000aa.tmp";
    const std::vector<std::string> kept{".scenariogen-notes.tmp", own, "Zervano-OdelmaVmod_27340.dat", "mine.tmp"};
    for (const auto& name : kept) spit(dir.file(name), "keep");
    spit(dir.file(kEndedProcessTemporary), "left by a killed run");
    { const FolderLock lock(dir.path().string(), FolderLock::Wait::kNo); }
    std::vector<std::string> expected = kept;
    std::sort(expected.begin(), expected.end());
    EXPECT_EQ(listing(dir.path()), expected);
}

TEST(FolderLocks, ASecondHolderIsRefusedOrWaitsUntilTheFirstLetsGo) {
    TempDir dir;
    const std::string folder = dir.path().string();
    std::optional<FolderLock> first(std::in_place, folder, FolderLock::Wait::kNo);
    // A lock is held per holder, not per process: a second holder in another thread meets the first.
    auto refused = std::async(std::launch::async, [&] {
        try {
            FolderLock second(folder, FolderLock::Wait::kNo);
            return std::string("taken");
        } catch (const FolderBusy& busy) {
            return busy.path();
        }
    });
    EXPECT_EQ(refused.get(), folder);

    std::promise<void> waiting;
    auto waiter = std::async(std::launch::async, [&] {
        FolderLock second(folder, FolderLock::Wait::kUntilFree, [&] { waiting.set_value(); });
        return true;
    });
    ASSERT_EQ(waiting.get_future().wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_EQ(waiter.wait_for(std::chrono::milliseconds(50)), std::future_status::timeout);
    first.reset();
    ASSERT_EQ(waiter.wait_for(std::chrono::seconds(10)), std::future_status::ready);
    EXPECT_TRUE(waiter.get());
    EXPECT_TRUE(listing(dir.path()).empty()) << "the lock leaves no file";
}

TEST(FolderLocks, AFolderThatIsNotThereIsAFileError) {
    TempDir dir;
    EXPECT_THROW(FolderLock(dir.file("missing"), FolderLock::Wait::kNo), FileError);
    spit(dir.file("plain"), "");
    EXPECT_THROW(FolderLock(dir.file("plain"), FolderLock::Wait::kNo), FileError);
}

TEST(SameFile, TwoNamesOfOneFileAreTheSameFile) {
    TempDir dir;
    spit(dir.file("linea.txt"), "text");
    spit(dir.file("copy.txt"), "text");
    fs::create_directory(dir.file("sub"));
    EXPECT_TRUE(same_file(dir.file("linea.txt"), dir.file("linea.txt")));
    EXPECT_TRUE(same_file(dir.file("linea.txt"), (dir.path() / "sub" / ".." / "linea.txt").string()));
    EXPECT_FALSE(same_file(dir.file("linea.txt"), dir.file("copy.txt"))) << "the same bytes, another file";
    EXPECT_FALSE(same_file(dir.file("linea.txt"), dir.file("missing")));
    EXPECT_FALSE(same_file(dir.file("missing"), dir.file("missing")));
#ifndef _WIN32
    fs::create_hard_link(dir.file("linea.txt"), dir.file("hard.txt"));
    fs::create_symlink(dir.file("linea.txt"), dir.file("soft.txt"));
    EXPECT_TRUE(same_file(dir.file("linea.txt"), dir.file("hard.txt")));
    EXPECT_TRUE(same_file(dir.file("soft.txt"), dir.file("linea.txt")));
#endif
}

TEST(PlainFileNames, ANameStaysInsideItsFolder) {
    for (const char* name : {"Zervano-OdelmaVmod_27340.dat", "Nicolò.txt", ".hidden", "a..b"}) {
        EXPECT_TRUE(is_plain_file_name(name)) << name;
    }
    for (const char* name : {"", ".", "..", "a/b", "/"}) EXPECT_FALSE(is_plain_file_name(name)) << name;
    EXPECT_FALSE(is_plain_file_name(std::string("a\0b", 3)));
#ifdef _WIN32
    for (const char* name : {"a\\b", "C:x", "file.txt:stream"}) EXPECT_FALSE(is_plain_file_name(name)) << name;
#endif
}

// Folders and files named in letters beyond ASCII, as UTF-8 in the program
// and through the system's wide-character names on Windows.
TEST(FileNames, NamesInAnyLettersAreKept) {
    TempDir dir;
    const std::string folder = join_path(dir.path().string(), "Nicolò Scenari");
    fs::create_directory(dir.path() / fs::path(u8"Nicolò Scenari"));
    const std::string file = join_path(folder, "città.txt");
    replace_file(file, "Zervano – Odelma");
    EXPECT_TRUE(file_exists(file));
    EXPECT_EQ(read_file(file), "Zervano – Odelma");
    EXPECT_EQ(system_files::folder_entries(folder), std::vector<std::string>{"città.txt"});

    const testing::Outcome run = testing::run_program("-o \"" + folder + "\"");
    EXPECT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(read_file(join_path(folder, "Zervano-OdelmaVmod_27340.dat")).size(), 16976u);
    EXPECT_EQ(system_files::folder_entries(folder).size(), 7u);
}

TEST(ReadFile, AFolderIsNoFile) {
    TempDir dir;
    EXPECT_THROW(read_file(dir.path().string()), FileError);
    EXPECT_THROW(check_readable(dir.path().string()), FileError);
    EXPECT_FALSE(file_exists(dir.path().string()));
    spit(dir.file("x"), "bytes");
    EXPECT_THROW(read_file(dir.file("x"), 4), FileError);
    EXPECT_EQ(read_file(dir.file("x"), 5), "bytes");
}

}  // namespace
}  // namespace scenariogen
