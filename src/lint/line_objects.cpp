// The line description: its general section (the route length and the
// settings) and its objects (gradients, curves, mountain stretches, boards).
#include <algorithm>
#include <array>

#include "compiler/conversions.h"
#include "compiler/placement.h"
#include "lint/object_checks.h"
#include "lint/syntax_names.h"

namespace scenariogen::lint {

namespace {

// One to three sign lines, each in parentheses: "(   P.L.  )(km 0+662)".
bool sign_text_shape(std::string_view text) {
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
    int groups = 0;
    while (!text.empty()) {
        if (text.front() != '(') return false;
        const std::size_t close = text.find(')');
        if (close == std::string_view::npos || text.substr(1, close - 1).find('(') != std::string_view::npos) {
            return false;
        }
        ++groups;
        text.remove_prefix(close + 1);
    }
    return groups >= 1 && groups <= 3;
}

}  // namespace

void ObjectChecks::line_description(const KeywordLine& l) {
    if (shape(l.keyword()).section == Section::kGeneral) return general_setting(l);
    if (!l.usable) return;
    switch (l.keyword()) {
        case Keyword::kGradient:
            if (position(l, 0, 100, "gradient change", Placing::kBoundary)) change(l, gradients_, "gradient change");
            break;
        case Keyword::kCurve:
            curve(l);
            break;
        case Keyword::kMountain:
            mountain(l);
            break;
        case Keyword::kSpeedBoard:
            speed_board(l);
            break;
        case Keyword::kSign:
            sign(l);
            break;
        default:
            break;
    }
}

void ObjectChecks::general_setting(const KeywordLine& l) {
    repeated(l);
    if (!l.usable) return;
    switch (l.keyword()) {
        case Keyword::kLength:
            if (l.number(0) >= 0 && l.number(0) <= 1000000) {
                const std::int64_t length = l.number(0);
                route_ = Route{length, last_cell_of_route(static_cast<std::int32_t>(length)), length + 7000};
                cells_.emplace(route_->last_cell);
            }
            break;
        case Keyword::kProgressiveOne:
        case Keyword::kProgressiveTwo:
        case Keyword::kProgressiveThree:
            for (const std::size_t k : {std::size_t{0}, std::size_t{1}}) {
                if (l.number(k) % 50 == 0) continue;
                r_.error(l.file, l.values[k].span, "not-multiple",
                         "the progressive's " + std::string(shape(l.keyword()).values[k].name) + " " +
                             metres(l.number(k)) + " is not a multiple of 50");
                r_.cite(2);
            }
            break;
        case Keyword::kSignalRepetition:
            signal_repetition(l);
            break;
        default:
            break;
    }
}

void ObjectChecks::end_of_line_description(std::optional<Span> start) {
    if (seen_.count(Keyword::kLength) == 0) {
        const std::string message =
            "the general section has no 'lunghezza percorso' line: the route has no cells, and the compiler writes "
            "nothing";
        if (start) {
            r_.error(SourceFile::kLine, *start, "missing-line", message);
        } else {
            r_.file_error(SourceFile::kLine, "missing-line", message);
        }
        r_.cite(25);
    }
    progressives();
}

// The compiler orders the three progressives by their start, largest first;
// when the largest start is shared, it clears all three.
void ObjectChecks::progressives() {
    std::vector<const KeywordLine*> given;
    std::int64_t sum = 0;
    for (const Keyword k : {Keyword::kProgressiveThree, Keyword::kProgressiveTwo, Keyword::kProgressiveOne}) {
        const auto it = seen_.find(k);
        if (it == seen_.end() || !it->second.usable) continue;
        given.push_back(&it->second);
        sum += it->second.number(0);
    }
    if (sum == 0 || given.size() < 2) return;
    std::int64_t largest = 0;
    for (const KeywordLine* l : given) largest = std::max(largest, l->number(0));
    std::vector<const KeywordLine*> sharing;
    for (const KeywordLine* l : given) {
        if (l->number(0) == largest) sharing.push_back(l);
    }
    if (sharing.size() < 2) return;
    std::sort(sharing.begin(), sharing.end(), [](auto* a, auto* b) { return a->line < b->line; });
    const KeywordLine& later = *sharing.back();
    r_.error(later.file, later.values[0].span, "cleared-progressives",
             "two kilometric progressives start at " + metres(largest) +
                 ", the largest start: the compiler cannot order them and clears all three");
    note(*sharing.front(), "the other progressive that starts there");
}

void ObjectChecks::signal_repetition(const KeywordLine& l) {
    const int codes = l.intent.number;
    if (codes != 4 && codes != 9) {
        r_.error(l.file, l.keyword_span, "out-of-range",
                 "the signal repetition names " + std::to_string(codes) + " codes: the format knows 4 or 9");
        if (syntax::repetition_codes(l.keyword_text) == 0) r_.cite(5);
    }
    for (const std::size_t k : {std::size_t{0}, std::size_t{1}}) {
        if (l.number(k) % 50 == 0) continue;
        r_.error(l.file, l.values[k].span, "not-multiple",
                 "the signal repetition's " + std::string(shape(l.keyword()).values[k].name) + " " +
                     metres(l.number(k)) + " is not a multiple of 50");
        r_.cite(static_cast<std::int32_t>(3 + k));
    }
}

void ObjectChecks::curve(const KeywordLine& l) {
    std::optional<KeywordLine>& previous = previous_curve_;
    if (l.intent.number < 1 || l.intent.number > 6) {
        r_.error(l.file, l.keyword_span, "curve-class",
                 "there is no curve class " + std::to_string(l.intent.number) + ": the classes are 1 to 6");
        if (syntax::curve_class(l.keyword_text) == 0) r_.cite(103);
    }
    const std::int64_t start = l.number(0);
    const std::int64_t end = start + l.number(1);
    if (!position(l, 0, 100, "curve", Placing::kMetre)) return;
    if (end > route_->plan_end) {
        r_.error(l.file, l.values[1].span, "outside-route",
                 "the curve ends at " + metres(end) + ", beyond the plan's last metre, " + metres(route_->plan_end));
        r_.cite(15);
        r_.at_position(start);
    } else if (end > route_->length && start <= route_->length) {
        r_.warning(l.file, l.values[1].span, "beyond-route",
                   "the curve ends at " + metres(end) + ", beyond the end of the route, at " + metres(route_->length));
    }
    if (previous && start < previous->number(0) + previous->number(1)) {
        r_.error(l.file, l.values[0].span, "curve-overlap",
                 "the curve at " + metres(start) + " starts before the previous curve ends, at " +
                     metres(previous->number(0) + previous->number(1)) +
                     ": the compiler turns only the metres after that end");
        r_.at_position(start);
        note(*previous, "the previous curve");
    }
    previous = l;
}

void ObjectChecks::mountain(const KeywordLine& l) {
    std::optional<KeywordLine>& previous = previous_mountain_;
    if (++mountains_ > 80) {
        r_.error(l.file, l.keyword_span, "table-full", "this is the 81st mountain stretch: the format holds 80");
        r_.cite(10);
        return;
    }
    if (!position(l, 0, 100, "mountain stretch", Placing::kMetre)) return;
    const std::int64_t start = l.number(0);
    const std::int64_t end = l.number(1);
    const MountainStretchCells cells = mountain_stretch_cells(as32(start), as32(end));
    if (cells.first > cells.last) {
        r_.error(l.file, l.values[1].span, "empty-object",
                 "the mountain stretch from " + metres(start) + " to " + metres(end) +
                     " marks no cell: it must cover a cell of 50 m at least");
        previous = l;  // the compiler keeps it in its list all the same
        return;
    }
    if (cells.last > route_->last_cell) {
        r_.error(l.file, l.values[1].span, "outside-route",
                 "the mountain stretch ends at " + metres(end) + ", beyond the route's cells");
        r_.cite(15);
        return;
    }
    if (start % 50 != 0 || end % 50 != 0) {
        r_.warning(l.file, l.values[start % 50 != 0 ? 0 : 1].span, "unaligned",
                   "the mountain stretch marks whole cells of 50 m: from " + metres(50 * cells.first) + " to " +
                       metres(50 * (cells.last + 1)));
    }
    if (end > route_->length && start <= route_->length) {
        r_.warning(l.file, l.values[1].span, "beyond-route",
                   "the mountain stretch ends at " + metres(end) + ", beyond the end of the route, at " +
                       metres(route_->length));
    }
    const std::int64_t kind = l.number(2) > 10 ? l.number(2) - 10 : l.number(2);
    if (previous) {
        const std::int64_t gap = start - previous->number(1);
        if (gap < 0) {
            r_.error(l.file, l.values[0].span, "mountain-overlap",
                     "the mountain stretch at " + metres(start) + " overlaps the previous one, which ends at " +
                         metres(previous->number(1)) + ": the compiler makes it a stretch of kind 3");
            note(*previous, "the previous mountain stretch");
        } else if (gap <= 150 && kind != 3) {
            r_.warning(l.file, l.values[0].span, "mountain-joined",
                       "the mountain stretch starts " + metres(gap) +
                           " after the previous one ends (150 m or less): the compiler makes it a stretch of kind 3");
            note(*previous, "the previous mountain stretch");
        }
    }
    previous = l;
}

void ObjectChecks::speed_board(const KeywordLine& l) {
    if (!position(l, 0, 100, "speed-indicator board", Placing::kCell)) return;
    for (const std::size_t k : {std::size_t{5}, std::size_t{6}, std::size_t{7}}) {
        const std::int64_t v = l.number(k);
        if (v % 5 == 0) continue;
        r_.error(l.file, l.values[k].span, "out-of-range",
                 "the " + std::string(shape(l.keyword()).values[k].name) + " " + std::to_string(v) +
                     " km/h is not a multiple of 5: it is stored as speed / 5 beside the left speed, which makes it " +
                     std::to_string(std::int64_t{nearest(static_cast<double>(v) / 5)} * 5) + " km/h");
    }
    place(l, object_cell(as32(l.number(0))), "speed-indicator board", 21);
}

void ObjectChecks::sign(const KeywordLine& l) {
    if (++signs_ > 80) {
        r_.error(l.file, l.keyword_span, "table-full",
                 "this is the 81st sign board: the station table holds 80 sign texts");
        r_.cite(10);
        return;
    }
    if (!position(l, 0, 100, "sign board", Placing::kCell)) return;
    const std::string_view text = l.values[1].text;
    if (text.find_first_not_of(" \t") == std::string_view::npos) {
        r_.warning(l.file, l.values[1].span, "sign-text", "the sign board has no text");
    } else if (!sign_text_shape(text)) {
        r_.warning(l.file, l.values[1].span, "sign-text",
                   "the sign text " + quoted(text) +
                       " is not one to three lines in parentheses, such as '(   P.L.  )(km 0+662)'");
    }
    place(l, object_cell(as32(l.number(0))), "sign board", 6);
}

}  // namespace scenariogen::lint
