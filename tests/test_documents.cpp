// The three driver documents: train card, slowdown order and notes. The card
// and the order are fixed forms whose sizes and column layout are known; the
// notes are prose whose wording is free but whose block structure is not.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <set>
#include <string>
#include <vector>

#include "content/documents.h"
#include "format/scenario_files.h"
#include "platform/file_system.h"
#include "text/text_lines.h"

namespace scenariogen {
namespace {

// The lines of a rendered file, as bytes, without their CR LF. Fails the test
// when a line end is not CR LF or the file does not end with one.
std::vector<std::string> lines_of(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < bytes.size()) {
        const std::size_t end = bytes.find("\r\n", start);
        if (end == std::string::npos) {
            ADD_FAILURE() << "file does not end with CR LF";
            break;
        }
        std::string line = bytes.substr(start, end - start);
        EXPECT_EQ(line.find_first_of("\r\n"), std::string::npos) << "stray line-end byte in line " << lines.size();
        lines.push_back(std::move(line));
        start = end + 2;
    }
    return lines;
}

unsigned byte_at(const std::string& line, std::size_t column) {  // column counted from 1
    return static_cast<unsigned char>(line.at(column - 1));
}

// Columns (from 1) of every '|' in a line.
std::vector<std::size_t> bar_columns(const std::string& line) {
    std::vector<std::size_t> columns;
    for (std::size_t i = 0; i < line.size(); ++i) {
        if (line[i] == '|') columns.push_back(i + 1);
    }
    return columns;
}

bool blank_only(const std::string& text) { return text.find_first_not_of(' ') == std::string::npos; }

// The list closes with the sentinel right after the document's last line.
void expect_closed_by_sentinel(const LineList& righe, std::size_t line_count) {
    ASSERT_EQ(righe.size(), line_count + 1);
    EXPECT_EQ(righe.back(), kSentinel);
    for (std::size_t i = 0; i < line_count; ++i) EXPECT_NE(righe[i], kSentinel) << "line " << i;
}

// ---------------------------------------------------------------- train card

class DocumentTrainCard : public ::testing::Test {
protected:
    void SetUp() override {
        righe = train_card_lines();
        bytes = render_lines(righe);
        lines = lines_of(bytes);
        ASSERT_EQ(lines.size(), 44u);
    }
    LineList righe;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST_F(DocumentTrainCard, SizeAndLineCount) {
    expect_closed_by_sentinel(righe, 44);
    EXPECT_EQ(bytes.size(), 3053u);
    // Three empty lines, then a single blank as the very last line.
    EXPECT_EQ(bytes.substr(bytes.size() - 9), "\r\n\r\n\r\n \r\n");
}

TEST_F(DocumentTrainCard, EmptyLinesAndLineLengths) {
    const std::set<std::size_t> empty{0, 1, 11, 40, 41, 42};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (empty.count(i)) {
            EXPECT_TRUE(lines[i].empty()) << "line " << i;
        } else if (i != 43) {
            EXPECT_FALSE(blank_only(lines[i])) << "line " << i;
        }
    }
    EXPECT_EQ(lines[43], " ");
    EXPECT_EQ(lines[2].size(), 82u);
    EXPECT_EQ(lines[12].size(), 82u);
    for (std::size_t i = 13; i <= 39; ++i) EXPECT_EQ(lines[i].size(), 83u) << "line " << i;
    std::size_t longest = 0;
    for (const auto& line : lines) longest = std::max(longest, line.size());
    EXPECT_EQ(longest, 83u);
}

TEST_F(DocumentTrainCard, TimetableBarsStandAtTheirColumnsOnEveryRow) {
    const std::vector<std::size_t> expected{2, 8, 14, 25, 31, 60, 77, 83};
    for (std::size_t i = 13; i <= 39; ++i) EXPECT_EQ(bar_columns(lines[i]), expected) << "line " << i;
    // The rules above and below the table: underscores at columns 3 to 82.
    EXPECT_EQ(lines[12], "  " + std::string(80, '_'));
    EXPECT_EQ(lines[15], lines[39]);
}

TEST_F(DocumentTrainCard, LocalitaIsTheOnlyNonAsciiByte) {
    EXPECT_EQ(byte_at(lines[13], 42), 0xE0u);
    EXPECT_EQ(lines[13].substr(34, 8), "Localit\xE0");
    std::size_t high = 0;
    for (unsigned char c : bytes) high += c >= 0x80;
    EXPECT_EQ(high, 1u);
}

TEST_F(DocumentTrainCard, ProgressivesRiseToBrendagoThenFall) {
    // Rows 16 to 27: the progressive in kilometres with three decimals, right-
    // aligned to column 24; it grows up to the third station and then falls on
    // the second progressive.
    std::vector<double> km;
    for (std::size_t i = 16; i <= 27; ++i) {
        const std::string cell = lines[i].substr(14, 10);
        const std::size_t point = cell.find('.');
        ASSERT_NE(point, std::string::npos) << "line " << i;
        EXPECT_EQ(point, 6u) << "line " << i;  // three decimals, ending at column 24
        km.push_back(std::atof(cell.c_str()));
        EXPECT_NE(lines[i][32], ' ') << "place name starts at column 33, line " << i;
    }
    EXPECT_EQ(km.front(), 0.0);
    for (std::size_t k = 1; k < 4; ++k) EXPECT_GT(km[k], km[k - 1]) << "row " << 16 + k;
    EXPECT_EQ(km[3], 12.8);
    for (std::size_t k = 5; k < km.size(); ++k) EXPECT_LT(km[k], km[k - 1]) << "row " << 16 + k;
    EXPECT_EQ(km.back(), 5.2);
}

// ------------------------------------------------------------ slowdown order

class DocumentSlowdownOrder : public ::testing::Test {
protected:
    void SetUp() override {
        righe = slowdown_order_lines();
        bytes = render_lines(righe);
        lines = lines_of(bytes);
        ASSERT_EQ(lines.size(), 46u);
    }
    LineList righe;
    std::string bytes;
    std::vector<std::string> lines;
};

TEST_F(DocumentSlowdownOrder, SizeLineCountAndAsciiOnly) {
    expect_closed_by_sentinel(righe, 46);
    EXPECT_EQ(bytes.size(), 3295u);
    for (const auto& line : lines) {
        for (unsigned char c : line) EXPECT_TRUE(c >= 0x20 && c < 0x7F) << "byte " << unsigned(c);
    }
    // The last line is the continuation of the key's entry C, not an empty line.
    EXPECT_EQ(lines[45].substr(0, 6), "     i");
}

TEST_F(DocumentSlowdownOrder, EmptyLinesAndLineLengths) {
    const std::set<std::size_t> empty{0, 5, 39};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        EXPECT_EQ(lines[i].empty(), empty.count(i) == 1) << "line " << i;
    }
    for (std::size_t i : {3u, 6u, 7u}) EXPECT_EQ(lines[i].size(), 81u) << "line " << i;
    for (std::size_t i = 8; i <= 38; ++i) EXPECT_EQ(lines[i].size(), 82u) << "line " << i;
    std::size_t longest = 0;
    for (const auto& line : lines) longest = std::max(longest, line.size());
    EXPECT_EQ(longest, 82u);
    EXPECT_EQ(lines[3], " " + std::string(80, '_'));
}

TEST_F(DocumentSlowdownOrder, TableBarsAndTwentySixEmptyRows) {
    const std::vector<std::size_t> expected{2, 6, 35, 48, 59, 69, 82};
    for (std::size_t i = 8; i <= 38; ++i) EXPECT_EQ(bar_columns(lines[i]), expected) << "line " << i;
    for (std::size_t i = 12; i <= 37; ++i) {
        std::string cells = lines[i];
        std::replace(cells.begin(), cells.end(), '|', ' ');
        EXPECT_TRUE(blank_only(cells)) << "row " << i << " should be empty";
    }
    EXPECT_EQ(lines[11], lines[38]);
    EXPECT_EQ(std::count(lines[11].begin(), lines[11].end(), '_'), 82 - 7 - 1);
}

TEST_F(DocumentSlowdownOrder, KeyCodesStandInTheOrderADC) {
    const std::vector<std::string> codes{" A - ", " B - ", " D - ", " C - "};
    for (std::size_t k = 0; k < codes.size(); ++k) EXPECT_EQ(lines[41 + k].substr(0, 5), codes[k]);
}

// --------------------------------------------------------------------- notes

class DocumentNotes : public ::testing::Test {
protected:
    void SetUp() override {
        righe = notes_lines();
        bytes = render_lines(righe);
        lines = lines_of(bytes);
        ASSERT_EQ(lines.size(), 135u);
    }
    LineList righe;
    std::string bytes;
    std::vector<std::string> lines;  // Windows-1252, one byte per character
};

const std::set<std::size_t> kNotesEmptyLines{1, 7, 12, 43, 62, 63, 65, 108, 109, 111, 114, 128, 129, 131, 133, 134};

TEST_F(DocumentNotes, FixedLinesAtTheirPlaces) {
    expect_closed_by_sentinel(righe, 135);
    const struct {
        std::size_t line;
        std::string text;
    } fixed[] = {
        {0, "Caratteristiche della linea Zervano-Odelma"},
        {64, "Cenno storico"},
        {110, "Caratteristiche del treno 27340"},
        {115, "Composizione."},
        {24, "- stazioni:"},
        {34, "- fermate:"},
        {37, "- velocit\xE0:"},
    };
    for (const auto& f : fixed) EXPECT_EQ(lines[f.line], f.text) << "line " << f.line;
}

TEST_F(DocumentNotes, EmptyLinesExactlyWhereTheLayoutPutsThem) {
    for (std::size_t i = 0; i < lines.size(); ++i) {
        if (kNotesEmptyLines.count(i)) {
            EXPECT_TRUE(lines[i].empty()) << "line " << i;
        } else {
            EXPECT_FALSE(blank_only(lines[i])) << "line " << i << " must carry text";
        }
    }
}

TEST_F(DocumentNotes, SignatureAndContact) {
    const std::string& name = lines[130];
    EXPECT_NE(name.front(), ' ');
    EXPECT_NE(name.front(), '-');
    EXPECT_NE(name.find(' '), std::string::npos) << "first name and surname";

    const std::string label = "E-Mail: ";
    ASSERT_EQ(lines[132].substr(0, label.size()), label);
    const std::string address = lines[132].substr(label.size());
    const std::size_t at = address.find('@');
    ASSERT_NE(at, std::string::npos);
    EXPECT_GT(at, 0u);
    EXPECT_EQ(address.find(' '), std::string::npos);
    const std::string domain = address.substr(at + 1);
    const std::vector<std::string> reserved{"example.org", "example.com", "example.net"};
    const bool reserved_domain = std::find(reserved.begin(), reserved.end(), domain) != reserved.end() ||
                                 domain.ends_with(".example") || domain.ends_with(".test") ||
                                 domain.ends_with(".invalid");
    EXPECT_TRUE(reserved_domain) << domain;
}

// Lines 13 to 42: an introduction, five items on the line's equipment, then
// the groups of stations, stops and speeds, one right after the other; in
// each group exactly one sub-item runs onto a continuation line.
TEST_F(DocumentNotes, EquipmentListSyntax) {
    enum Kind { Intro, Item, ItemMore, Group, Sub, SubMore };
    const auto kind_of = [](const std::string& line) {
        if (line.starts_with("  - ")) return Sub;
        if (line.starts_with("    ")) return SubMore;
        if (line.starts_with("  ")) return ItemMore;
        if (line.starts_with("- ")) return line.ends_with(":") && line.find(' ', 2) == std::string::npos ? Group : Item;
        return Intro;
    };
    std::vector<Kind> kinds;
    for (std::size_t i = 13; i <= 42; ++i) {
        const std::string& line = lines[i];
        const Kind kind = kind_of(line);
        // The text starts right after the marker or the indent, with no further blank.
        const std::size_t indent = kind == Intro ? 0 : (kind == Sub || kind == SubMore) ? 4 : 2;
        ASSERT_GT(line.size(), indent) << "line " << i;
        EXPECT_NE(line[indent], ' ') << "line " << i;
        // A continuation goes on from its own kind of entry.
        if (kind == ItemMore) {
            EXPECT_TRUE(!kinds.empty() && (kinds.back() == Item || kinds.back() == ItemMore)) << "line " << i;
        }
        if (kind == SubMore) {
            EXPECT_TRUE(!kinds.empty() && (kinds.back() == Sub || kinds.back() == SubMore)) << "line " << i;
        }
        kinds.push_back(kind);
    }
    const auto at = [&](std::size_t line) { return kinds[line - 13]; };

    EXPECT_EQ(at(13), Intro);
    EXPECT_TRUE(lines[13].ends_with(":"));
    std::size_t items = 0;
    for (std::size_t i = 14; i <= 23; ++i) {
        EXPECT_TRUE(at(i) == Item || at(i) == ItemMore) << "line " << i;
        if (at(i) == Item) ++items;
    }
    EXPECT_EQ(at(14), Item);
    EXPECT_EQ(items, 5u);

    // Each group runs from its label to the line before the next label (or to
    // line 42) and holds only sub-items and their continuations; the sub-items
    // are listed in order.
    const struct {
        std::size_t label, last;
        std::vector<std::string> subitems;
    } groups[] = {
        {24,
         33,
         {"ZERVANO", "LUVERA", "BRENDAGO", "TORRIANEVALLE", "MURIELLO", "FONTEGA", "ODELMA S.LEONARDINO",
          "ODELMA P.LIVARA"}},
        {34, 36, {"CALVISSO"}},
        {37, 42, {"140 km/h", "105 km/h", "90 km/h", "30 km/h"}},
    };
    for (const auto& g : groups) {
        EXPECT_EQ(at(g.label), Group) << "line " << g.label;
        EXPECT_EQ(at(g.label + 1), Sub) << "line " << g.label + 1;
        std::vector<std::string> subitems;
        std::size_t continuations = 0;
        for (std::size_t i = g.label + 1; i <= g.last; ++i) {
            if (at(i) == Sub) {
                subitems.push_back(lines[i]);
            } else {
                EXPECT_EQ(at(i), SubMore) << "line " << i;
                ++continuations;
            }
        }
        ASSERT_EQ(subitems.size(), g.subitems.size()) << "group at line " << g.label;
        EXPECT_EQ(continuations, 1u) << "group at line " << g.label;
        for (std::size_t k = 0; k < subitems.size(); ++k) {
            EXPECT_TRUE(subitems[k].starts_with("  - " + g.subitems[k] + " ")) << subitems[k];
        }
    }
}

TEST_F(DocumentNotes, ProgressivesListBetweenParagraphs) {
    EXPECT_TRUE(lines[52].ends_with(":"));
    EXPECT_FALSE(lines[52].starts_with(" ") || lines[52].starts_with("-"));
    EXPECT_TRUE(lines[53].starts_with("- "));
    EXPECT_TRUE(lines[54].starts_with("- "));
    EXPECT_TRUE(lines[55].starts_with("  ") && lines[55][2] != ' ' && lines[55][2] != '-');
}

TEST_F(DocumentNotes, ParagraphLinesStartAtColumnOne) {
    const struct {
        std::size_t first, last;
    } paragraphs[] = {{2, 6}, {8, 11}, {44, 51}, {56, 61}, {66, 107}, {112, 113}, {116, 127}};
    for (const auto& p : paragraphs) {
        for (std::size_t i = p.first; i <= p.last; ++i) {
            EXPECT_NE(lines[i][0], ' ') << "line " << i;
            EXPECT_FALSE(lines[i].starts_with("- ")) << "line " << i;
        }
    }
}

TEST_F(DocumentNotes, LineLengthsAndBreaks) {
    std::size_t broken = 0;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        EXPECT_LE(line.size(), 101u) << "line " << i;
        if (!line.ends_with(" ")) continue;
        ++broken;
        // A break keeps exactly one blank and the text goes on in the next
        // line, never into an empty line or a new list item.
        EXPECT_FALSE(line.ends_with("  ")) << "line " << i;
        ASSERT_LT(i + 1, lines.size());
        EXPECT_FALSE(lines[i + 1].empty()) << "line " << i << " ends a paragraph with a blank";
        EXPECT_FALSE(lines[i + 1].starts_with("- ") || lines[i + 1].starts_with("  - ")) << "line " << i + 1;
    }
    EXPECT_EQ(broken, 61u);
    // The lines before an empty line end their paragraph without a blank.
    for (std::size_t i : kNotesEmptyLines) {
        if (i > 0 && !lines[i - 1].empty()) {
            EXPECT_FALSE(lines[i - 1].ends_with(" ")) << "line " << i - 1;
        }
    }
}

TEST_F(DocumentNotes, OnlyTheSevenAccentedCharactersLeaveAscii) {
    const std::set<unsigned> accented{0xE0, 0xE8, 0xE9, 0xEC, 0xF2, 0xF9, 0xB0};
    for (std::size_t i = 0; i < lines.size(); ++i) {
        for (unsigned char c : lines[i]) {
            if (c >= 0x20 && c < 0x7F) continue;
            EXPECT_TRUE(accented.count(c)) << "line " << i << " byte 0x" << std::hex << unsigned(c);
        }
    }
    // Each source entry is UTF-8: one character, one byte in the file, and
    // the accented letters take two bytes in the entry.
    EXPECT_EQ(to_windows_1252("àèéìòù°"), "\xE0\xE8\xE9\xEC\xF2\xF9\xB0");
    EXPECT_EQ(righe[37], "- velocità:");
    EXPECT_EQ(righe[37].size(), lines[37].size() + 1);
}

// ------------------------------------------------------------------ writing

class DocumentFiles : public ::testing::Test {
protected:
    void SetUp() override {
        std::string pattern = (std::filesystem::temp_directory_path() / "documents-XXXXXX").string();
        ASSERT_NE(::mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(folder); }
    std::string folder;
};

TEST_F(DocumentFiles, WritersReplaceFilesWithTheRenderedLines) {
    const ScenarioFiles files{folder, "Zervano-OdelmaVmod", "27340"};
    // A longer file of the same name, left by someone else, must not leave a trace.
    replace_file(files.notes(), std::string(20000, 'x'));

    write_lines(files.notes(), notes_lines());
    write_lines(files.slowdown_order(), slowdown_order_lines());
    write_lines(files.train_card(), train_card_lines());

    const struct {
        std::string name;
        std::string path;
        std::string expected;
    } documents[] = {
        {"Zervano-OdelmaVmod_27340_note.txt", files.notes(), render_lines(notes_lines())},
        {"Zervano-OdelmaVmod_27340_rallentamenti.txt", files.slowdown_order(), render_lines(slowdown_order_lines())},
        {"Zervano-OdelmaVmod_27340_scheda_treno.txt", files.train_card(), render_lines(train_card_lines())},
    };
    for (const auto& d : documents) {
        EXPECT_EQ(std::filesystem::path(d.path).filename().string(), d.name);
        EXPECT_EQ(read_file(d.path), d.expected) << d.name;
    }
    std::size_t entries = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(folder)) ++entries;
    EXPECT_EQ(entries, 3u) << "no temporary file is left behind";
}

}  // namespace
}  // namespace scenariogen
