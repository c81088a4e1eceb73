#include "lint/report.h"

#include <algorithm>
#include <tuple>

#include "compiler/diagnostic_format.h"

namespace scenariogen::lint {

void Report::add(Severity severity, SourceFile file, std::optional<Span> span, std::string_view name,
                 std::string message) {
    if (severity != Severity::kNote) left_out_ = full();
    if (left_out_) return;
    Diagnostic d;
    d.severity = severity;
    d.name = std::string(name);
    d.message = std::move(message);
    d.where = SourceRange{file, 0, 0, 0};
    if (span) d.where = SourceRange{file, span->line, span->column, std::max(span->end_column, span->column)};
    if (severity == Severity::kNote && !groups_.empty()) {
        groups_.back().notes.push_back(std::move(d));
    } else {
        groups_.push_back({std::move(d), {}});
    }
}

void Report::error(SourceFile file, Span span, std::string_view name, std::string message) {
    add(Severity::kError, file, span, name, std::move(message));
}

void Report::warning(SourceFile file, Span span, std::string_view name, std::string message) {
    add(Severity::kWarning, file, span, name, std::move(message));
}

void Report::file_error(SourceFile file, std::string_view name, std::string message) {
    add(Severity::kError, file, std::nullopt, name, std::move(message));
}

void Report::note(SourceFile file, Span span, std::string message) {
    add(Severity::kNote, file, span, "", std::move(message));
}

void Report::note_on_file(SourceFile file, std::string message) {
    add(Severity::kNote, file, std::nullopt, "", std::move(message));
}

void Report::at_position(std::int64_t value) {
    if (left_out_ || groups_.empty() || value < INT32_MIN || value > INT32_MAX) return;
    groups_.back().main.position = static_cast<std::int32_t>(value);
}

void Report::cite(std::int32_t number) {
    if (left_out_ || groups_.empty()) return;
    groups_.back().main.number = number;
}

bool Report::has_errors() const {
    return std::any_of(groups_.begin(), groups_.end(),
                       [](const Group& g) { return g.main.severity == Severity::kError; });
}

Diagnostics Report::take() {
    const bool stopped = full();
    const auto key = [](const Group& g) {
        const SourceRange& at = *g.main.where;
        return std::tuple(static_cast<int>(at.file), at.line, at.column);
    };
    std::stable_sort(groups_.begin(), groups_.end(), [&](const Group& a, const Group& b) { return key(a) < key(b); });
    Diagnostics all;
    for (Group& g : groups_) {
        all.push_back(std::move(g.main));
        for (Diagnostic& n : g.notes) all.push_back(std::move(n));
    }
    groups_.clear();
    if (stopped) {
        Diagnostic more;
        more.severity = Severity::kNote;
        more.message = "the check stops after " + std::to_string(kMaxDiagnostics) + " diagnostics";
        all.push_back(std::move(more));
    }
    return all;
}

std::string quoted(std::string_view text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) return "''";
    const auto last = text.find_last_not_of(" \t");
    text = text.substr(first, last - first + 1);
    constexpr std::size_t kShown = 40;
    std::string shown = printable(text.substr(0, kShown));
    if (text.size() > kShown) shown += "...";
    return "'" + shown + "'";
}

std::string metres(std::int64_t value) { return std::to_string(value) + " m"; }

}  // namespace scenariogen::lint
