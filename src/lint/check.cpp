#include "lint/check.h"

#include "compiler/compile.h"

#include "lint/line_verdicts.h"
#include "lint/object_checks.h"
#include "lint/plausibility.h"
#include "lint/report.h"
#include "lint/suggestion.h"
#include "lint/syntax_names.h"

namespace scenariogen {

namespace {

using lint::Report;
using lint::Span;

std::string reads_nothing(SourceFile file) {
    return file == SourceFile::kLine
               ? "the reader reads nothing of the line description"
               : "the reader reads nothing of the train description: no speed limit, no station, no signal";
}

// The first field of a line and its place, blanks trimmed.
Span first_field(std::string_view line, int number) {
    const std::string_view field = line.substr(0, line.find(','));
    const auto begin = field.find_first_not_of(" \t");
    if (begin == std::string_view::npos) return {number, 1, 1};
    const auto end = field.find_last_not_of(" \t") + 1;
    return {number, static_cast<int>(begin) + 1, static_cast<int>(end) + 1};
}

// A file without [generale]: reported at the header most like it, and the
// rest of the file checked as if that header were right.
syntax::AssumedStart missing_start(std::string_view text, SourceFile file, Report& report) {
    std::optional<syntax::AssumedStart> start;
    bool blank = true;
    syntax::for_each_line(text, [&](int number, std::string_view line) {
        const Span at = first_field(line, number);
        const std::string_view field =
            line.substr(static_cast<std::size_t>(at.column - 1), static_cast<std::size_t>(at.end_column - at.column));
        blank = blank && field.empty() && line.find_first_not_of(" \t,") == std::string_view::npos;
        if (field.empty() || field.front() != '[' || field.size() > 20) return true;
        const std::string n = lint::normalised(field);
        if (lint::edit_distance(n, "[generale]") > 3) return true;
        const std::string what = n == "[generale]" ? "[generale] stands only as the last field of the file"
                                                   : lint::quoted(field) + " is not [generale]";
        report.error(file, at, "missing-generale", what + ": " + reads_nothing(file));
        if (file == SourceFile::kLine) report.cite(102);
        start = syntax::AssumedStart{number, true};
        return false;
    });
    if (start) return *start;
    if (blank) {
        // The reader of an empty line description reads past its end at once.
        report.file_error(file, "missing-generale", std::string("the file is empty: ") + reads_nothing(file));
        if (file == SourceFile::kLine) report.cite(text.empty() ? 25 : 102);
    } else {
        report.error(file, Span{1, 1, 1}, "missing-generale",
                     "the file has no [generale] header: " + reads_nothing(file));
        if (file == SourceFile::kLine) report.cite(102);
    }
    return {1, false};
}

// One file, line by line: the lines against their keywords, the keyword
// lines against the route and the objects before them.
void check_file(std::string_view text, SourceFile file, Report& report, lint::ObjectChecks& objects,
                lint::Plausibility& plausibility) {
    if (text.size() > kMaxDescriptionBytes) {
        report.file_error(file, "too-large",
                          "the file holds " + std::to_string(text.size()) + " bytes, more than the " +
                              std::to_string(kMaxDescriptionBytes >> 20) +
                              " MiB the compiler reads; it is neither checked nor compiled");
        report.cite(25);
        return;
    }
    std::optional<syntax::AssumedStart> assumed;
    syntax::ReadingSummary summary = syntax::read_lines(text, file, assumed, nullptr);
    if (!summary.start_found) {
        assumed = missing_start(text, file, report);
        summary = syntax::read_lines(text, file, assumed, nullptr);
    }
    if (summary.reads_past_end) {
        report.error(file, *summary.reads_past_end, "never-read",
                     "the reader skips this field because it holds '-', and reads past the end of the file for the "
                     "next one, where the compiler stops reading");
        report.cite(25);
    }
    const bool line_file = file == SourceFile::kLine;
    lint::LineJudge judge(file, summary, report, [&](const lint::KeywordLine& l) {
        if (line_file) {
            objects.line_description(l);
            plausibility.line_description(l);
        } else {
            objects.train_description(l);
            plausibility.train_description(l);
        }
    });
    syntax::read_lines(text, file, assumed, &judge);
    lint::check_control_characters(text, file, report);
    lint::check_final_line(text, file, report);
    if (line_file) {
        objects.end_of_line_description(summary.start);
    } else {
        objects.end_of_train_description(summary.start);
    }
}

}  // namespace

Diagnostics check_descriptions(std::string_view line_text, std::string_view train_text) {
    Report report;
    lint::ObjectChecks objects(report);
    lint::Plausibility plausibility(report);
    check_file(line_text, SourceFile::kLine, report, objects, plausibility);
    check_file(train_text, SourceFile::kTrain, report, objects, plausibility);
    plausibility.finish();
    return report.take();
}

}  // namespace scenariogen
