// What all objects share: a position inside the route, a cell of their own,
// markers that may land on other objects' markers, changes in order.
#include "lint/object_checks.h"

#include "compiler/placement.h"
#include "lint/syntax_names.h"

namespace scenariogen::lint {

bool ObjectChecks::position(const KeywordLine& l, std::size_t k, std::int64_t margin, std::string_view what,
                            Placing placing) {
    const std::int64_t p = l.number(k);
    if (p < 0 || !route_) return false;
    const Span at = l.values[k].span;
    const std::string named = "the " + std::string(what) + " at " + metres(p);
    if (static_cast<double>(p + margin) / 50 > route_->last_cell) {
        r_.error(l.file, at, "outside-route",
                 named + " lies outside the route's cells: on a route of " + metres(route_->length) +
                     " it can stand at " + metres(50 * std::int64_t{route_->last_cell} - margin) + " at most");
        r_.cite(15);
        r_.at_position(p);
        return false;
    }
    if (p > route_->length) {
        r_.warning(l.file, at, "beyond-route",
                   named + " lies beyond the end of the route, at " + metres(route_->length));
        r_.at_position(p);
    }
    if (p % 50 == 0 || placing == Placing::kMetre) return true;
    std::string where;
    if (placing == Placing::kCell) {
        where = " goes to the cell that starts at " + metres(50 * (std::int64_t{object_cell(as32(p))} - 1));
    } else {
        where = " takes effect at the cell boundary at " + metres(50 * std::int64_t{boundary_cell(as32(p))});
    }
    r_.warning(l.file, at, "unaligned", named + where + ": the route is counted in cells of 50 m");
    return true;
}

Occupant ObjectChecks::occupant(const KeywordLine& l, std::string_view what) const {
    return {l.file, l.line, l.keyword_span, what};
}

void ObjectChecks::note(const KeywordLine& l, std::string message) {
    r_.note(l.file, l.keyword_span, std::move(message));
}

bool ObjectChecks::free_or_report(const KeywordLine& l, std::int64_t cell, std::string_view what, int compiler_error) {
    if (!cells_ || !cells_->inside(cell)) return false;
    if (cell == 1) {
        r_.error(l.file, l.values[0].span, "cell-one",
                 "the " + std::string(what) +
                     " falls in cell 1 (0 to 50 m), which holds the scenario's header "
                     "values: the compiler ends the run");
        r_.cite(1250);
        return false;
    }
    const Occupant* other = cells_->holder(cell);
    if (other == nullptr) return true;
    r_.error(l.file, l.values[0].span, "occupied-cell",
             "the " + std::string(what) + "'s cell (" + cell_extent(cell) + ") is already taken by the " +
                 std::string(other->what));
    r_.cite(compiler_error);
    r_.at_position(l.number(0));
    r_.note(other->file, other->span, "the " + std::string(other->what) + " placed here");
    return false;
}

void ObjectChecks::take(const KeywordLine& l, std::int64_t cell, std::string_view what) {
    if (cells_) cells_->take(cell, occupant(l, what));
}

bool ObjectChecks::place(const KeywordLine& l, std::int64_t cell, std::string_view what, int compiler_error) {
    if (!free_or_report(l, cell, what, compiler_error)) return false;
    take(l, cell, what);
    return true;
}

// An approach or advance marker: the last writer wins, so a marker written
// over another object's is reported once per pair of objects.
void ObjectChecks::mark(const KeywordLine& l, std::int64_t cell, std::string_view what) {
    if (!cells_ || !cells_->inside(cell)) return;
    if (const Occupant* other = cells_->marker_writer(cell)) {
        const bool same_object = other->file == l.file && other->line == l.line;
        const auto pair = std::tuple(static_cast<int>(other->file), other->line, static_cast<int>(l.file), l.line);
        if (!same_object && markers_reported_.insert(pair).second) {
            r_.warning(l.file, l.values[0].span, "overwritten-marker",
                       "the " + std::string(what) + " in " + cell_extent(cell) + " replaces the " +
                           std::string(other->what) + " written there");
            r_.note(other->file, other->span, "the " + std::string(other->what) + " written here");
        }
    }
    cells_->mark(cell, occupant(l, what));
}

void ObjectChecks::change(const KeywordLine& l, Changes& changes, std::string_view what) {
    const std::int64_t p = l.number(0);
    const std::int64_t e = boundary_cell(as32(p));
    if (changes.previous && (e == 0 || changes.filled >= e)) {
        const std::int64_t before = changes.previous->number(0);
        const std::string named = "the " + std::string(what) + " at " + metres(p);
        r_.error(l.file, l.values[0].span, "out-of-order",
                 p < before ? named + " comes before the previous one, at " + metres(before) +
                                  ": these lines go in increasing order of position"
                            : named + " falls in the same 50 m cell as the previous one, at " + metres(before) +
                                  ": the compiler then moves it one cell on");
        r_.at_position(p);
        note(*changes.previous, "the previous " + std::string(what));
    }
    if (e > 0) changes.filled = changes.filled >= e ? changes.filled + 1 : e;
    changes.previous = l;
}

void ObjectChecks::repeated(const KeywordLine& l) {
    const auto [first, inserted] = seen_.emplace(l.keyword(), l);
    if (inserted) return;
    r_.error(l.file, l.keyword_span, "repeated-setting",
             "'" + std::string(shape(l.keyword()).spelling) + "' is given again: the reader keeps the later value");
    note(first->second, "given first here");
    first->second = l;
}

}  // namespace scenariogen::lint
