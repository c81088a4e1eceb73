#include "lint/check.h"

#include "lint/keywords.h"
#include "lint/line_verdicts.h"
#include "lint/object_checks.h"
#include "lint/reading_model.h"
#include "lint/report.h"
#include "lint/suggestion.h"

namespace scenariogen {

namespace {

using lint::Report;
using lint::Span;

struct JudgedFile {
    std::vector<lint::KeywordLine> lines;
    std::optional<Span> start;  // the [generale] header
};

std::string reads_nothing(SourceFile file) {
    return file == SourceFile::kLine
               ? "the reader reads nothing of the line description (the compiler's error 102)"
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
lint::AssumedStart missing_start(std::string_view text, SourceFile file, Report& report) {
    const std::vector<std::string_view> lines = lint::lines_of(text);
    bool blank = true;
    for (const std::string_view line : lines) blank = blank && lint::normalised(line).empty();
    if (blank) {
        report.file_error(file, "missing-generale", std::string("the file is empty: ") + reads_nothing(file));
        return {1, false};
    }
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Span at = first_field(lines[i], static_cast<int>(i) + 1);
        const std::string_view field = lines[i].substr(static_cast<std::size_t>(at.column - 1),
                                                       static_cast<std::size_t>(at.end_column - at.column));
        const std::string n = lint::normalised(field);
        if (n.empty() || n.front() != '[' || lint::edit_distance(n, "[generale]") > 3) continue;
        const std::string what = n == "[generale]" ? "[generale] stands only as the last field of the file"
                                                   : lint::quoted(field) + " is not [generale]";
        report.error(file, at, "missing-generale", what + ": " + reads_nothing(file));
        return {static_cast<int>(i) + 1, true};
    }
    report.error(file, first_field(lines.front(), 1), "missing-generale",
                 "the file has no [generale] header: " + reads_nothing(file));
    return {1, false};
}

JudgedFile judge_file(std::string_view text, SourceFile file, Report& report) {
    lint::ReadingModel model = lint::model_reading(text, file);
    if (!model.start_found) model = lint::model_reading(text, file, missing_start(text, file, report));
    if (model.reads_past_end) {
        report.error(file, *model.reads_past_end, "never-read",
                     "the reader skips this field because it holds '-', and reads past the end of the file for the "
                     "next one (the compiler stops reading with error 25)");
    }
    JudgedFile judged;
    judged.lines = lint::judge_lines(model, text, report);
    for (const lint::FieldUse& use : model.uses) {
        if (use.use != lint::Use::kStart) continue;
        judged.start = use.field.span;
        break;
    }
    lint::check_control_characters(text, file, report);
    lint::check_final_line(text, file, report);
    return judged;
}

}  // namespace

Diagnostics check_descriptions(std::string_view line_text, std::string_view train_text) {
    Report report;
    lint::ObjectChecks objects(report);
    const JudgedFile line = judge_file(line_text, SourceFile::kLine, report);
    objects.general_section(line.lines, line.start);
    objects.line_objects(line.lines);
    const JudgedFile train = judge_file(train_text, SourceFile::kTrain, report);
    objects.train(train.lines, train.start);
    return report.take();
}

}  // namespace scenariogen
