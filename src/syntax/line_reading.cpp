#include "syntax/line_reading.h"

namespace scenariogen::syntax {

namespace {

// Gathers the fields of the statements into lines.
class LineGathering {
public:
    explicit LineGathering(LineSink& sink) : sink_(sink) {}

    void add(const Statement& statement) {
        index_.resize(statement.uses.size());
        for (std::size_t i = 0; i < statement.uses.size(); ++i) index_[i] = append(statement.uses[i]);
        for (const KeywordReading& reading : statement.readings) {
            const int r = static_cast<int>(line_.readings.size());
            KeywordReading& gathered = line_.readings.emplace_back();
            gathered.keyword = reading.keyword;
            gathered.keyword_use = at(reading.keyword_use);
            gathered.missing = reading.missing;
            for (const int value : reading.value_uses) {
                gathered.value_uses.push_back(at(value));
                line_.uses[static_cast<std::size_t>(at(value))].reading = r;
            }
            FieldUse& keyword = line_.uses[static_cast<std::size_t>(gathered.keyword_use)];
            if (keyword.first_reading < 0) keyword.first_reading = r;
            ++keyword.readings;
        }
    }

    void flush(bool last) {
        if (line_.uses.empty()) return;
        line_.last = last;
        sink_.line(line_);
        line_.uses.clear();  // the buffers are kept for the next line
        line_.readings.clear();
        line_.cut_short = false;
    }

private:
    int append(const FieldUse& use) {
        if (use.field.span.line != line_.line) {
            flush(false);
            line_.line = use.field.span.line;
        }
        line_.cut_short = line_.cut_short || use.rest_of_line_skipped;
        FieldUse& gathered = line_.uses.emplace_back(use);
        gathered.reading = -1;
        gathered.first_reading = -1;
        gathered.readings = 0;
        return static_cast<int>(line_.uses.size()) - 1;
    }

    int at(int statement_index) const { return index_[static_cast<std::size_t>(statement_index)]; }

    LineSink& sink_;
    LineReading line_;
    std::vector<int> index_;  // the statement's uses as indexes of the line's
};

}  // namespace

ReadingSummary read_lines(std::string_view text, SourceFile file, std::optional<AssumedStart> assumed, LineSink* sink) {
    ReaderOptions options;
    options.values = ValueSource::kOwnLine;
    options.assumed_start = assumed;
    DescriptionReader reader(text, file, options);
    Statement statement;
    if (sink == nullptr) {
        while (!reader.summary_complete() && reader.next(statement)) {
        }
        return reader.summary();
    }
    LineGathering lines(*sink);
    while (sink->wants_more() && reader.next(statement)) lines.add(statement);
    lines.flush(true);
    return reader.summary();
}

}  // namespace scenariogen::syntax
