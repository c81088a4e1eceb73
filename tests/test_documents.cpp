// The three driver documents (train card, slowdown order and notes) and the
// two description files of the run: each byte for byte against its golden
// copy in tests/golden, and the invariants every text file of the run keeps
// (Windows-1252, CR LF after every line, no line over its form's width).
#include <gtest/gtest.h>

#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "content/description_files.h"
#include "content/documents.h"
#include "format/scenario_files.h"
#include "platform/file_system.h"
#include "test_support.h"
#include "text/text_lines.h"

namespace scenariogen {
namespace {

std::string golden(const std::string& name) {
    return read_file(std::string(SCENARIOGEN_SOURCE_DIR "/tests/golden/") + name);
}

struct TextFile {
    const char* name;
    LineList (*lines)();
    std::size_t line_count;
    std::size_t bytes;
    std::size_t widest;  // the longest line the form allows, in bytes
    std::set<unsigned> non_ascii;
};

const std::vector<TextFile>& text_files() {
    static const std::set<unsigned> kAccented{0xE0, 0xE8, 0xE9, 0xEC, 0xF2, 0xF9, 0xB0};
    static const std::vector<TextFile> files{
        {"Zervano-OdelmaVmod_27340_scheda_treno.txt", train_card_lines, 44, 3053, 83, {0xE0}},
        {"Zervano-OdelmaVmod_27340_rallentamenti.txt", slowdown_order_lines, 46, 3295, 82, {}},
        {"Zervano-OdelmaVmod_27340_note.txt", notes_lines, 135, 9466, 101, kAccented},
        {"Zervano-OdelmaVmod_linea.txt", line_description_lines, 88, 3631, 80, {}},
        {"Zervano-OdelmaVmod_27340-.txt", train_description_lines, 40, 1919, 120, {}},
    };
    return files;
}

TEST(TextFiles, EachIsItsGoldenCopyByteForByte) {
    for (const TextFile& file : text_files()) {
        const std::string rendered = render_lines(file.lines());
        EXPECT_EQ(rendered.size(), file.bytes) << file.name;
        EXPECT_EQ(rendered, golden(file.name)) << file.name;
    }
}

TEST(TextFiles, Windows1252WithCrLfAfterEveryLineAndNoOverlongLine) {
    for (const TextFile& file : text_files()) {
        SCOPED_TRACE(file.name);
        const LineList list = file.lines();
        ASSERT_EQ(list.size(), file.line_count + 1);
        EXPECT_EQ(list.back(), kSentinel) << "the sentinel closes the list right after the last line";
        const std::vector<std::string> lines = testing::crlf_lines(render_lines(list));
        ASSERT_EQ(lines.size(), file.line_count);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            EXPECT_EQ(lines[i].find_first_of("\r\n"), std::string::npos) << "a stray line-end byte in line " << i;
            EXPECT_LE(lines[i].size(), file.widest) << "line " << i;
            for (const char byte : lines[i]) {
                const auto c = static_cast<unsigned char>(byte);
                if (c >= 0x20 && c < 0x7F) continue;
                EXPECT_TRUE(file.non_ascii.count(c)) << "line " << i << " byte " << unsigned(c);
            }
        }
    }
}

TEST(TextFiles, WritersReplaceFilesWithTheRenderedLinesAndLeaveNoTemporaryFile) {
    testing::TempDir dir;
    const ScenarioFiles files{dir.path().string(), "Zervano-OdelmaVmod", "27340"};
    // A longer file of the same name, left by someone else, must not leave a trace.
    replace_file(files.notes(), std::string(20000, 'x'));
    write_lines(files.notes(), notes_lines());
    write_lines(files.slowdown_order(), slowdown_order_lines());
    write_lines(files.train_card(), train_card_lines());
    for (const char* name : {"Zervano-OdelmaVmod_27340_note.txt", "Zervano-OdelmaVmod_27340_rallentamenti.txt",
                             "Zervano-OdelmaVmod_27340_scheda_treno.txt"}) {
        EXPECT_EQ(read_file(dir.file(name)), golden(name)) << name;
    }
    EXPECT_EQ(testing::listing(dir.path()).size(), 3u);
}

}  // namespace
}  // namespace scenariogen
