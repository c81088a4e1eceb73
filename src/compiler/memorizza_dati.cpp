// The reading of both description files, and what the two phases share:
// opening, reading the keyword field, recording faults and the path of a
// run-time failure (error 25).
#include "compiler/memorizza_dati.h"

#include "compiler/conversions.h"
#include "compiler/description_reading.h"
#include "platform/file_system.h"

namespace scenariogen {

namespace {
// The largest description file read: far more than the densest description
// of the longest route needs, and a bound on the memory a reading takes.
constexpr std::size_t kDescrizioneMassima = std::size_t{64} << 20;
}  // namespace

void memorizza_dati(Scenario& s, const DescriptionSources& sources) { DescriptionReading(s, sources).run(); }

void DescriptionReading::run() {
    s_.stations[kScenarioEntry].name = s_.scenario_name;
    s_.stations[kSignallingEntry].name = s_.train_number;
    try {
        if (line_phase() == Phase::kLeave) return;
        train_phase();
    } catch (const ReadFailure& failure) {
        record_run_time_failure(failure.what(), failure.where());
    } catch (const FileError& failure) {
        record_run_time_failure(failure.what(), std::nullopt);
    } catch (const std::exception& failure) {  // a conversion or a cell outside the route
        record_run_time_failure(failure.what(), reader_ ? std::optional(campo_at_) : std::nullopt);
    }
}

void DescriptionReading::open(const std::string& path) {
    file_ = path;
    reader_.emplace(read_file(path, kDescrizioneMassima));
}

bool DescriptionReading::read_campo() {
    campo = reader_->read_text();
    campo_at_ = reader_->last_field();
    return reader_->eof();
}

std::int32_t DescriptionReading::read_position() {
    const std::int32_t p = reader_->read_number();
    position_at_ = reader_->last_field();
    return p;
}

bool DescriptionReading::too_far(std::int64_t p, std::int64_t margin) const {
    return p < 0 || static_cast<double>(p + margin) / 50 > s_.last_cell();
}

DescriptionReading::Step DescriptionReading::out_of_route(std::int32_t p) {
    record(15, p);
    return Step::kEndSection;
}

DescriptionReading::Step DescriptionReading::leave(std::int32_t codice, std::optional<std::int32_t> posizione,
                                                   std::string detail) {
    record(codice, posizione, std::move(detail));
    reader_.reset();
    delete_file(file_);
    return Step::kLeave;
}

void DescriptionReading::record(std::int32_t codice, std::optional<std::int32_t> posizione, std::string detail) {
    Fault fault{codice, posizione, std::nullopt, std::nullopt, std::move(detail)};
    if (reader_) {
        const FieldPosition at = posizione && position_at_ ? *position_at_ : campo_at_;
        fault.where = SourceLocation{file_, at.line, at.column, reader_->line_text(at.line)};
    } else if (!file_.empty()) {
        fault.where = SourceLocation{file_, 0, 0, {}};
    }
    s_.record(std::move(fault));
}

void DescriptionReading::record_run_time_failure(const std::string& what, std::optional<FieldPosition> where) {
    Fault fault{25, std::nullopt, std::nullopt, std::nullopt, what};
    if (where && reader_)
        fault.where = SourceLocation{file_, where->line, where->column, reader_->line_text(where->line)};
    reader_.reset();
    for (const std::string* path : {&sources_.line_path, &sources_.train_path}) {
        try {
            delete_file(*path);
        } catch (const FileError&) {
            // The fault recorded below is the one that matters; the file stays.
        }
    }
    s_.record(std::move(fault));
}

void DescriptionReading::delete_file(const std::string& path) {
    if (sources_.intermediate) remove_file(path);
}

}  // namespace scenariogen
