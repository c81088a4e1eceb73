#include "compiler/post_processing.h"

#include <optional>

#include "compiler/cell_access.h"

namespace scenariogen {

namespace {

constexpr std::int32_t kVelocitaLenta = 110;   // slowdowns below this get points along them
constexpr std::int32_t kPassoPunti = 8;        // cells between points along a slowdown
constexpr std::int32_t kFinestraSegnale = 13;  // cells searched for a signal after a slowdown

class Completion {
public:
    explicit Completion(Scenario& s) : s_(s), u_(s.last_cell()) {}

    void run() {
        for (std::int32_t k = 1; k <= u_ - 2; ++k) {
            const std::uint8_t tipo = cella(s_, k).kind;
            if (tipo == kSlowdownWarning) {
                regola_a(k);
            } else if (tipo == kSlowdownStart) {
                regola_b(k);
                const std::optional<std::int32_t> fine = fine_rallentamento(k);
                if (!fine) {
                    fault(13, k);
                    continue;
                }
                if (cella(s_, k).value_1 < kVelocitaLenta) regola_c(k);
                regola_d(*fine);
            }
        }
    }

private:
    bool libera_(std::int64_t i) { return i >= 0 && i <= u_ && is_free(cella(s_, i)); }
    std::uint8_t tipo(std::int64_t i) { return cella(s_, i).kind; }
    void punto(std::int64_t i) {
        Cell& c = cella(s_, i);
        c.kind = kCodeDrop;
        c.value_1 = kValorePunto;
    }
    void fault(std::int32_t codice, std::int32_t i) { s_.record(Fault{codice, i * 50, i, std::nullopt, {}}); }

    // Rule A: every signal in the 20 cells before a warning, down to cell 3.
    void regola_a(std::int32_t k) {
        for (std::int32_t m = 1; m <= 20 && k - m >= 3; ++m) {
            const std::int32_t s = k - m;
            if (tipo(s) != kSignal) continue;
            if (libera_(s - 1)) {
                punto(s - 1);
            } else if (libera_(s - 2)) {
                punto(s - 2);
            } else if (tipo(s - 1) == kCodeDrop) {
                cella(s_, s - 1).value_1 = minimo(kValorePunto, cella(s_, s - 1).value_1);
            } else if (tipo(s - 2) == kCodeDrop) {
                cella(s_, s - 2).value_1 = minimo(kValorePunto, cella(s_, s - 2).value_1);
            } else {
                fault(11, s);
            }
        }
    }

    // Rule B: one point in each of three windows before the start.
    void regola_b(std::int32_t k) {
        struct Window {
            std::int32_t soglia, vicina;
        };
        for (const Window w : {Window{7, 5}, Window{13, 11}, Window{20, 18}}) {
            if (k <= w.soglia) continue;
            bool posto = false;
            for (std::int32_t i = k - w.vicina; i >= k - w.vicina - 2 && !posto; --i) {
                if (libera_(i)) {
                    punto(i);
                    posto = true;
                }
            }
            if (!posto) fault(12, k);
        }
    }

    // The slowdown's end: the first cell of type 2 after its start.
    std::optional<std::int32_t> fine_rallentamento(std::int32_t k) {
        for (std::int32_t e = k + 1; e <= u_; ++e) {
            if (tipo(e) == kSlowdownEnd) return e;
        }
        return std::nullopt;
    }

    // Rule C: a point every 8 cells from the start up to the end.
    void regola_c(std::int32_t k) {
        std::int32_t c = 0;
        std::int32_t e = k;
        do {
            ++e;
            ++c;
            if (c != kPassoPunti) continue;
            if (libera_(e)) {
                punto(e);
                c = 0;
            } else if (libera_(e - 1)) {
                punto(e - 1);
                c = 1;
            } else if (libera_(e + 1)) {
                punto(e + 1);
                c = -1;
            } else {
                fault(13, e);  // c stays 8: no further point along this slowdown
            }
        } while (tipo(e) != kSlowdownEnd);
    }

    // Rule D: a point before the first signal within 13 cells of the end.
    void regola_d(std::int32_t e) {
        for (std::int32_t n = e; n <= e + kFinestraSegnale - 1 && n <= u_; ++n) {
            if (tipo(n) != kSignal) continue;
            const std::int32_t t = n - 1;
            if (t <= 0) return;
            if (libera_(t)) {
                punto(t);
            } else if (libera_(t - 1)) {
                punto(t - 1);
            } else {
                fault(13, e);
            }
            return;
        }
    }

    Scenario& s_;
    const std::int32_t u_;
};

}  // namespace

std::int16_t minimo(std::int16_t x, std::int16_t y) { return x > y ? y : x; }

void completa_celle(Scenario& s) { Completion(s).run(); }

}  // namespace scenariogen
