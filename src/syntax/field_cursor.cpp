#include "syntax/field_cursor.h"

namespace scenariogen::syntax {

bool FieldCursor::eof() const {
    const std::size_t rest = text_.size() - pos_;
    if (rest == 0) return true;
    if (rest == 1) return is_line_end(text_[pos_]);
    return rest == 2 && text_[pos_] == '\r' && text_[pos_ + 1] == '\n';
}

Span FieldCursor::here() const {
    const int column = static_cast<int>(pos_ - line_start_) + 1;
    return {line_, column, column};
}

bool FieldCursor::at_line_end() const { return pos_ < text_.size() && is_line_end(text_[pos_]); }

void FieldCursor::skip_blanks() {
    while (pos_ < text_.size() && is_blank(text_[pos_])) ++pos_;
}

Span FieldCursor::span_from(std::size_t begin, std::size_t end) const {
    while (end > begin && is_blank(text_[end - 1])) --end;
    return {line_, static_cast<int>(begin - line_start_) + 1, static_cast<int>(end - line_start_) + 1};
}

void FieldCursor::consume_terminator(Field& field) {
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

Field FieldCursor::read_text() {
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

Field FieldCursor::read_number() {
    skip_blanks();
    Field field;
    const std::size_t begin = pos_;
    while (pos_ < text_.size() && text_[pos_] != ',' && !is_blank(text_[pos_]) && !is_line_end(text_[pos_])) ++pos_;
    field.text = text_.substr(begin, pos_ - begin);
    field.span = span_from(begin, pos_);
    consume_terminator(field);
    return field;
}

void FieldCursor::skip_line() {
    while (pos_ < text_.size() && !is_line_end(text_[pos_])) ++pos_;
    Field ignored;
    consume_terminator(ignored);
}

}  // namespace scenariogen::syntax
