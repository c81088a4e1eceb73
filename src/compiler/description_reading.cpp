// The reading of both description texts, and what the two readings share:
// opening a text, reading the keyword field, recording faults and placements,
// and the path of a reading failure (error 25).
#include "compiler/description_reading.h"

#include "compiler/conversions.h"

namespace scenariogen {

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
    reader_.emplace(std::string(text));
}

bool DescriptionReading::read_field() {
    field_ = reader_->read_text();
    field_at_ = reader_->last_field();
    return reader_->eof();
}

std::int32_t DescriptionReading::read_position() {
    const std::int32_t p = reader_->read_number();
    position_at_ = reader_->last_field();
    return p;
}

bool DescriptionReading::too_far(std::int64_t p, std::int64_t room) const {
    return p < 0 || static_cast<double>(p + room) / 50 > s_.last_cell();
}

void DescriptionReading::place(std::string keyword, std::int32_t position, std::int32_t first_cell,
                               std::int32_t last_cell) {
    s_.placements.push_back({file_, field_at_.line, std::move(keyword), position, first_cell, last_cell});
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

std::optional<SourceRange> DescriptionReading::range_of(const FieldSpan& span) const {
    if (!opened_) return std::nullopt;
    return SourceRange{file_, span.line, span.column, span.end_column};
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

void DescriptionReading::record_reading_failure(const std::string& what, std::optional<FieldSpan> where) {
    Diagnostic fault;
    fault.number = 25;
    fault.detail = what;
    if (where && reader_) fault.where = range_of(*where);
    reader_.reset();
    extent_.reading_failed = true;
    s_.record(std::move(fault));
}

}  // namespace scenariogen
