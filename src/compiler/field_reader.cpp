#include "compiler/field_reader.h"

#include <charconv>
#include <limits>

namespace scenariogen {

namespace {

bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }

std::string shown(std::string_view token) {
    constexpr std::size_t kShown = 40;
    std::string text(token.substr(0, kShown));
    if (token.size() > kShown) text += "...";
    return "'" + text + "'";
}

}  // namespace

FieldSpan FieldReader::here() const {
    const int column = static_cast<int>(pos_ - line_start_) + 1;
    return {line_, column, column};
}

// The field last started ends before `end`, on its own line.
void FieldReader::end_field(std::size_t end) { last_.end_column = static_cast<int>(end - line_start_) + 1; }

bool FieldReader::at_line_end() const { return pos_ < content_.size() && is_line_end(content_[pos_]); }

void FieldReader::skip_blanks() {
    while (pos_ < content_.size() && is_blank(content_[pos_])) ++pos_;
}

void FieldReader::consume_line_end() {
    if (content_[pos_] == '\r' && pos_ + 1 < content_.size() && content_[pos_ + 1] == '\n') ++pos_;
    ++pos_;
    ++line_;
    line_start_ = pos_;
}

// After a field: blanks, then one comma or one line end.
void FieldReader::consume_terminator() {
    skip_blanks();
    if (pos_ >= content_.size()) return;
    if (content_[pos_] == ',') {
        ++pos_;
    } else if (at_line_end()) {
        consume_line_end();
    }
}

bool FieldReader::eof() const {
    const std::size_t rest = content_.size() - pos_;
    if (rest == 0) return true;
    if (rest == 1) return is_line_end(content_[pos_]);
    return rest == 2 && content_[pos_] == '\r' && content_[pos_ + 1] == '\n';
}

void FieldReader::start_field() {
    if (eof()) throw ReadingFailure("a field was expected, but the file ends here", here());
    skip_blanks();
    last_ = here();
}

std::string_view FieldReader::read_text() {
    start_field();
    const std::string_view all(content_);
    std::string_view text;
    if (pos_ < content_.size() && content_[pos_] == '"') {
        const std::size_t begin = pos_ + 1;
        std::size_t end = begin;
        while (end < content_.size() && content_[end] != '"' && !is_line_end(content_[end])) ++end;
        text = all.substr(begin, end - begin);
        pos_ = end < content_.size() && content_[end] == '"' ? end + 1 : end;
        // Whatever stands between the closing quote and the next comma is dropped.
        while (pos_ < content_.size() && content_[pos_] != ',' && !is_line_end(content_[pos_])) ++pos_;
    } else {
        const std::size_t begin = pos_;
        while (pos_ < content_.size() && content_[pos_] != ',' && !is_line_end(content_[pos_])) ++pos_;
        text = all.substr(begin, pos_ - begin);
    }
    std::size_t end = pos_;
    const std::size_t start = line_start_ + static_cast<std::size_t>(last_.column) - 1;
    while (end > start && is_blank(content_[end - 1])) --end;
    end_field(end);
    consume_terminator();
    return text;
}

std::int32_t FieldReader::read_number() {
    start_field();
    const std::size_t begin = pos_;
    while (pos_ < content_.size() && content_[pos_] != ',' && !is_blank(content_[pos_]) &&
           !is_line_end(content_[pos_])) {
        ++pos_;
    }
    std::string_view token = std::string_view(content_).substr(begin, pos_ - begin);
    end_field(pos_);
    consume_terminator();
    if (token.empty()) return 0;
    std::string_view digits = token;
    const bool plus = digits.front() == '+';
    if (plus) digits.remove_prefix(1);
    std::int32_t value = 0;
    const auto [end, error] = std::from_chars(digits.data(), digits.data() + digits.size(), value);
    if (digits.empty() || (plus && digits.front() == '-') || error == std::errc::invalid_argument ||
        end != digits.data() + digits.size()) {
        throw ReadingFailure("a whole number was expected, found " + shown(token), last_);
    }
    if (error == std::errc::result_out_of_range) {
        throw ReadingFailure("the number " + shown(token) + " does not fit 32 bits", last_);
    }
    return value;
}

std::int16_t FieldReader::read_int16() {
    const std::int32_t value = read_number();
    if (value < std::numeric_limits<std::int16_t>::min() || value > std::numeric_limits<std::int16_t>::max()) {
        throw ReadingFailure("the number " + std::to_string(value) + " does not fit 16 bits (-32768 to 32767)", last_);
    }
    return static_cast<std::int16_t>(value);
}

std::uint8_t FieldReader::read_uint8() {
    const std::int32_t value = read_number();
    if (value < 0 || value > 255) {
        throw ReadingFailure("the number " + std::to_string(value) + " does not fit one byte (0 to 255)", last_);
    }
    return static_cast<std::uint8_t>(value);
}

}  // namespace scenariogen
