#include "compiler/plan_geometry.h"

namespace scenariogen {

namespace {

// One step at metre m with curvature k (0 for a straight step).
void passo(griglia_t& g, double k) {
    const auto m = static_cast<std::size_t>(g.metri_calcolati);
    const double dx = g.x[m - 1] - g.x[m - 2];
    const double dy = g.y[m - 1] - g.y[m - 2];
    if (k == 0.0) {
        g.x.push_back(g.x[m - 1] + dx);
        g.y.push_back(g.y[m - 1] + dy);
    } else {
        g.x.push_back(g.x[m - 1] + (dx + k * dy));
        g.y.push_back(g.y[m - 1] + (dy - k * dx));
    }
    ++g.metri_calcolati;
}

}  // namespace

void inizio_tracciato(griglia_t& g) {
    g.x.assign({0, 0});
    g.y.assign({0, 1});
    g.metri_calcolati = 2;
}

void rettilineo_fino_a(griglia_t& g, std::int64_t fino_a) {
    while (g.metri_calcolati <= fino_a) passo(g, 0.0);
}

bool curva(griglia_t& g, std::int64_t inizio, std::int64_t lunghezza, double k) {
    while (g.metri_calcolati <= inizio) {
        passo(g, 0.0);
        if (g.metri_calcolati > kMetroMassimo) return false;
    }
    while (g.metri_calcolati <= inizio + lunghezza) {
        passo(g, k);
        if (g.metri_calcolati > kMetroMassimo) return false;
    }
    return true;
}

}  // namespace scenariogen
