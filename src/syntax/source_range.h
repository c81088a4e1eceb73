// Where a piece of a description stands: which of the two texts, which line,
// which columns.
#pragma once

namespace scenariogen {

// Which of the two description texts a place is in.
enum class SourceFile { kLine, kTrain };

// A stretch of one line of a text: 1-based line, 1-based columns in bytes,
// `end_column` one past the last byte (equal to `column` for a point).
// Line 0 stands for the text as a whole.
struct SourceRange {
    SourceFile file = SourceFile::kLine;
    int line = 0;
    int column = 0;
    int end_column = 0;
};

namespace syntax {

// A stretch of one line of a text whose file is known: 1-based line and
// columns in bytes, `end_column` one past the last byte.
struct Span {
    int line = 1;
    int column = 1;
    int end_column = 1;
};

inline SourceRange range_in(SourceFile file, const Span& span) {
    return SourceRange{file, span.line, span.column, span.end_column < span.column ? span.column : span.end_column};
}

}  // namespace syntax
}  // namespace scenariogen
