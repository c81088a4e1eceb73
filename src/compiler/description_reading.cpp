// The reading of both description texts, and what the two readings share:
// opening a text, taking its statements and their values from the
// description reader, recording faults and placements, and the path of a
// reading failure (error 25).
#include "compiler/description_reading.h"

#include <string>

#include "compiler/conversions.h"
#include "compiler/placement.h"
#include "syntax/number_token.h"

namespace scenariogen {

namespace {

std::string shown(std::string_view token) {
    constexpr std::size_t kShown = 40;
    std::string text(token.substr(0, kShown));
    if (token.size() > kShown) text += "...";
    return "'" + text + "'";
}

}  // namespace

ReadingExtent read_descriptions(CompilationState& s, const DescriptionTexts& texts) {
    return DescriptionReading(s, texts).run();
}

ReadingExtent DescriptionReading::run() {
    s_.stations[kScenarioEntry].name = s_.scenario_name;
    s_.stations[kSignallingEntry].name = s_.train_number;
    try {
        if (line_phase() == Phase::kGoesOn) train_phase();
    } catch (const ReadingFailure& failure) {
        record_reading_failure(failure.what(), failure.where() ? failure.where() : std::optional(field_at_));
    }
    return extent_;
}

void DescriptionReading::open(SourceFile file, std::string_view text) {
    file_ = file;
    opened_ = true;
    if (text.size() > kMaxDescriptionBytes) {
        throw ReadingFailure("the description is larger than 64 MiB; nothing of it was read");
    }
    syntax::ReaderOptions options;
    options.curves_read = s_.build_grid;
    reader_.emplace(text, file, options);
}

bool DescriptionReading::next_statement() {
    while (reader_->next(statement_)) {
        if (!statement_.has_keyword_field()) continue;
        field_ = statement_.keyword_field().text;
        field_at_ = statement_.keyword_field().span;
        return true;
    }
    return false;
}

DescriptionReading::Step DescriptionReading::serve_keywords(Server serve) {
    for (const syntax::KeywordReading& reading : statement_.readings) {
        serving_ = &reading;
        next_value_ = 0;
        position_at_.reset();
        if (const Step step = (this->*serve)(reading.keyword); step != Step::kNext) return step;
    }
    return Step::kNext;
}

void DescriptionReading::check_text_end() const {
    if (reader_->end() == syntax::ReadingEnd::kPastEnd) {
        throw ReadingFailure("a field was expected, but the file ends here", reader_->past_end_at());
    }
}

const syntax::Field& DescriptionReading::next_value() {
    if (next_value_ >= serving_->value_uses.size()) {
        // A value the text does not hold: the reader read past its end.
        throw ReadingFailure("a field was expected, but the file ends here", reader_->past_end_at());
    }
    const syntax::Field& value = statement_.value(*serving_, next_value_++);
    value_at_ = value.span;
    return value;
}

// Where a value that cannot be read is reported: at the value, or, when the
// keyword's line ended before it and the reader took it from a later line, just
// after the last field of the keyword's line, where the value is missing.
syntax::Span DescriptionReading::failure_place(const syntax::Field& value) const {
    if (value.span.line == field_at_.line) return value.span;
    int end = field_at_.end_column;
    for (const syntax::FieldUse& use : statement_.uses) {
        if (use.field.span.line == field_at_.line) end = use.field.span.end_column;
    }
    return {field_at_.line, end, end};
}

std::int32_t DescriptionReading::read_number() {
    const syntax::Field& field = next_value();
    const syntax::NumberToken number = syntax::read_number_token(field.text);
    if (!number.is_number) {
        throw ReadingFailure("a whole number was expected, found " + shown(field.text), failure_place(field));
    }
    if (!number.fits_32_bits) {
        throw ReadingFailure("the number " + shown(field.text) + " does not fit 32 bits", failure_place(field));
    }
    return static_cast<std::int32_t>(*number.value);
}

std::int16_t DescriptionReading::read_int16() {
    const std::int32_t value = read_number();
    if (value < -32768 || value > 32767) {
        throw ReadingFailure("the number " + std::to_string(value) + " does not fit 16 bits (-32768 to 32767)",
                             value_at_);
    }
    return static_cast<std::int16_t>(value);
}

std::uint8_t DescriptionReading::read_uint8() {
    const std::int32_t value = read_number();
    if (value < 0 || value > 255) {
        throw ReadingFailure("the number " + std::to_string(value) + " does not fit one byte (0 to 255)", value_at_);
    }
    return static_cast<std::uint8_t>(value);
}

std::string_view DescriptionReading::read_text() { return next_value().text; }

std::int32_t DescriptionReading::read_position() {
    const std::int32_t p = read_number();
    position_at_ = value_at_;
    return p;
}

bool DescriptionReading::too_far(std::int64_t p, std::int64_t room) const {
    return beyond_cells(p, room, s_.last_cell());
}

void DescriptionReading::place(syntax::Keyword keyword, std::int32_t position, std::int32_t first_cell,
                               std::int32_t last_cell) {
    s_.placements.push_back({file_, field_at_.line, field_at_, keyword, position, first_cell, last_cell});
}

DescriptionReading::Step DescriptionReading::out_of_route(std::int32_t p) {
    record(15, p);
    return Step::kEndSection;
}

DescriptionReading::Step DescriptionReading::leave(std::int32_t number, std::optional<std::int32_t> position,
                                                   std::string detail) {
    record(number, position, std::move(detail));
    reader_.reset();
    return Step::kLeave;
}

std::optional<SourceRange> DescriptionReading::range_of(const syntax::Span& span) const {
    if (!opened_) return std::nullopt;
    return syntax::range_in(file_, span);
}

void DescriptionReading::record(std::int32_t number, std::optional<std::int32_t> position, std::string detail) {
    Diagnostic fault;
    fault.number = number;
    fault.position = position;
    fault.detail = std::move(detail);
    if (reader_) {
        fault.where = range_of(position && position_at_ ? *position_at_ : field_at_);
    } else if (opened_) {
        fault.where = SourceRange{file_, 0, 0, 0};  // the text as a whole
    }
    s_.record(std::move(fault));
}

void DescriptionReading::record_reading_failure(const std::string& what, std::optional<syntax::Span> where) {
    Diagnostic fault;
    fault.number = 25;
    fault.detail = what;
    if (where && reader_) {
        fault.where = range_of(*where);
    } else if (opened_) {
        fault.where = SourceRange{file_, 0, 0, 0};  // the text as a whole
    }
    reader_.reset();
    extent_.reading_failed = true;
    s_.record(std::move(fault));
}

}  // namespace scenariogen
