// The curves of the track, found again in the plan: where the heading
// turns at a steady rate, the curve's side and radius. The plan's grid holds
// only coordinates, so the turn between two chords of the sampled track,
// spread over the metres between their middles, gives the curvature.
#pragma once

#include <vector>

#include "format/plan_sample.h"

namespace scenariogen::plotting {

struct CurveStretch {
    double from_m = 0;  // where the heading starts turning
    double to_m = 0;    // where it stops
    double radius_m = 0;
    bool right = false;  // turning clockwise, seen from above
};

// The curves of the plan between route positions 0 and `end_m`, in order.
// A turn sharper than a radius of 50 km counts; a change of rate of more
// than 2 % starts a new curve; what the sampling blurs at a curve's ends
// (a stretch shorter than two strides) joins its neighbour.
std::vector<CurveStretch> curve_stretches(const PlanSample& plan, double end_m);

}  // namespace scenariogen::plotting
