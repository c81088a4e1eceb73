#include "compiler/post_processing.h"

#include <optional>

#include "compiler/cell_access.h"

namespace scenariogen {

namespace {

constexpr std::int32_t kSlowSpeed = 110;         // slowdowns below this get points along them
constexpr std::int32_t kPointSpacing = 8;        // cells between points along a slowdown
constexpr std::int32_t kSignalSearchCells = 13;  // cells searched for a signal after a slowdown

class PlacementRules {
public:
    explicit PlacementRules(CompilationState& s) : s_(s), u_(s.last_cell()) {}

    void run() {
        for (std::int32_t k = 1; k <= u_ - 2; ++k) {
            const std::uint8_t kind = cell(s_, k).kind;
            if (kind == kSlowdownWarning) {
                rule_a(k);
            } else if (kind == kSlowdownStart) {
                rule_b(k);
                const std::optional<std::int32_t> end = slowdown_end(k);
                if (!end) {
                    fault(13, k);
                    continue;
                }
                if (cell(s_, k).value_1 < kSlowSpeed) rule_c(k);
                rule_d(*end);
            }
        }
    }

private:
    bool free_at(std::int64_t i) { return i >= 0 && i <= u_ && is_free(cell(s_, i)); }
    std::uint8_t kind_at(std::int64_t i) { return cell(s_, i).kind; }
    void place_point(std::int64_t i) {
        Cell& c = cell(s_, i);
        c.kind = kCodeDrop;
        c.value_1 = kAddedCodeDropValue;
    }
    void fault(std::int32_t number, std::int32_t i) {
        Diagnostic d;
        d.number = number;
        d.position = i * 50;
        d.cell = i;
        s_.record(std::move(d));
    }

    // Rule A: every signal in the 20 cells before a warning, down to cell 3.
    void rule_a(std::int32_t k) {
        for (std::int32_t m = 1; m <= 20 && k - m >= 3; ++m) {
            const std::int32_t s = k - m;
            if (kind_at(s) != kSignal) continue;
            if (free_at(s - 1)) {
                place_point(s - 1);
            } else if (free_at(s - 2)) {
                place_point(s - 2);
            } else if (kind_at(s - 1) == kCodeDrop) {
                cell(s_, s - 1).value_1 = lower_of(kAddedCodeDropValue, cell(s_, s - 1).value_1);
            } else if (kind_at(s - 2) == kCodeDrop) {
                cell(s_, s - 2).value_1 = lower_of(kAddedCodeDropValue, cell(s_, s - 2).value_1);
            } else {
                fault(11, s);
            }
        }
    }

    // Rule B: one point in each of three windows before the start.
    void rule_b(std::int32_t k) {
        struct Window {
            std::int32_t above, nearest;
        };
        for (const Window w : {Window{7, 5}, Window{13, 11}, Window{20, 18}}) {
            if (k <= w.above) continue;
            bool placed = false;
            for (std::int32_t i = k - w.nearest; i >= k - w.nearest - 2 && !placed; --i) {
                if (free_at(i)) {
                    place_point(i);
                    placed = true;
                }
            }
            if (!placed) fault(12, k);
        }
    }

    // The slowdown's end: the first cell of type 2 after its start.
    std::optional<std::int32_t> slowdown_end(std::int32_t k) {
        for (std::int32_t e = k + 1; e <= u_; ++e) {
            if (kind_at(e) == kSlowdownEnd) return e;
        }
        return std::nullopt;
    }

    // Rule C: a point every 8 cells from the start up to the end.
    void rule_c(std::int32_t k) {
        std::int32_t c = 0;
        std::int32_t e = k;
        do {
            ++e;
            ++c;
            if (c != kPointSpacing) continue;
            if (free_at(e)) {
                place_point(e);
                c = 0;
            } else if (free_at(e - 1)) {
                place_point(e - 1);
                c = 1;
            } else if (free_at(e + 1)) {
                place_point(e + 1);
                c = -1;
            } else {
                fault(13, e);  // c stays 8: no further point along this slowdown
            }
        } while (kind_at(e) != kSlowdownEnd);
    }

    // Rule D: a point before the first signal within 13 cells of the end.
    void rule_d(std::int32_t e) {
        for (std::int32_t n = e; n <= e + kSignalSearchCells - 1 && n <= u_; ++n) {
            if (kind_at(n) != kSignal) continue;
            const std::int32_t t = n - 1;
            if (t <= 0) return;
            if (free_at(t)) {
                place_point(t);
            } else if (free_at(t - 1)) {
                place_point(t - 1);
            } else {
                fault(13, e);
            }
            return;
        }
    }

    CompilationState& s_;
    const std::int32_t u_;
};

}  // namespace

std::int16_t lower_of(std::int16_t x, std::int16_t y) { return x > y ? y : x; }

void apply_placement_rules(CompilationState& s) { PlacementRules(s).run(); }

}  // namespace scenariogen
