// The fastest run of the model between two stops: from standstill at one
// position to standstill at a later one, as fast as the limits, the
// acceleration, the braking and the gradients allow. The run is solved
// stretch by stretch in closed form: where the limit and the gradient hold,
// the train accelerates, cruises or brakes at a constant rate, so the
// square of its speed is linear in the distance, and each change of phase
// falls where two such lines meet.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "timetable/route_conditions.h"
#include "timetable/train_model.h"

namespace scenariogen {

// Why the model cannot get through.
enum class BlockageCause {
    kNoSpeed,       // the speed in force is 0 km/h
    kTooSteepUp,    // the gradient takes more than the acceleration: the train stalls
    kTooSteepDown,  // the gradient takes more than the braking: the train cannot stop in time
};

struct Blockage {
    BlockageCause cause = BlockageCause::kNoSpeed;
    double position_m = 0;  // where the train comes to a halt, or where the steep stretch begins
    int gradient_per_mille = 0;
};

// Where the run stands at a position.
struct RunState {
    double speed_ms = 0;
    double time_s = 0;     // since the start; +infinity from the blockage on
    double limit_kmh = 0;  // the speed in force over the phase that holds the position
};

// The run at the ends of its phases: the speed at each point and the time
// since leaving the first. Between two points the acceleration is constant:
// the square of the speed changes in proportion to the distance, and the
// time over the phase is 2·length / (v₀ + v₁).
struct FastestRun {
    std::vector<double> position_m;
    std::vector<double> speed_ms;
    std::vector<double> time_s;     // +infinity from the blockage on
    std::vector<double> limit_kmh;  // the speed in force over the phase that starts at each point
    std::optional<Blockage> blockage;

    double start() const { return position_m.front(); }
    double end() const { return position_m.back(); }
    // The speed, the time and the limit at a position between the start and
    // the end (the limit over the phase that follows it; at the end, the
    // phase before).
    RunState at(double position) const;
    double time_at(double position) const { return at(position).time_s; }
    // The highest speed over [from, to], m/s.
    double top_speed(double from, double to) const;

private:
    std::size_t step_holding(double position) const;
};

// The fastest run from standstill at `from` to standstill at `to` (from < to).
FastestRun fastest_run(const RouteConditions& route, const TrainModel& model, double from, double to);

}  // namespace scenariogen
