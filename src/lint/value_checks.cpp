#include "lint/value_checks.h"

#include <cmath>
#include <limits>
#include <string>

#include "compiler/conversions.h"

namespace scenariogen::lint {

namespace {

constexpr std::string_view kStops = "the compiler stops reading here";

// A value that its field cannot store as written, and whether the compiler
// then stops reading (error 25) rather than store something else.
struct StorageFault {
    std::string sentence;
    bool stops_reading = false;
};

std::string with_unit(std::int64_t v, std::string_view unit) {
    return unit.empty() ? std::to_string(v) : std::to_string(v) + " " + std::string(unit);
}

std::int64_t low_bits(std::int64_t v, int bits) {
    const auto mask = (std::uint64_t{1} << bits) - 1;
    return static_cast<std::int64_t>(static_cast<std::uint64_t>(v) & mask);
}

std::int64_t as_signed_16(std::int64_t v) {
    const std::int64_t low = low_bits(v, 16);
    return low >= 32768 ? low - 65536 : low;
}

// Whether the value fits the field that stores it; else the sentence for it.
StorageFault storage_fault(const ValueShape& s, std::int64_t v) {
    const std::string named = "the " + std::string(s.name) + " " + with_unit(v, s.unit);
    switch (s.storage) {
        case Storage::kInt16:
            if (v < -32768 || v > 32767)
                return {named + " does not fit 16 bits (-32768 to 32767): " + std::string(kStops), true};
            return {};
        case Storage::kByte:
            if (v < 0 || v > 255) return {named + " does not fit one byte (0 to 255): " + std::string(kStops), true};
            return {};
        case Storage::kLow8:
            if (v < 0 || v > 255) {
                return {named + " is outside 0 to 255: only its low 8 bits are stored, which makes it " +
                        std::to_string(low_bits(v, 8))};
            }
            return {};
        case Storage::kLow16:
            if (v < -32768 || v > 32767) {
                return {named + " does not fit 16 bits: only its low 16 bits are stored, which makes it " +
                        std::to_string(as_signed_16(v))};
            }
            return {};
        case Storage::kGradient:
            if (v < -100 || v > 155) {
                return {named +
                        " is outside -100 to 155 ‰: the format stores gradient + 100 in one byte, which makes it " +
                        with_unit(stored_value(s.storage, v), s.unit)};
            }
            return {};
        case Storage::kSpeedFifths: {
            const double fifths = detail::nearest_even(static_cast<double>(v) / 5);
            if (fifths < 0 || fifths > 255) {
                return {named + " does not fit the format (0 to 1275 km/h, in steps of 5): " + std::string(kStops),
                        true};
            }
            if (v % 5 != 0) {
                return {named +
                        " is not a multiple of 5: the format stores speeds in steps of 5 km/h, which makes it " +
                        with_unit(stored_value(s.storage, v), s.unit)};
            }
            return {};
        }
        case Storage::kInt32:
        case Storage::kText:
            return {};
    }
    return {};
}

std::string range_fault(const KeywordShape& /*keyword*/, const ValueShape& s, std::int64_t v) {
    if (v >= s.low && v <= s.high) return {};
    const std::string named = "the " + std::string(s.name) + " " + with_unit(v, s.unit);
    std::string sentence;
    if (s.unit == "m" && s.low == 0 && v < 0) {
        sentence = named + " is negative: positions and lengths are metres from the start of the route";
    } else if (s.high == std::numeric_limits<std::int32_t>::max()) {
        sentence = named + " is below " + with_unit(s.low, s.unit);
    } else {
        sentence = named + " is outside " + std::to_string(s.low) + " to " + with_unit(s.high, s.unit);
    }
    return sentence;
}

void check_text(Report& report, SourceFile file, const ValueShape& s, const Field& field) {
    if (field.quoted && !field.dropped.empty()) {
        report.error(file, field.span, "quote",
                     "the reader keeps only what stands between the quotes of the " + std::string(s.name) + ": " +
                         quoted(field.dropped) + " after the closing quote is dropped");
    } else if (field.unclosed_quote) {
        report.error(file, field.span, "quote",
                     "the " + std::string(s.name) + " opens a quote that it never closes: the reader drops the quote");
    }
    if (field.text.size() > 0xFFFF) {
        report.error(file, field.span, "out-of-range",
                     "the " + std::string(s.name) + " is longer than 65535 characters: " + std::string(kStops));
        report.cite(25);
    }
    const bool trailing_blank = !field.text.empty() && (field.text.back() == ' ' || field.text.back() == '\t');
    if (trailing_blank && !field.quoted && field.text.find_first_not_of(" \t") != std::string_view::npos) {
        report.warning(
            file, field.span, "trailing-blanks",
            "the " + std::string(s.name) + " " + quoted(field.text) + " ends in blanks, which are stored with it");
    }
}

}  // namespace

std::int64_t stored_value(Storage storage, std::int64_t v) {
    switch (storage) {
        case Storage::kLow8:
            return low_bits(v, 8);
        case Storage::kLow16:
            return as_signed_16(v);
        case Storage::kGradient:
            return low_bits(v + 100, 8) - 100;
        case Storage::kSpeedFifths:
            return static_cast<std::int64_t>(detail::nearest_even(static_cast<double>(v) / 5)) * 5;
        default:
            return v;
    }
}

bool check_value(Report& report, SourceFile file, const KeywordShape& k, const ValueShape& s, const Field& field,
                 Value& value) {
    value.span = field.span;
    value.text = field.text;
    if (s.storage == Storage::kText) {
        check_text(report, file, s, field);
        return true;
    }
    const syntax::NumberToken number = syntax::read_number_token(field.text);
    if (!number.is_number) {
        report.error(file, field.span, "not-a-number",
                     quoted(field.text) + " is not a whole number: the " + std::string(s.name) +
                         " is written in digits, with an optional sign (" + std::string(kStops) + ")");
        report.cite(25);
        return false;
    }
    if (!number.fits_32_bits) {
        report.error(file, field.span, "out-of-range",
                     "the " + std::string(s.name) + " " + quoted(field.text) + " does not fit 32 bits (" +
                         std::string(kStops) + ")");
        report.cite(25);
        return false;
    }
    value.number = *number.value;
    value.empty = number.empty;
    if (number.empty && !s.may_be_empty) {
        report.warning(file, field.span, "empty-value",
                       "the " + std::string(s.name) + " is empty: the reader takes it for 0");
    }
    const StorageFault fault = storage_fault(s, value.number);
    if (!fault.sentence.empty()) {
        report.error(file, field.span, "out-of-range", fault.sentence);
        if (fault.stops_reading) report.cite(25);
    } else if (std::string outside = range_fault(k, s, value.number); !outside.empty()) {
        report.error(file, field.span, "out-of-range", std::move(outside));
        if (k.keyword == Keyword::kLength) report.cite(1);
    }
    // Where the compiler stops, the line cannot be followed further.
    return !fault.stops_reading;
}

}  // namespace scenariogen::lint
