// The reading of the two description texts into the compilation state: the
// line description first, then the train description. The texts are read
// through the description reader, statement by statement; here each keyword
// read becomes what it stores, and the working values that the two readings
// share live here.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "compiler/compilation_state.h"
#include "syntax/description_reader.h"

namespace scenariogen {

struct DescriptionTexts {
    std::string_view line;
    std::optional<std::string_view> train;  // none: it could not be read
};

// How far the reading went.
struct ReadingExtent {
    bool train_read = false;      // the train description's reading began
    bool reading_failed = false;  // a reading failure (error 25) ended the reading
};

// Reads both descriptions into `s`. Faults are recorded in `s`; the cells
// stay unsized when the reading stops before the route length is known.
[[nodiscard]] ReadingExtent read_descriptions(CompilationState& s, const DescriptionTexts& texts);

class DescriptionReading {
public:
    DescriptionReading(CompilationState& s, const DescriptionTexts& texts) : s_(s), texts_(texts) {}

    ReadingExtent run();

private:
    enum class Phase { kGoesOn, kLeave };  // after a phase: read on, or leave the reading
    enum class Step { kNext, kEndSection, kLeave };

    // The line description.
    Phase line_phase();
    Step general_keyword(syntax::Keyword keyword);
    Step route_length();
    void progressive(syntax::Keyword keyword);
    Step signal_repetition();
    void start_line_section();
    Step line_keyword(syntax::Keyword keyword);
    Step gradient_line();
    Step curve_line();
    Step mountain_line();
    Step speed_board_line();
    Step sign_line();
    void end_line_section();

    // The train description.
    void train_phase();
    Step train_keyword(syntax::Keyword keyword);
    Step speed_line();
    Step adhesion_line();
    void clock_line();
    Step signal_line();
    Step slowdown_line();
    Step marker_outcome(std::int32_t number, std::int32_t error_before, std::int32_t position);
    Step code_drop_line();
    Step station_line();
    void read_station_values(StationEntry& entry);
    void set_station_extent(StationEntry& entry, std::int32_t length);
    Step mark_station(std::int32_t k, StationEntry& entry);
    std::uint8_t pending_speed_fifths() const;
    void end_train_section();
    void check_progressives();

    // Reading.
    void open(SourceFile file, std::string_view text);
    // The next statement that tests a keyword field; false at the end of the text.
    bool next_statement();
    // Serves each keyword the statement's field was taken for, in the reader's order.
    using Server = Step (DescriptionReading::*)(syntax::Keyword);
    Step serve_keywords(Server serve);
    // The end of the text: a read past it is a reading failure.
    void check_text_end() const;
    // The values of the keyword being served, in order.
    const syntax::Field& next_value();
    syntax::Span failure_place(const syntax::Field& value) const;
    std::int32_t read_number();
    std::int16_t read_int16();
    std::uint8_t read_uint8();
    std::string_view read_text();
    std::int32_t read_position();
    bool too_far(std::int64_t p, std::int64_t room) const;
    void place(syntax::Keyword keyword, std::int32_t position, std::int32_t first_cell, std::int32_t last_cell);

    // Faults.
    Step out_of_route(std::int32_t p);
    // Records the fault and ends the reading of the text being read.
    Step leave(std::int32_t number, std::optional<std::int32_t> position = std::nullopt, std::string detail = {});
    void record(std::int32_t number, std::optional<std::int32_t> position, std::string detail = {});
    void record_reading_failure(const std::string& what, std::optional<syntax::Span> where);
    std::optional<SourceRange> range_of(const syntax::Span& span) const;

    CompilationState& s_;
    const DescriptionTexts& texts_;
    std::optional<syntax::DescriptionReader> reader_;
    syntax::Statement statement_;
    const syntax::KeywordReading* serving_ = nullptr;  // the keyword whose values are read
    std::size_t next_value_ = 0;
    SourceFile file_ = SourceFile::kLine;  // the text being read
    bool opened_ = false;
    std::string_view field_;  // the keyword field of the statement being served
    syntax::Span field_at_;
    std::optional<syntax::Span> value_at_;     // the value read last
    std::optional<syntax::Span> position_at_;  // the current line's position field
    ReadingExtent extent_;

    // Working values of the line description.
    std::int32_t gradient_in_force_ = 0;
    std::int32_t gradient_fill_index_ = 0;
    std::int32_t sign_slot_ = kFirstSignEntry;
    // What the progressive lines wrote as their start and reference, and
    // where (three, two, one): the places of error 2.
    struct ProgressiveWritten {
        std::int32_t value = 0;
        SourceRange at;
    };
    std::array<std::array<std::optional<ProgressiveWritten>, 2>, 3> progressives_written_{};

    // Working values of the train description.
    std::int32_t next_station_ = 1;
    std::int32_t speed_index_ = 0;
    std::int32_t adhesion_index_ = 0;
    std::int32_t pending_speed_ = 0;
    std::optional<syntax::Span> pending_speed_at_;  // the value of the line that gave it
    std::int32_t pending_adhesion_ = 0;
};

}  // namespace scenariogen
