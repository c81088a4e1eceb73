// The description reader: the one statement of the reader's rules, which the
// compiler, the strict check and the editor all read the texts through.
//
// It reads a text as the reader does: the search for [generale], the
// general section of the line description (up to ten fields in a row that
// hold '-' skipped, ended by the first header whose first character is not
// '-'), the line and train sections (two dash fields skipped), the keyword
// tests on each keyword field in the reader's order, each independently, the
// values each keyword takes, and the last field of a text, which is never
// interpreted. It hands the text on one statement at a time: a keyword field
// tested, the fields skipped before it, and the values of every keyword it
// was taken for, each field with its place and the part it plays.
//
// Reading never fails: whether a value holds what its keyword needs is for
// the caller to judge. A read past the end of the text ends the reading, and
// end() says so.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "syntax/field_cursor.h"
#include "syntax/keywords.h"

namespace scenariogen::syntax {

// The part a field plays in the reading.
enum class Use {
    kIgnored,       // before the field that holds [generale]: never looked at
    kStart,         // the field that holds [generale]
    kKeywordField,  // tested against the keywords
    kDashSkipped,   // holds '-': skipped by the dash rule
    kValue,         // a value of a keyword
    kNeverRead,     // read, but the text ends after it, so it is not interpreted
};

struct FieldUse {
    Field field;
    Use use = Use::kIgnored;
    Section section = Section::kGeneral;  // where the field was read
    int reading = -1;                     // a value: the index of the keyword reading it belongs to
    int first_reading = -1;               // a keyword field: the first keyword reading it was taken for
    int readings = 0;                     // ... and how many
    bool rest_of_line_skipped = false;    // the reader followed the field's line no further (too many fields)
};

// One keyword a keyword field was taken for, and the values read for it.
struct KeywordReading {
    Keyword keyword = Keyword::kLength;
    int keyword_use = 0;          // the index of the keyword field among the uses
    std::vector<int> value_uses;  // the indexes of its values among the uses, in order
    std::size_t missing = 0;      // values that were not there to read
};

// A keyword field and everything read for it since the statement before.
struct Statement {
    std::vector<FieldUse> uses;
    std::vector<KeywordReading> readings;
    int keyword_use = -1;  // -1: the statement holds only fields that are not tested (the end of the text)
    Section section = Section::kGeneral;

    bool has_keyword_field() const { return keyword_use >= 0; }
    const Field& keyword_field() const { return uses[static_cast<std::size_t>(keyword_use)].field; }
    const Field& value(const KeywordReading& reading, std::size_t k) const {
        return uses[static_cast<std::size_t>(reading.value_uses[k])].field;
    }
    void clear();
};

// Where the values of a keyword are taken from.
enum class ValueSource {
    // As the compiler reads: from the fields that follow, on whatever line
    // they stand.
    kFollowingFields,
    // From the keyword's own line only: what the line lacks is counted as
    // missing, and the reading goes on at the next line as if the line had
    // been written right. Lines of more than kMaxFieldsPerLine fields are
    // followed no further. So one reading shows every line's faults.
    kOwnLine,
};

inline constexpr std::size_t kMaxFieldsPerLine = 4096;

// Where the search for [generale] is taken to end in a text that lacks it,
// so that the rest of the text can still be judged.
struct AssumedStart {
    int line = 1;
    bool at_field = false;  // the first field of that line stands for [generale]; else reading starts on it
};

struct ReaderOptions {
    ValueSource values = ValueSource::kFollowingFields;
    // Curve lines are read only when the plan is built; otherwise their
    // values pass as fields that no keyword claims.
    bool curves_read = true;
    std::optional<AssumedStart> assumed_start;  // kOwnLine only
};

// How the reading of a text ended.
enum class ReadingEnd {
    kReading,  // not yet
    kTextEnd,  // the text is exhausted
    kNoStart,  // the text ends before a field that holds [generale]
    kPastEnd,  // the reader would read past the end of the text
};

struct ReadingSummary {
    bool start_found = false;
    std::optional<Span> start;  // the field that holds [generale]
    int general_end_line = 0;   // the line description: the line of the header that ended its general section
    // The dash field of the general section after which the reader reads
    // past the end of the text.
    std::optional<Span> reads_past_end;
};

class DescriptionReader {
public:
    DescriptionReader(std::string_view text, SourceFile file, ReaderOptions options = {});

    // The next statement into `statement` (its buffers are reused); false
    // once the reading has ended and nothing is left to hand on.
    bool next(Statement& statement);

    ReadingEnd end() const { return end_; }
    // kPastEnd: the last field read before the end, or the end of the text
    // when no field was read.
    Span past_end_at() const { return past_end_at_; }
    const ReadingSummary& summary() const { return summary_; }
    // The summary is complete: the reading has left the general section.
    bool summary_complete() const { return phase_ != Phase::kSearch && phase_ != Phase::kGeneral; }
    SourceFile file() const { return file_; }

private:
    enum class Phase { kSearch, kGeneral, kObjects, kTrain, kDone };

    Field read(bool text);
    int record(const Field& field, Use use, Section section);
    void finish(ReadingEnd how);
    void finish_past_end();
    void search_start();
    bool general_pass();
    bool section_pass(Section section);
    void test_keywords(const Field& field, Section section);
    void read_values(int reading, Section section);
    bool own_line() const { return options_.values == ValueSource::kOwnLine; }

    FieldCursor cursor_;
    SourceFile file_;
    ReaderOptions options_;
    Phase phase_ = Phase::kSearch;
    ReadingEnd end_ = ReadingEnd::kReading;
    Span past_end_at_;
    ReadingSummary summary_;
    Statement* out_ = nullptr;
    std::optional<Span> last_read_;
    bool rest_skipped_ = false;  // the field just read was the last the reader follows on its line
    int counted_line_ = 0;
    std::size_t fields_on_line_ = 0;
};

}  // namespace scenariogen::syntax
