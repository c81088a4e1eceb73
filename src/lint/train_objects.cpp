// The train description: the train's settings, speed limits and adhesion
// along the route, signals, slowdowns and code-drop points.
#include <algorithm>
#include <array>

#include "compiler/placement.h"
#include "lint/object_checks.h"
#include "lint/syntax_names.h"

namespace scenariogen::lint {

namespace {
constexpr std::array kSettings{Keyword::kCoaches, Keyword::kBrakedMass, Keyword::kSand, Keyword::kClock};
}  // namespace

void ObjectChecks::train_description(const KeywordLine& l) {
    if (std::find(kSettings.begin(), kSettings.end(), l.keyword()) != kSettings.end()) repeated(l);
    if (l.keyword() == Keyword::kSpeed || l.keyword() == Keyword::kAdhesion) from_start(l);
    if (!l.usable) return;
    switch (l.keyword()) {
        case Keyword::kSpeed:
            if (position(l, 0, 100, "speed limit", Placing::kBoundary)) change(l, speeds_, "speed limit");
            break;
        case Keyword::kAdhesion:
            if (position(l, 0, 100, "adhesion", Placing::kBoundary)) change(l, adhesions_, "adhesion");
            break;
        case Keyword::kSignal:
            signal(l);
            break;
        case Keyword::kSlowdown:
            slowdown(l);
            break;
        case Keyword::kCodeDrop:
            code_drop(l);
            break;
        case Keyword::kStation:
            station(l);
            break;
        default:
            break;
    }
}

void ObjectChecks::end_of_train_description(std::optional<Span> start) {
    if (!start) return;
    for (const Keyword k : kSettings) {
        if (seen_.count(k) != 0) continue;
        r_.warning(SourceFile::kTrain, *start, "missing-setting",
                   "the train description has no '" + std::string(shape(k).spelling) + "' line: the compiler stores 0");
    }
    for (const auto& [keyword, nothing] : {std::pair{Keyword::kSpeed, "the speed limit is 0 km/h"},
                                           std::pair{Keyword::kAdhesion, "the adhesion is 0"}}) {
        if (seen_.count(keyword) != 0) continue;
        r_.error(SourceFile::kTrain, *start, "missing-line",
                 "the train description has no '" + std::string(shape(keyword).spelling) + "' line: " + nothing +
                     " along the whole route");
    }
}

// Speed limits and adhesion hold from their line's position on; before the
// first line of the list the cells keep 0.
void ObjectChecks::from_start(const KeywordLine& l) {
    if (!seen_.emplace(l.keyword(), l).second) return;
    if (!l.usable || l.number(0) < 0 || boundary_cell(as32(l.number(0))) == 0) return;
    const bool speed = l.keyword() == Keyword::kSpeed;
    r_.error(l.file, l.values[0].span, "not-from-start",
             "the first '" + std::string(shape(l.keyword()).spelling) + "' line stands at " + metres(l.number(0)) +
                 ": before it " + (speed ? "the speed limit is 0 km/h" : "the adhesion is 0") +
                 "; the list begins at 0 m");
    r_.at_position(l.number(0));
}

void ObjectChecks::signal(const KeywordLine& l) {
    const std::int64_t p = l.number(0);
    if (p >= 0 && p < 325 && route_) {
        r_.error(l.file, l.values[0].span, "outside-route",
                 "the signal at " + metres(p) +
                     " has its advance markers up to 400 m before it, before the route's first cell: a signal "
                     "stands at 325 m at least");
        r_.cite(15);
        r_.at_position(p);
        return;
    }
    if (!position(l, 0, 100, "signal", Placing::kCell)) return;
    const std::int64_t sx = l.number(1);
    const std::int64_t dx = l.number(6);
    const std::int64_t sides = sx * 3 + l.number(6);
    // Only of two values each in its range: one out of its range has its own error.
    const auto in_range = [&](std::size_t index, std::int64_t value) {
        const syntax::ValueShape& v = syntax::shape(Keyword::kSignal).values[index];
        return value >= v.low && value <= v.high;
    };
    if (sides > 9 && in_range(1, sx) && in_range(6, dx)) {
        r_.error(l.file, l.values[1].span, "out-of-range",
                 "sx × 3 + dx makes " + std::to_string(sides) +
                     ", which the compiler stores as the last digit of rapp × 10 + sx × 3 + dx: it must stay below 10");
    }
    for (std::size_t j = 0; j < 3; ++j) {
        const std::int64_t pair = l.number(2 + j) * 10 + l.number(7 + j);
        if (pair <= 32767) continue;
        r_.error(l.file, l.values[2 + j].span, "out-of-range",
                 "s" + std::to_string(j + 1) + " × 10 + d" + std::to_string(j + 1) + " makes " + std::to_string(pair) +
                     ", beyond the 16 bits that hold it");
    }
    const std::int64_t tempo = l.number(10);
    if (sx != 2 && tempo != 0) {
        r_.error(l.file, l.values[10].span, "ignored-value",
                 "the compiler keeps tempo only for a signal with sx 2, and stores 0 for this one");
    } else if (sx == 2 && tempo >= 1 && tempo <= 100) {
        r_.error(l.file, l.values[10].span, "ignored-value",
                 "the compiler raises a tempo of 1 to 100 to 101, so it stores 101 for " + std::to_string(tempo));
    }
    const std::int64_t cell = object_cell(as32(p));
    if (!place(l, cell, "signal", 16)) return;
    for (std::int64_t n = 1; n <= 4; ++n) mark(l, cell - 2 * n, "signal's advance marker");
}

void ObjectChecks::slowdown(const KeywordLine& l) {
    if (!position(l, 0, 100, "slowdown", Placing::kCell)) return;
    const std::int64_t p = l.number(0);
    const std::int64_t length = l.number(2);
    const SlowdownCells cells = slowdown_cells(as32(p), as32(length));
    if (cells.end < 0 || cells.end > route_->last_cell) {
        r_.error(l.file, l.values[2].span, "outside-route",
                 "the slowdown ends at " + metres(p + length) + ", outside the route's cells");
        r_.cite(15);
        r_.at_position(p);
        return;
    }
    if (length % 50 != 0 && length > 0) {
        r_.warning(l.file, l.values[2].span, "unaligned",
                   "the slowdown's end goes to the cell that starts at " + metres(50 * (cells.end - 1)) +
                       ": the route is counted in cells of 50 m");
    }
    if (cells.end == cells.start) {
        r_.error(l.file, l.values[2].span, "empty-object",
                 "the slowdown starts and ends in the same cell, so its start overwrites its end");
        r_.cite(13);
    }
    const bool extra_cells = l.number(4) != 0;
    if (!cells.has_warning && extra_cells) {
        r_.error(l.file, l.values[4].span, "ignored-value",
                 "a slowdown up to 1500 m has no warning point, so the compiler ignores f_ta");
    }
    if (cells.has_warning && !free_or_report(l, cells.warning, "slowdown's warning point", 17)) return;
    if (!free_or_report(l, cells.start, "slowdown's start", 18)) return;
    if (!free_or_report(l, cells.end, "slowdown's end", 19)) return;
    take(l, cells.end, "slowdown's end");
    take(l, cells.start, "slowdown's start");
    if (cells.has_warning) take(l, cells.warning, "slowdown's warning point");
    if (!cells.has_warning || !extra_cells) return;
    for (std::int64_t j = 0; j <= 3; ++j) {
        if (!free_or_report(l, std::int64_t{cells.before_warning} - j, "cell before the slowdown's warning", 20))
            return;
    }
    for (std::int64_t j = 0; j <= 3; ++j)
        take(l, std::int64_t{cells.before_warning} - j, "cell before the slowdown's warning");
}

void ObjectChecks::code_drop(const KeywordLine& l) {
    if (!position(l, 0, 100, "code-drop point", Placing::kMetre)) return;
    const std::int64_t cell = boundary_cell(as32(l.number(0)));
    if (l.number(0) % 50 != 0) {
        r_.warning(l.file, l.values[0].span, "unaligned",
                   "the code-drop point at " + metres(l.number(0)) + " goes to the cell that starts at " +
                       metres(50 * (cell - 1)) + ": the route is counted in cells of 50 m");
    }
    place(l, cell, "code-drop point", 7);
}

}  // namespace scenariogen::lint
