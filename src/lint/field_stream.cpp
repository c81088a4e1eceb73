#include "lint/field_stream.h"

namespace scenariogen::lint {

namespace {
bool is_blank(char c) { return c == ' ' || c == '\t'; }
bool is_line_end(char c) { return c == '\r' || c == '\n'; }
}  // namespace

bool FieldStream::eof() const {
    const std::size_t rest = text_.size() - pos_;
    if (rest == 0) return true;
    if (rest == 1) return is_line_end(text_[pos_]);
    return rest == 2 && text_[pos_] == '\r' && text_[pos_ + 1] == '\n';
}

bool FieldStream::at_line_end() const { return pos_ < text_.size() && is_line_end(text_[pos_]); }

void FieldStream::skip_blanks() {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

Span FieldStream::span_from(std::size_t begin, std::size_t end) const {
    while (end > begin && is_blank(text_[end - 1])) --end;
    return {line_, static_cast<int>(begin - line_start_) + 1, static_cast<int>(end - line_start_) + 1};
}

void FieldStream::consume_terminator(Field& field) {
    skip_blanks();
    line_ended_ = false;
    if (pos_ >= text_.size()) {
        field.ends_line = true;
        return;
    }
    if (text_[pos_] == ',') {
        ++pos_;
    } else if (at_line_end()) {
        if (text_[pos_] == '\r' && pos_ + 1 < text_.size() && text_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
        ++line_;
        line_start_ = pos_;
        line_ended_ = true;
        field.ends_line = true;
    } else {
        field.blank_separated = true;
    }
}

Field FieldStream::read_text() {
    skip_blanks();
    Field field;
    const std::size_t begin = pos_;
    if (pos_ < text_.size() && text_[pos_] == '"') {
        const std::size_t inner = pos_ + 1;
        std::size_t end = inner;
        while (end < text_.size() && text_[end] != '"' && !is_line_end(text_[end])) ++end;
        field.text = text_.substr(inner, end - inner);
        field.quoted = true;
        field.unclosed_quote = !(end < text_.size() && text_[end] == '"');
        pos_ = field.unclosed_quote ? end : end + 1;
        const std::size_t after = pos_;
        while (pos_ < text_.size() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
        field.dropped = text_.substr(after, pos_ - after);
    } else {
        while (pos_ < text_.size() && text_[pos_] != ',' && !is_line_end(text_[pos_])) ++pos_;
        field.text = text_.substr(begin, pos_ - begin);
    }
    field.span = span_from(begin, pos_);
    consume_terminator(field);
    return field;
}

Field FieldStream::read_number() {
    skip_blanks();
    Field field;
    const std::size_t begin = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !is_blank(text_[pos_]) && !is_line_end(text_[pos_])) ++pos_;
    field.text = text_.substr(begin, pos_ - begin);
    field.span = span_from(begin, pos_);
    consume_terminator(field);
    return field;
}

void FieldStream::skip_line() {
    while (pos_ < text_.size() && !is_line_end(text_[pos_])) ++pos_;
    Field ignored;
    consume_terminator(ignored);
}

NumberValue number_value(std::string_view token) {
    NumberValue number;
    if (token.empty()) {
        number.empty = true;
        number.value = 0;
        return number;
    }
    bool negative = false;
    if (token.front() == '+' || token.front() == '-') {
        negative = token.front() == '-';
        token.remove_prefix(1);
    }
    if (token.empty() || token.size() > 18) {
        const bool digits_only = !token.empty() && token.find_first_not_of("0123456789") == std::string_view::npos;
        number.fits_32_bits = !digits_only;
        return number;  // no number, or one far too long to hold
    }
    std::int64_t value = 0;
    for (const char c : token) {
        if (c < '0' || c > '9') return number;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    number.value = value;
    number.fits_32_bits = value >= INT32_MIN && value <= INT32_MAX;
    return number;
}

void for_each_line(std::string_view text, const std::function<bool(int, std::string_view)>& visit) {
    std::size_t begin = 0;
    int number = 1;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (!is_line_end(text[i])) continue;
        if (!visit(number++, text.substr(begin, i - begin))) return;
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') ++i;
        begin = i + 1;
    }
    if (begin < text.size()) visit(number, text.substr(begin));
}

}  // namespace scenariogen::lint
