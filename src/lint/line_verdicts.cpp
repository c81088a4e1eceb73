#include "lint/line_verdicts.h"

#include <algorithm>
#include <cctype>

#include "compiler/diagnostic_format.h"
#include "lint/suggestion.h"
#include "lint/syntax_names.h"
#include "lint/time_in_one_field.h"

namespace scenariogen::lint {

namespace {

std::string other_file_name(SourceFile file) {
    return file == SourceFile::kLine ? "the train description" : "the line description";
}

SourceFile other(SourceFile file) { return file == SourceFile::kLine ? SourceFile::kTrain : SourceFile::kLine; }

bool looks_like_comment(std::string_view n) {
    for (const std::string_view mark : {"#", "//", ";", "'", "rem ", "rem:"}) {
        if (n.substr(0, mark.size()) == mark) return true;
    }
    return false;
}

// "2 values (position, gradient)"
std::string takes(const KeywordShape& s) {
    if (s.keyword == Keyword::kStation) return "16 numbers and a name, 17 values";
    const std::size_t n = s.values.size();
    return std::to_string(n) + (n == 1 ? " value (" : " values (") + value_list(s) + ")";
}

}  // namespace

LineJudge::LineJudge(SourceFile file, const ReadingSummary& summary, Report& report,
                     std::function<void(const KeywordLine&)> sink)
    : file_(file), summary_(summary), r_(report), sink_(std::move(sink)) {}

void LineJudge::line(const LineReading& reading) {
    line_ = &reading;
    judge(0, reading.uses.size());
    if (reading.cut_short) {
        r_.error(file_, reading.uses.front().field.span, "field-count",
                 "the line holds more than " + std::to_string(kMaxFieldsPerLine) +
                     " fields; the check follows it no further");
    }
    line_ = nullptr;
}

const FieldUse& LineJudge::use(std::size_t i) const { return line_->uses[i]; }
const KeywordReading& LineJudge::reading(int i) const { return line_->readings[static_cast<std::size_t>(i)]; }

void LineJudge::judge(std::size_t a, std::size_t b) {
    const FieldUse& first = use(a);
    const std::optional<Intent> intent = intended_keyword(first.field.text);
    switch (first.use) {
        case Use::kIgnored:
            return before_start(first, intent);
        case Use::kStart:
            start_elsewhere(first);
            return others_taken_for_keywords(a + 1, b);
        case Use::kValue:
            return others_taken_for_keywords(a + 1, b);
        case Use::kNeverRead:
            return never_read(first, intent);
        case Use::kDashSkipped:
            dash_in_keyword(first, b - a);
            return others_taken_for_keywords(a + 1, b);
        case Use::kKeywordField:
            return keyword_field(a, b, intent);
    }
}

// "-- see [generale] below": the reader starts at the first field that
// holds [generale], header or not.
void LineJudge::start_elsewhere(const FieldUse& first) {
    const std::string n = normalised(first.field.text);
    if (n == "[generale]" || n.find("[generale]") == std::string::npos) return;
    r_.error(file_, first.field.span, "contains-keyword",
             quoted(first.field.text) + " holds [generale], so the reader starts reading the file here");
}

bool LineJudge::own(const std::optional<Intent>& intent) const {
    return intent && file_of(shape(intent->keyword).section) == file_;
}

void LineJudge::before_start(const FieldUse& first, const std::optional<Intent>& intent) {
    const std::string n = normalised(first.field.text);
    if (n.empty() || (!intent && !nearest_spelling(n, spellings(file_)))) return;
    r_.error(file_, first.field.span, "before-generale",
             quoted(first.field.text) + " stands before [generale], and the reader reads nothing before it");
}

void LineJudge::never_read(const FieldUse& first, const std::optional<Intent>& intent) {
    const std::string n = normalised(first.field.text);
    if (intent) {
        r_.error(file_, first.field.span, "never-read",
                 quoted(first.field.text) +
                     " is the last field of the file, which the reader never interprets: end the file with "
                     "[fine]");
    } else if (!n.empty() && n.front() == '[') {
        header(first.field, n);
    }
}

// "cartello-indicatore" or "pendenza; 3000; -6": a keyword line whose
// first field holds a dash is skipped as a comment.
void LineJudge::dash_in_keyword(const FieldUse& first, std::size_t fields_on_line) {
    const std::string n = normalised(first.field.text);
    if (n.empty() || n.front() == '-') return;
    std::string undashed = n;
    std::replace(undashed.begin(), undashed.end(), '-', '_');
    std::string advice;
    if (fields_on_line >= 2) {
        if (const auto intent = intended_keyword(undashed)) {
            advice = "did you mean '" + undashed + "'?";
        } else if (const auto meant = nearest_spelling(undashed, spellings(file_))) {
            advice = "did you mean '" + *meant + "'?";
        }
    }
    for (const std::string& spelling : spellings(file_)) {
        if (!advice.empty()) break;
        const bool begins = n.size() > spelling.size() && n.compare(0, spelling.size(), spelling) == 0;
        if (begins && !std::isalnum(static_cast<unsigned char>(n[spelling.size()]))) {
            advice = "put a comma after '" + spelling + "'";
        }
    }
    if (advice.empty()) return;
    r_.error(
        file_, first.field.span, "dash-in-keyword",
        quoted(first.field.text) + " holds a '-', so the reader skips it as a comment and drops the line; " + advice);
}

void LineJudge::keyword_field(std::size_t a, std::size_t b, const std::optional<Intent>& intent) {
    const FieldUse& first = use(a);
    if (first.readings == 0) {
        unread(first, intent);
    } else if (own(intent) && first.readings == 1 && reading(first.first_reading).keyword == intent->keyword) {
        return values(a, b, reading(first.first_reading), *intent);
    } else {
        for (int i = first.first_reading; i < first.first_reading + first.readings; ++i) {
            taken_for_keyword(first, reading(i).keyword);
        }
    }
    others_taken_for_keywords(a + 1, b);
}

// A keyword field that the reader took for no keyword.
void LineJudge::unread(const FieldUse& first, const std::optional<Intent>& intent) {
    const std::string n = normalised(first.field.text);
    if (n.empty()) return;
    if (!intent) {
        if (n.front() == '[') return header(first.field, n);
        return unknown_keyword(first.field, n);
    }
    const KeywordShape& s = shape(intent->keyword);
    const std::string name = quoted(first.field.text);
    if (file_of(s.section) != file_) {
        r_.error(file_, first.field.span, "wrong-file",
                 name + " is a keyword of " + other_file_name(file_) + "; the reader of this file ignores it");
    } else if (s.section == Section::kObjects) {
        r_.error(file_, first.field.span, "wrong-section",
                 name + " stands in the general section, where the reader does not look for it: " +
                     (summary_.general_end_line > 0
                          ? "the general section ends only at line " + std::to_string(summary_.general_end_line)
                          : std::string("no section header follows [generale] to end the general section")));
    } else if (s.section == Section::kGeneral && first.section == Section::kObjects) {
        r_.error(file_, first.field.span, "wrong-section",
                 name + " is read only in the general section, which ended at line " +
                     std::to_string(summary_.general_end_line));
    } else {
        r_.error(file_, first.field.span, "keyword-case",
                 name + " is not recognised: the reader looks for a field that " + std::string(s.recognised_by));
    }
}

void LineJudge::unknown_keyword(const Field& field, const std::string& n) {
    std::string message = "unknown keyword " + quoted(field.text);
    if (field.text.find('-') != std::string_view::npos) {
        const bool general = line_ != nullptr && line_->uses.front().section == Section::kGeneral;
        message = quoted(field.text) + " is read as a keyword, not skipped as a comment: the reader skips at most " +
                  (general ? std::string("ten fields") : std::string("two fields")) +
                  " in a row that hold '-', and reads the next one; put at most " + (general ? "ten" : "two") +
                  " comment lines together, or join them";
    } else if (const auto meant = nearest_spelling(n, spellings(file_))) {
        message += "; did you mean '" + *meant + "'?";
    } else if (looks_like_comment(n)) {
        message += "; a comment is a line that holds '-'";
    }
    r_.error(file_, field.span, "unknown-keyword", std::move(message));
}

void LineJudge::header(const Field& field, const std::string& n) {
    const auto& own_headers = syntax::section_headers(file_);
    if (std::find(own_headers.begin(), own_headers.end(), n) != own_headers.end()) return;
    const auto& others = syntax::section_headers(other(file_));
    std::string message = "unknown section header " + quoted(field.text);
    if (std::find(others.begin(), others.end(), n) != others.end()) {
        message += ": it is a header of " + other_file_name(file_);
    } else if (const auto meant = nearest_spelling(n, own_headers)) {
        message += "; did you mean '" + *meant + "'?";
    }
    r_.warning(file_, field.span, "unknown-header", std::move(message));
}

void LineJudge::taken_for_keyword(const FieldUse& at, Keyword keyword) {
    const KeywordShape& s = shape(keyword);
    const std::string n = normalised(at.field.text);
    const std::string because =
        " is taken for the keyword '" + std::string(s.spelling) + "' because it " + std::string(s.recognised_by);
    std::string message;
    if (!n.empty() && n.front() == '[') {
        message = "the header " + quoted(at.field.text) + because +
                  ": the reader takes the fields that follow for its values";
        if (const auto meant = nearest_spelling(n, syntax::section_headers(file_)))
            message += "; did you mean '" + *meant + "'?";
    } else if (syntax::contains(at.field.text, "-")) {
        const int limit = at.section == Section::kGeneral ? 10 : 2;
        message = quoted(at.field.text) + because + ": the reader skips only " + std::to_string(limit) +
                  " fields in a row that hold '-', and reads the next one as a keyword";
    } else if (line_ != nullptr && &at != &line_->uses.front() && line_->uses.front().use == Use::kDashSkipped) {
        message = quoted(at.field.text) + because +
                  ": a comma ends the comment before it, and the reader reads what follows as fields of their own; "
                  "write the comment without commas";
    } else {
        message = quoted(at.field.text) + because + ": " + keyword_hint(n, s.spelling);
    }
    r_.error(file_, at.field.span, "contains-keyword", std::move(message));
}

// What the author may have meant by a field that holds a keyword.
std::string LineJudge::keyword_hint(const std::string& n, std::string_view spelling) const {
    if (const auto meant = nearest_spelling(n, spellings(file_))) return "did you mean '" + *meant + "'?";
    const std::string head(spelling);
    if (n.size() > head.size() && n.compare(0, head.size(), head) == 0 &&
        (n[head.size()] == ' ' || n[head.size()] == ':' || n[head.size()] == ';')) {
        return "put a comma after '" + head + "'";
    }
    if (n.find(';') != std::string::npos) return "values are separated by commas";
    return "a keyword line begins with the keyword alone";
}

void LineJudge::others_taken_for_keywords(std::size_t from, std::size_t to) {
    for (std::size_t i = from; i < to; ++i) {
        const FieldUse& u = use(i);
        if (u.use != Use::kKeywordField) continue;
        for (int k = u.first_reading; k < u.first_reading + u.readings; ++k) taken_for_keyword(u, reading(k).keyword);
    }
}

void LineJudge::values(std::size_t a, std::size_t b, const KeywordReading& rd, const Intent& intent) {
    const FieldUse& first = use(a);
    const std::size_t last = rd.value_uses.empty() ? a : static_cast<std::size_t>(rd.value_uses.back());
    std::size_t extras = 0;
    std::optional<std::size_t> first_extra;
    for (std::size_t i = last + 1; i < b; ++i) {
        if (normalised(use(i).field.text).empty() && !use(i).field.quoted) continue;
        ++extras;
        if (!first_extra) first_extra = i;
    }
    KeywordLine line{file_, first.field.span.line, intent, first.field.span, first.field.text, {}, true};
    if (rd.missing > 0 || extras > 0) {
        field_count(rd, first_extra, rd.value_uses.size() + extras);
        line.usable = false;  // the keyword is there, its values cannot be followed
        sink_(line);
        return;
    }
    const KeywordShape& s = shape(rd.keyword);
    line.values.resize(s.values.size());
    for (std::size_t k = 0; k < s.values.size(); ++k) {
        const Field& field = use(static_cast<std::size_t>(rd.value_uses[k])).field;
        line.usable = check_value(r_, file_, s, s.values[k], field, line.values[k]) && line.usable;
        if (field.blank_separated && rd.keyword != Keyword::kClock) {
            r_.warning(file_, field.span, "blank-separated",
                       "a blank, not a comma, ends the " + std::string(s.values[k].name) + " " + quoted(field.text) +
                           ": the reader takes what follows it for the next value");
        }
    }
    sink_(line);
}

// A line one number short takes its text for that number: "ROCCA" read as
// the seconds of a station line that lacks one of its numbers.
bool LineJudge::text_taken_for_number(const KeywordReading& rd) const {
    if (rd.value_uses.empty()) return false;
    const std::string_view last = use(static_cast<std::size_t>(rd.value_uses.back())).field.text;
    return last.find_first_not_of("+-0123456789 \t") != std::string_view::npos;
}

std::string LineJudge::number_missing(const KeywordReading& rd) const {
    const KeywordShape& s = shape(rd.keyword);
    const std::size_t k = rd.value_uses.size() - 1;
    return ": a number is missing, so the reader takes " +
           quoted(use(static_cast<std::size_t>(rd.value_uses.back())).field.text) + " for the " +
           std::string(s.values[k].name) + " and the next line's first field for the " +
           std::string(s.values.back().name);
}

std::string LineJudge::time_hint(const KeywordReading& rd) const {
    for (const int v : rd.value_uses) {
        if (const auto hint = time_in_one_field(use(static_cast<std::size_t>(v)).field.text)) return "; " + *hint;
    }
    return {};
}

void LineJudge::field_count(const KeywordReading& rd, std::optional<std::size_t> first_extra, std::size_t written) {
    const KeywordShape& s = shape(rd.keyword);
    const FieldUse& first = use(static_cast<std::size_t>(rd.keyword_use));
    std::string message =
        "'" + std::string(s.spelling) + "' takes " + takes(s) + "; this line has " + std::to_string(written);
    if (rd.missing > 0) {
        // Just after the line's last field.
        const int line = first.field.span.line;
        const int end = line_->uses.back().field.span.end_column;
        const ValueShape& last = s.values.back();
        const bool only_text = rd.missing == 1 && last.storage == Storage::kText && !text_taken_for_number(rd);
        if (only_text) message = "the " + std::string(last.name) + " is missing";
        const bool number_short = !only_text && rd.missing == 1 && last.storage == Storage::kText;
        if (number_short) message += number_missing(rd);
        if (line_->last) {
            message += ": the file ends there, and the compiler stops reading";
        } else if (!number_short) {
            message += only_text ? ": the reader would take the next line's first field for it"
                                 : ": the reader would take what is missing from the next line";
        }
        message += time_hint(rd);
        r_.error(file_, Span{line, end, end}, "field-count", std::move(message));
        if (line_->last) r_.cite(25);
        return;
    }
    message += ": the reader takes what follows for keywords and ignores it" + time_hint(rd);
    for (const int v : rd.value_uses) {
        if (!use(static_cast<std::size_t>(v)).field.blank_separated) continue;
        message += " (a blank, like a comma, ends a number: " + quoted(use(static_cast<std::size_t>(v)).field.text) +
                   " is one value)";
        break;
    }
    const int last_value = rd.value_uses.empty() ? -1 : rd.value_uses.back();
    if (s.values.back().storage == Storage::kText && last_value >= 0) {
        message += ", and it takes " + quoted(use(static_cast<std::size_t>(last_value)).field.text) + " for the " +
                   std::string(s.values.back().name);
    }
    r_.error(file_, use(*first_extra).field.span, "field-count", std::move(message));
}

namespace {

bool is_control(unsigned char b) {
    return (b < 0x20 && b != '\t') || b == 0x7F || b == 0x81 || b == 0x8D || b == 0x8F || b == 0x90 || b == 0x9D;
}

}  // namespace

void check_control_characters(std::string_view text, SourceFile file, Report& report) {
    syntax::for_each_line(text, [&](int number, std::string_view line) {
        for (std::size_t i = 0; i < line.size(); ++i) {
            if (!is_control(static_cast<unsigned char>(line[i]))) continue;
            const int column = static_cast<int>(i) + 1;
            report.warning(file, Span{number, column, column + 1}, "control-character",
                           "the control character " + printable(line.substr(i, 1)) +
                               " stands in the line, and the reader keeps it as part of the field");
            break;
        }
        return true;
    });
}

void check_final_line(std::string_view text, SourceFile file, Report& report) {
    int last = 0;
    std::string_view final_line;
    syntax::for_each_line(text, [&](int number, std::string_view line) {
        if (line.find_first_not_of(" \t") != std::string_view::npos) {
            last = number;
            final_line = line;
        }
        return true;
    });
    if (last == 0 || normalised(final_line) == "[fine]") return;
    // A bare keyword there is never read, and reported as such.
    if (final_line.find(',') == std::string_view::npos && intended_keyword(final_line)) return;
    const int end = static_cast<int>(final_line.size()) + 1;
    report.warning(file, Span{last, 1, end}, "no-fine",
                   "the file does not end with [fine]: the reader never interprets the last field of a file");
}

}  // namespace scenariogen::lint
