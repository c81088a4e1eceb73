#include "timetable/fastest_run.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace scenariogen {

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

double squared_ms(double kmh) { return kmh / 3.6 * (kmh / 3.6); }

// A stretch of the route over which the limit and the gradient hold, and
// what they let the train do there. Speeds are squares, m²/s²: under a
// constant acceleration the square of the speed changes in proportion to
// the distance.
struct Piece {
    double start = 0;
    double end = 0;
    double limit_kmh = 0;
    double cap = 0;           // the limit, squared
    double acceleration = 0;  // after the gradient, m/s²
    double braking = 0;       // after the gradient, m/s²
    int gradient = 0;
    // The highest speed² at `end` from which the train can keep every limit
    // ahead and stop at the run's end.
    double envelope_end = 0;

    // The highest such speed² at x within the piece: the limit, or the
    // braking line back from `end`, never below 0.
    double envelope(double x) const { return std::min(cap, std::max(0.0, envelope_end + 2 * braking * (end - x))); }
};

// The pieces from `from` to `to`, each as long as the limit and the
// gradient stay the same; beyond the last cell there is no track (limit 0).
std::vector<Piece> pieces_between(const RouteConditions& route, const TrainModel& model, double from, double to) {
    std::vector<Piece> pieces;
    for (double x = from; x < to;) {
        const std::size_t c = cell_at(route, x);
        const double limit = c == 0 ? 0 : route.limit_kmh[c];
        const int gradient = c == 0 ? 0 : route.gradient_per_mille[c];
        double end = to;
        if (c != 0) {
            std::size_t next = c + 1;
            while (next < route.cell_count() && route.limit_kmh[next] == limit &&
                   route.gradient_per_mille[next] == gradient) {
                ++next;
            }
            end = std::min(to, kCellMetres * static_cast<double>(next - 1));
        }
        const double pull = kGravity * gradient / 1000;  // what the gradient takes from the train, m/s²
        pieces.push_back(
            {x, end, limit, squared_ms(limit), model.acceleration - pull, model.braking + pull, gradient, 0});
        x = end;
    }
    return pieces;
}

// The braking envelope, back from the stop at the end of the last piece.
void set_envelope(std::vector<Piece>& pieces) {
    double ahead = 0;  // the envelope at the start of the piece after
    for (std::size_t j = pieces.size(); j-- > 0;) {
        Piece& p = pieces[j];
        p.envelope_end = std::min(p.cap, ahead);
        ahead = p.envelope(p.start);
    }
}

// The run built phase by phase: the nodes between which the speed² is
// linear in the distance, the time at each, and where the run halts.
class RunBuilder {
public:
    RunBuilder(const std::vector<Piece>& pieces, double from, double to) : pieces_(pieces), to_(to) {
        run_.position_m.push_back(from);
        run_.speed_ms.push_back(0);
        run_.time_s.push_back(0);
        w_ = 0;
    }

    FastestRun build() {
        for (piece_ = 0; piece_ < pieces_.size() && !run_.blockage; ++piece_) through_piece(pieces_[piece_]);
        if (run_.blockage) {
            run_.position_m.push_back(to_);
            run_.speed_ms.push_back(0);
            run_.time_s.push_back(kInfinity);
        }
        set_limits();
        return std::move(run_);
    }

private:
    double x() const { return run_.position_m.back(); }

    // The piece's envelope is linear between its breakpoint (where the
    // braking line meets the limit, or leaves 0) and its ends.
    void through_piece(const Piece& p) {
        double breakpoint = p.start;
        if (p.braking > 0) {
            breakpoint = p.end - (p.cap - p.envelope_end) / (2 * p.braking);
        } else if (p.braking < 0) {
            breakpoint = p.end - p.envelope_end / (-2 * p.braking);
        }
        if (breakpoint > p.start && breakpoint < p.end) through_segment(p, breakpoint);
        if (!run_.blockage) through_segment(p, p.end);
    }

    // From x() to v, where the envelope is linear: the train accelerates
    // until it meets the envelope, then follows it while it can.
    void through_segment(const Piece& p, double v) {
        const double u = x();
        const double envelope_u = p.envelope(u);
        const double envelope_v = p.envelope(v);
        const double slope = (envelope_v - envelope_u) / (v - u);
        const double pull = 2 * p.acceleration;  // the slope of the speed² when accelerating
        w_ = std::min(w_, envelope_u);
        if (w_ >= envelope_u && slope <= pull) {
            if (envelope_u <= 0 && slope <= 0) return halt();
            return node(v, envelope_v);
        }
        const double meets = pull > slope ? (envelope_u - w_) / (pull - slope) : kInfinity;
        const double stalls = pull < 0 ? w_ / -pull : pull == 0 && w_ == 0 ? 0 : kInfinity;
        // Only the end may be reached at standstill.
        if (stalls <= meets && u + stalls <= v && u + stalls < to_) {
            run_.blockage = Blockage{BlockageCause::kTooSteepUp, u + stalls, p.gradient};
            return node(u + stalls, 0);
        }
        if (u + meets < v) {
            node(u + meets, p.envelope(u + meets));
            if (run_.blockage) return;
            return node(v, envelope_v);
        }
        node(v, std::min(envelope_v, w_ + pull * (v - u)));
    }

    // The next node: the speed² there, reached from the last one with the
    // speed² linear in the distance, so in 2·length / (v₀ + v₁) seconds.
    void node(double at, double w) {
        const double length = at - x();
        if (length <= 0) return;
        const double v0 = run_.speed_ms.back();
        const double v1 = std::sqrt(std::max(w, 0.0));
        run_.time_s.push_back(run_.time_s.back() + 2 * length / (v0 + v1));
        run_.position_m.push_back(at);
        run_.speed_ms.push_back(v1);
        w_ = std::max(w, 0.0);
        if (w_ <= 0 && at < to_) halt();
    }

    // The train stands before the end, held by the envelope: a limit of
    // 0 km/h ahead, or a descent steeper than the braking can hold. (A stall
    // on a climb is found where the speed runs out.)
    void halt() {
        if (run_.blockage) return;
        const double at = x();
        std::size_t j = piece_;
        while (j < pieces_.size() && pieces_[j].end <= at) ++j;
        if (j < pieces_.size() && pieces_[j].cap <= 0) {
            run_.blockage = Blockage{BlockageCause::kNoSpeed, std::max(at, pieces_[j].start), 0};
            return;
        }
        std::size_t steep = j;
        while (steep + 1 < pieces_.size() && pieces_[steep].braking > 0) ++steep;
        steep = std::min(steep, pieces_.size() - 1);
        run_.blockage =
            Blockage{BlockageCause::kTooSteepDown, std::max(at, pieces_[steep].start), pieces_[steep].gradient};
    }

    // The limit over the phase that starts at each node; the last node
    // keeps the one before it.
    void set_limits() {
        const std::size_t n = run_.position_m.size();
        run_.limit_kmh.assign(n, 0);
        std::size_t j = 0;
        for (std::size_t k = 0; k + 1 < n; ++k) {
            const double middle = (run_.position_m[k] + run_.position_m[k + 1]) / 2;
            while (j + 1 < pieces_.size() && pieces_[j].end <= middle) ++j;
            run_.limit_kmh[k] = pieces_.empty() ? 0 : pieces_[j].limit_kmh;
        }
        if (n >= 2) run_.limit_kmh[n - 1] = run_.limit_kmh[n - 2];
    }

    const std::vector<Piece>& pieces_;
    double to_;
    std::size_t piece_ = 0;
    double w_ = 0;  // the speed² at the last node
    FastestRun run_;
};

}  // namespace

FastestRun fastest_run(const RouteConditions& route, const TrainModel& model, double from, double to) {
    FastestRun run;
    // No track before the route or beyond the last cell: a run that starts
    // there goes nowhere, and one that leaves the cells halts where they end.
    const double track_end = kCellMetres * static_cast<double>(route.cell_count() > 0 ? route.cell_count() - 1 : 0);
    if (from < 0 || from >= track_end) {
        run.position_m = {from, to};
        run.speed_ms = {0, 0};
        run.time_s = {0, kInfinity};
        run.limit_kmh = {0, 0};
        run.blockage = Blockage{BlockageCause::kNoSpeed, from, 0};
        return run;
    }
    std::vector<Piece> pieces = pieces_between(route, model, from, std::min(to, track_end + kCellMetres));
    set_envelope(pieces);
    return RunBuilder(pieces, from, pieces.back().end).build();
}

std::size_t FastestRun::step_holding(double position) const {
    const auto after = std::upper_bound(position_m.begin(), position_m.end(), position);
    const auto k = static_cast<std::size_t>(std::max<std::ptrdiff_t>(after - position_m.begin() - 1, 0));
    return std::min(k, position_m.size() - 2);
}

RunState FastestRun::at(double position) const {
    const std::size_t k = step_holding(position);
    const double length = position_m[k + 1] - position_m[k];
    const double into = std::clamp(position - position_m[k], 0.0, length);
    const double v0 = speed_ms[k] * speed_ms[k];
    const double v1 = speed_ms[k + 1] * speed_ms[k + 1];
    RunState state;
    state.speed_ms = std::sqrt(std::max(0.0, v0 + (v1 - v0) * (into / length)));
    state.limit_kmh = limit_kmh[k];
    if (into == 0) {
        state.time_s = time_s[k];
    } else if (!std::isfinite(time_s[k + 1])) {
        state.time_s = kInfinity;
    } else {
        state.time_s = time_s[k] + 2 * into / (speed_ms[k] + state.speed_ms);
    }
    return state;
}

double FastestRun::top_speed(double from, double to) const {
    double top = std::max(at(from).speed_ms, at(to).speed_ms);
    for (std::size_t k = 0; k < position_m.size(); ++k) {
        if (position_m[k] > from && position_m[k] < to) top = std::max(top, speed_ms[k]);
    }
    return top;
}

}  // namespace scenariogen
