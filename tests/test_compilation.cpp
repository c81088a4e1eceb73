// The whole compilation of the scenario's own description files: the files
// it leaves, the values in the records and the bytes of the encoded cell,
// station table and grid files; and the compilations that write nothing.
#include <gtest/gtest.h>

#include <cstring>
#include <optional>

#include "cli/generation_run.h"
#include "compiler/identity_codes.h"
#include "platform/file_system.h"
#include "test_support.h"

namespace scenariogen {
namespace {

using testing::crlf;

// Bytes from hex digits; blanks are ignored.
std::string hex(std::string_view digits) {
    std::string out;
    int high = -1;
    for (const char c : digits) {
        if (c == ' ') continue;
        const int v = c <= '9' ? c - '0' : c - 'a' + 10;
        if (high < 0) {
            high = v;
        } else {
            out.push_back(static_cast<char>(high * 16 + v));
            high = -1;
        }
    }
    return out;
}

std::int16_t le16(const std::string& bytes, std::size_t offset) {
    return static_cast<std::int16_t>(testing::little_endian(bytes, offset, 2));
}
std::int32_t le32(const std::string& bytes, std::size_t offset) {
    return static_cast<std::int32_t>(testing::little_endian(bytes, offset, 4));
}
double f64(const std::string& bytes, std::size_t offset) {
    const std::uint64_t bits = static_cast<std::uint64_t>(testing::little_endian(bytes, offset, 4)) |
                               static_cast<std::uint64_t>(testing::little_endian(bytes, offset + 4, 4)) << 32;
    double v;
    std::memcpy(&v, &bits, sizeof v);
    return v;
}

// The start offset of each record of a station table file, walking the name
// lengths as a consumer must; the 88th value is where the walk ends.
std::vector<std::size_t> station_offsets(const std::string& bytes) {
    std::vector<std::size_t> offsets{0};
    for (int k = 0; k < 87; ++k) {
        const std::size_t o = offsets.back();
        offsets.push_back(o + 34 + testing::little_endian(bytes, o + 14, 2));
    }
    return offsets;
}

const std::vector<std::string> kBinaryFiles{"Zervano-OdelmaVmod_27340.dat", "Zervano-OdelmaVmod_27340.sim",
                                            "Zervano-OdelmaVmod_linea.dat"};

// A compilation in a folder of its own, with the description files under
// the names the run gives them.
struct FolderRun {
    testing::TempDir dir;
    ScenarioFiles targets{dir.path().string(), "Zervano-OdelmaVmod", "27340"};
    CompileResult s;
    CompileOutcome outcome{};

    void compile(bool build_grid = true) {
        s = compile_scenario_folder(targets, build_grid).result;
        outcome = s.outcome;
    }
    void write_descriptions(const std::string& line, const std::string& train) {
        testing::spit(targets.line_description(), line);
        testing::spit(targets.train_description(), train);
    }
    std::string cells() const { return testing::slurp(targets.cells()); }
    std::string table() const { return testing::slurp(targets.station_table()); }
    std::string grid() const { return testing::slurp(targets.grid()); }
};

class CompilationOwnScenario : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        run_ = new FolderRun;
        run_->write_descriptions(testing::own_line_text(), testing::own_train_text());
        run_->compile();
        cells_ = new std::string(run_->cells());
        table_ = new std::string(run_->table());
    }
    static void TearDownTestSuite() {
        delete run_;
        delete cells_;
        delete table_;
    }
    static std::string cell_record(std::size_t i) { return cells_->substr(16 * i, 16); }

    static FolderRun* run_;
    static std::string* cells_;
    static std::string* table_;
};
FolderRun* CompilationOwnScenario::run_ = nullptr;
std::string* CompilationOwnScenario::cells_ = nullptr;
std::string* CompilationOwnScenario::table_ = nullptr;

TEST_F(CompilationOwnScenario, LeavesTheBinaryFilesAndNoDescriptionFile) {
    EXPECT_EQ(run_->outcome, CompileOutcome::kCompiled);
    EXPECT_EQ(run_->s.last_error, 0);
    EXPECT_EQ(run_->s.error_position, 0);
    EXPECT_TRUE(run_->s.faults.empty());
    EXPECT_EQ(testing::listing(run_->dir.path()), kBinaryFiles);
}

TEST_F(CompilationOwnScenario, HeaderValuesAndIdentityCodes) {
    const CompileResult& s = run_->s;
    EXPECT_EQ(s.cells.at(1).value_1, 5121);
    EXPECT_EQ(s.cells.at(1).value_2, 2332);  // "27340zervano-odelmavmodaa"
    EXPECT_EQ(s.cells.at(1).value_2, short_identity_code(s.stations));
    EXPECT_EQ(s.stations[85].attribute_7, 610);
    EXPECT_EQ(s.stations[85].time, 32726);
    EXPECT_EQ(s.stations[85].time, long_identity_code(s.stations));
    // In the cell file: record 1, offsets 2 and 4, that is bytes 18 to 21.
    EXPECT_EQ(le16(*cells_, 18), 5121);
    EXPECT_EQ(le16(*cells_, 20), 2332);
}

TEST_F(CompilationOwnScenario, CellFileRecords) {
    ASSERT_EQ(cells_->size(), 16976u);  // 1061 records, cells 0 to 1060
    struct Record {
        std::size_t cell;
        std::string bytes;
    };
    // tipo, riservato, valore_1..4, tempo_segnale, preavviso, montagna,
    // velocita_limite, pendenza, aderenza
    const std::vector<Record> records{
        {1, hex("00 00 0114 1c09 0000 0000 00 00 00 1c 64 64")},
        {4, hex("00 00 0000 0000 0000 0000 00 51 00 1c 64 64")},   // approach marker 81
        {5, hex("0a 00 0100 0000 0000 0000 00 00 00 1c 64 64")},   // end of ZERVANO's area
        {63, hex("00 00 0000 0000 0000 0000 00 1f 00 1c 64 64")},  // advance marker 31
        {65, hex("01 00 2800 0a00 0000 0300 00 00 00 1c 64 64")},  // signal at 3200 m
        {631, hex("01 00 1400 1e00 0000 1000 00 00 00 1c 64 64")},
        {861, hex("01 00 1400 1e00 0000 0600 00 00 00 12 64 64")},  // last cell at 90 km/h
        {862, hex("0e 00 2c00 0000 0000 0000 00 00 00 06 64 64")},  // the 37th sign, text in entry 44
        {1057, hex("00 00 0000 0000 0000 0000 00 00 00 06 64 64")},
        {1058, std::string(16, '\0')},
        {1059, std::string(16, '\0')},
        {1060, std::string(16, '\0')},
    };
    for (const Record& r : records) EXPECT_EQ(cell_record(r.cell), r.bytes) << "record " << r.cell;
    // The record of cell 65 occupies bytes 1040 to 1055.
    EXPECT_EQ(cells_->substr(1040, 16), cell_record(65));
    for (std::size_t i = 0; i < 1061; ++i) EXPECT_EQ((*cells_)[16 * i + 1], '\0') << "riservato of record " << i;
}

TEST_F(CompilationOwnScenario, StationTableFileRecords) {
    const std::string& t = *table_;
    const std::vector<std::size_t> at = station_offsets(t);
    EXPECT_EQ(at.back(), t.size()) << "87 records make the whole file";
    const auto record = [&](std::size_t k) { return t.substr(at[k], at[k + 1] - at[k]); };
    const std::string cleared(34, '\0');
    for (const std::size_t k : {0u, 10u, 43u, 82u, 83u}) EXPECT_EQ(record(k), cleared) << "entry " << k;

    EXPECT_EQ(record(1), hex("04 d4feffff 2c010000 00000000 00 0700") + "ZERVANO" +
                             hex("0100 0100 0400 0100 0100 00 01 00 00 1c5c0000"));
    EXPECT_EQ(record(6), hex("1b ac8a0000 d88b0000 428b0000 00 0800") + "CALVISSO" +
                             hex("0000 0000 0000 0000 0000 00 3c 00 00 40650000"));
    EXPECT_EQ(record(81), hex("00 9c310000 24c20000 01000000 00 0000") + std::string(18, '\0'));
    EXPECT_EQ(record(84), hex("00 82000000 b0b30000 06000000 00 0000") + std::string(18, '\0'));
    EXPECT_EQ(record(85), hex("00 01000000 00000000 00000000 00 1200") + "Zervano-OdelmaVmod" +
                              hex("6202 0000 0000 0000 0000 00 00 00 00 d67f0000"));
    EXPECT_EQ(record(86), hex("00 00000000 00000000 00000000 00 0500") + "27340" +
                              hex("2c01 0000 0600 2000 3200 00 00 00 00 00000000"));
    // The long identity code: the last four bytes of record 85.
    EXPECT_EQ(le32(t, at[86] - 4), 32726);

    // LUVERA, 5000 to 5650 m, 6:39:00, dwell 60 s, attributo_14 1.
    const std::size_t luvera = at[2];
    EXPECT_EQ(t.substr(luvera + 16, 6), "LUVERA");
    EXPECT_EQ(le32(t, luvera + 1), 5000);
    EXPECT_EQ(le32(t, luvera + 5), 5650);
    EXPECT_EQ(le32(t, luvera + 9), 5300);
    EXPECT_EQ(t[luvera + 16 + 6 + 11], 60);  // sosta
    EXPECT_EQ(t[luvera + 16 + 6 + 12], 1);   // attributo_14
    EXPECT_EQ(le32(t, luvera + 16 + 6 + 14), 23940);

    // Sign texts from entry 80 down to 44.
    EXPECT_EQ(t.substr(at[80] + 16, testing::little_endian(t, at[80] + 14, 2)), "(Diramazione per)(    GORVENTA)");
    EXPECT_EQ(t.substr(at[44] + 16, testing::little_endian(t, at[44] + 14, 2)), "(   P.L.  )(km 6+532)");
}

TEST_F(CompilationOwnScenario, GridFile) {
    const std::string g = run_->grid();
    // Per coordinate: metres 0 and 1 as 16-bit integers (4 bytes each),
    // metres 2 to 52998 as doubles (10 bytes), metres 52999 and 53000 empty.
    const std::size_t block = 2 * 4 + 52997 * 10 + 2 * 2;
    ASSERT_EQ(g.size(), 2 * block);
    EXPECT_EQ(g.substr(0, 8), hex("0200 0000 0200 0000"));
    EXPECT_EQ(g.substr(block, 8), hex("0200 0000 0200 0100"));
    EXPECT_EQ(g.substr(block - 4, 4), hex("0000 0000"));
    EXPECT_EQ(g.substr(2 * block - 4, 4), hex("0000 0000"));
    const auto x = [&](std::size_t metre) { return 8 + (metre - 2) * 10; };
    EXPECT_EQ(testing::little_endian(g, x(650), 2), 5u);
    EXPECT_EQ(f64(g, x(650) + 2), 0.0);            // x of metre 650
    EXPECT_EQ(f64(g, block + x(650) + 2), 650.0);  // y of metre 650
    EXPECT_EQ(f64(g, x(651) + 2), 0.001);          // the first right curve starts turning
}

TEST(Compilation, WithoutTheGridRequestTheGridFileIsLeftAlone) {
    FolderRun run;
    testing::spit(run.targets.grid(), "earlier grid");
    run.write_descriptions(testing::own_line_text(), testing::own_train_text());
    run.compile(0);
    EXPECT_EQ(run.outcome, CompileOutcome::kCompiled);
    EXPECT_EQ(run.grid(), "earlier grid");
    EXPECT_EQ(run.cells().size(), 16976u);
    EXPECT_EQ(testing::listing(run.dir.path()), kBinaryFiles);
}

TEST(Compilation, ShorterRouteLeavesNoTailOfTheLongerFiles) {
    FolderRun run;
    run.write_descriptions(testing::own_line_text(), testing::own_train_text());
    run.compile();
    ASSERT_EQ(run.cells().size(), 16976u);
    run.write_descriptions(crlf({"[generale]", "lunghezza percorso,  3000", "[linea]", "[fine]"}),
                           crlf({"[generale]", "[fine]"}));
    run.compile();
    EXPECT_EQ(run.s.last_error, 0);
    EXPECT_EQ(run.cells().size(), 16u * 201);  // cells 0 to 200
    EXPECT_EQ(run.table().size(), 87u * 34 + 18 + 5);
    EXPECT_EQ(run.grid().size(), 2u * (2 * 4 + 9997 * 10 + 2 * 2));
}

TEST(Compilation, RecordedFaultsDoNotStopTheWriting) {
    // The line ends with error 15 (a sign beyond the cells), the train reading
    // then stops at its slowdown line, and the post-processing finds the
    // first window before that slowdown full: error 12 is what remains.
    FolderRun run;
    run.write_descriptions(
        crlf({"[generale]", "lunghezza percorso,  3000", "[linea]", "cartello_indicatore,  9950,  (x)", "[fine]"}),
        crlf({"[generale]", "abbattimento,  1250,  0", "abbattimento,  1200,  0", "abbattimento,  1150,  0",
              "rallentamento,  1450,  120,  100,  0,  0,  0", "velocita,  0,  100", "[fine]"}));
    run.compile();
    EXPECT_EQ(run.outcome, CompileOutcome::kCompiled);
    EXPECT_EQ(run.s.last_error, 12);
    EXPECT_EQ(run.s.error_position, 1500);
    std::vector<std::int32_t> codes;
    for (const Diagnostic& f : run.s.faults) codes.push_back(f.number);
    EXPECT_EQ(codes, (std::vector<std::int32_t>{15, 15, 12}));
    EXPECT_EQ(testing::listing(run.dir.path()), kBinaryFiles);
    const std::string cells = run.cells();
    ASSERT_EQ(cells.size(), 16u * 201);
    EXPECT_EQ(cells.substr(16 * 30, 4), hex("03 00 7800"));  // the slowdown start
    EXPECT_EQ(cells.substr(16 * 25, 4), hex("0d 00 0000"));  // a code drop without value
    EXPECT_EQ(cells.substr(16 * 19, 4), hex("0c 00 b400"));  // window 2: a point of 180
    EXPECT_EQ(cells.substr(16 * 12, 4), hex("0c 00 b400"));  // window 3
    EXPECT_EQ(cells[16 * 0 + 13], 0);                        // the speed line after the slowdown was never read
}

// The line description goes once found; the train description goes when its
// reading began or a reading failure ended both readings, and stays when a
// fault of the line description stopped the reading first.
TEST(Compilation, TheDescriptionFilesARunLeaves) {
    struct Case {
        const char* name;
        std::string line;
        std::string train;
        std::int32_t number;
        bool train_left;
    };
    const std::string line = testing::own_line_text();
    const std::string train = testing::own_train_text();
    const auto changed = [](std::string text, const std::string& from, const std::string& to) {
        return text.replace(text.find(from), from.size(), to);
    };
    const std::vector<Case> cases{
        {"a clean compilation", line, train, 0, false},
        {"a sign on a sign: the line reading stops",
         changed(line, "cartello_indicatore,  650,", "cartello_indicatore,  550,"), train, 6, true},
        {"an object beyond the cells: the train is still read",
         changed(line, "cartello_indicatore,  43050,", "cartello_indicatore,  52950,"), train, 15, false},
        {"a fault of the train description", line, changed(train, "stazione,  5300,", "stazione,  5310,"), 8, false},
        {"a reading failure in the train description", line, changed(train, "sabbia,    300", "sabbia,    tre"), 25,
         false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FolderRun run;
        run.write_descriptions(c.line, c.train);
        run.compile(false);
        EXPECT_EQ(run.s.last_error, c.number);
        EXPECT_FALSE(file_exists(run.targets.line_description()));
        EXPECT_EQ(file_exists(run.targets.train_description()), c.train_left);
    }
}

TEST(Compilation, NothingIsWrittenWhenTheRouteHasNoCells) {
    struct Case {
        const char* name;
        std::optional<std::string> line;
        std::int32_t number;
        std::vector<std::string> left;
    };
    const std::string train_name = "Zervano-OdelmaVmod_27340-.txt";
    const std::string earlier = "Zervano-OdelmaVmod_27340.dat";
    const std::vector<Case> cases{
        {"no line file", std::nullopt, 101, {train_name, earlier}},
        {"no general section", crlf({"lunghezza percorso,  3000"}), 102, {train_name, earlier}},
        {"route longer than 1000000 m",
         crlf({"[generale]", "lunghezza percorso,  1000001", "[fine]"}),
         1,
         {train_name, earlier}},
        {"unreadable length", crlf({"[generale]", "lunghezza percorso,  tremila", "[fine]"}), 25, {earlier}},
        {"no length line", crlf({"[generale]", "sfondo uno,  1", "[fine]"}), 25, {earlier}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        FolderRun run;
        testing::spit(run.targets.cells(), "earlier cell file");
        if (c.line) testing::spit(run.targets.line_description(), *c.line);
        testing::spit(run.targets.train_description(), testing::own_train_text());
        run.compile();
        EXPECT_EQ(run.outcome, CompileOutcome::kNoCells);
        EXPECT_EQ(run.s.last_error, c.number);
        EXPECT_TRUE(run.s.cells.empty());
        EXPECT_EQ(testing::listing(run.dir.path()), c.left);
        EXPECT_EQ(run.cells(), "earlier cell file");
    }
}

}  // namespace
}  // namespace scenariogen
