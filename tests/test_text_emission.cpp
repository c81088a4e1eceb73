#include <gtest/gtest.h>

#include "platform/file_system.h"
#include "test_support.h"
#include "text/text_lines.h"

namespace scenariogen {
namespace {

using testing::slurp;
using testing::spit;
using testing::TempDir;

TEST(TextEmission, EveryLineEndsInCrLfAndTheSentinelIsNotWritten) {
    const LineList righe{"uno", "", " ", std::string(kSentinel), "never written"};
    EXPECT_EQ(render_lines(righe), "uno\r\n\r\n \r\n");
}

TEST(TextEmission, LongLinesAreWrittenWholeAndUntrimmed) {
    const std::string long_line = "  " + std::string(150, 'x') + "  ";
    EXPECT_EQ(render_lines({long_line, std::string(kSentinel)}), long_line + "\r\n");
}

TEST(TextEmission, AListWithoutItsSentinelIsAFaultOfTheProgram) {
    EXPECT_THROW(render_lines({"a", "b"}), std::logic_error);
    // The sentinel is compared exactly: another letter case does not close the list.
    EXPECT_THROW(render_lines({"Riferimento fine del file"}), std::logic_error);
}

TEST(TextEmission, AccentedLettersBecomeWindows1252Bytes) {
    EXPECT_EQ(to_windows_1252("àèéìòù°"), "\xE0\xE8\xE9\xEC\xF2\xF9\xB0");
    EXPECT_EQ(to_windows_1252("€"), "\x80");
    EXPECT_THROW(to_windows_1252("\xE2\x82"), std::invalid_argument);  // cut-short sequence
    EXPECT_THROW(to_windows_1252("ā"), std::invalid_argument);         // not in the code page
}

TEST(TextEmission, EveryWindows1252ByteComesBackAsItsCharacter) {
    // Two-byte, three-byte and undefined bytes, and the way there and back.
    EXPECT_EQ(from_windows_1252("CITT\xC0 \xB0"), "CITTÀ °");
    EXPECT_EQ(from_windows_1252("\x80\x9C"), "€œ");
    EXPECT_EQ(from_windows_1252("\x81"), "\xEF\xBF\xBD");
    for (int b = 0x20; b <= 0xFF; ++b) {
        if (b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D || b == 0x7F) continue;
        const std::string byte(1, static_cast<char>(b));
        EXPECT_EQ(to_windows_1252(from_windows_1252(byte)), byte) << "byte " << b;
    }
}

TEST(TextEmission, ALongerOldFileLeavesNoTail) {
    TempDir dir;
    const std::string path = dir.file("doc.txt");
    spit(path, std::string(10000, 'z'));
    write_lines(path, {"nuovo", std::string(kSentinel)});
    EXPECT_EQ(slurp(path), "nuovo\r\n");
    write_lines(path, {"nuovo", std::string(kSentinel)});
    EXPECT_EQ(slurp(path), "nuovo\r\n");
    EXPECT_EQ(testing::listing(dir.path()), std::vector<std::string>{"doc.txt"});
}

TEST(TextEmission, AFailedWriteLeavesTheOldFileAndNoTemporaryFile) {
    SKIP_ON_WINDOWS("a read-only Windows folder still takes new files");
    if (testing::running_as_superuser()) GTEST_SKIP() << "the superuser writes into read-only folders";
    TempDir dir;
    const std::string path = dir.file("doc.txt");
    spit(path, "old\r\n");
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_read | std::filesystem::perms::owner_exec);
    EXPECT_THROW(write_lines(path, {"new", std::string(kSentinel)}), FileError);
    std::filesystem::permissions(dir.path(), std::filesystem::perms::owner_all);
    EXPECT_EQ(slurp(path), "old\r\n");
    EXPECT_EQ(testing::listing(dir.path()), std::vector<std::string>{"doc.txt"});
}

TEST(TextEmission, AMissingFolderIsAFileErrorNamingTheFile) {
    TempDir dir;
    const std::string path = dir.file("missing/doc.txt");
    try {
        write_lines(path, {"x", std::string(kSentinel)});
        FAIL() << "no error";
    } catch (const FileError& failure) {
        EXPECT_EQ(failure.path(), path);
        EXPECT_FALSE(failure.reason().empty());
    }
}

}  // namespace
}  // namespace scenariogen
