#include "compiler/plan_geometry.h"

#include <cstdint>

namespace scenariogen {

namespace {

// Steps with curvature k (0 for straight steps) while the next metre is at
// most `fino_a`; false when a step passes `limite`.
bool passi(Grid& g, std::int64_t fino_a, double k, std::int64_t limite) {
    double* x = g.x.data();
    double* y = g.y.data();
    std::int64_t m = g.computed_metres;
    bool entro = true;
    for (; m <= fino_a; ++m) {
        const double dx = x[m - 1] - x[m - 2];
        const double dy = y[m - 1] - y[m - 2];
        if (k == 0.0) {
            x[m] = x[m - 1] + dx;
            y[m] = y[m - 1] + dy;
        } else {
            x[m] = x[m - 1] + (dx + k * dy);
            y[m] = y[m - 1] + (dy - k * dx);
        }
        if (m + 1 > limite) {
            entro = false;
            ++m;
            break;
        }
    }
    g.computed_metres = static_cast<std::int32_t>(m);
    return entro;
}

}  // namespace

void inizio_tracciato(Grid& g) {
    g.x[0] = 0;
    g.y[0] = 0;
    g.x[1] = 0;
    g.y[1] = 1;
    g.computed_metres = 2;
}

void rettilineo_fino_a(Grid& g, std::int64_t fino_a) { passi(g, fino_a, 0.0, INT64_MAX); }

bool curva(Grid& g, std::int64_t inizio, std::int64_t lunghezza, double k) {
    return passi(g, inizio, 0.0, kMetroMassimo) && passi(g, inizio + lunghezza, k, kMetroMassimo);
}

}  // namespace scenariogen
