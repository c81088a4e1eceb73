// The plan of the track, metre by metre. Each step continues the heading of
// the last metre; a curve step turns it by the curvature k to first order
// (the step is not renormalised). A positive k turns a heading along +y
// towards +x.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "format/grid_writer.h"
#include "format/records.h"

namespace scenariogen {

inline constexpr std::int32_t kMaxGridMetre = 1000000;

// Metres `first` to `end` - 1, each a step of curvature k (0: straight).
struct PlanStretch {
    std::int32_t first = 0;
    std::int32_t end = 0;
    double k = 0;
};

// The stretches that computed a grid's metres from metre 2 on, in order.
// The functions below lay the track into a grid and note each stretch; a
// grid sized without coordinates (x and y empty) follows the metres alone,
// and its coordinates can be computed later from the stretches, the same to
// the bit.
using PlanStretches = std::vector<PlanStretch>;

// Metres 0 and 1: the track starts at the origin heading along +y.
void start_track(Grid& g, PlanStretches& stretches);

// The curvature of a curve class 1 to 6: the change of heading per metre.
double curvature_of_class(int curve_class);

// Straight steps while the next metre is at most `last`.
void straight_until(Grid& g, PlanStretches& stretches, std::int64_t last);

// A curve of curvature k from `start` over `length` metres: straight steps
// up to metre `start`, then curve steps up to `start + length`. False when a
// step passes metre 1000000 (the caller's metres must lie within the grid).
bool curve(Grid& g, PlanStretches& stretches, std::int64_t start, std::int64_t length, double k);

// The last two metres computed, where the next step starts from.
struct TrackEnd {
    double x0 = 0, x1 = 0, y0 = 0, y1 = 1;
};

// The coordinates of the computed metres, computed from the stretches a
// piece at a time as they are asked for.
class PlanCoordinates : public CoordinateSource {
public:
    explicit PlanCoordinates(const PlanStretches& stretches) : stretches_(stretches) {}
    Piece next(std::size_t most) override;
    void put_doubles(char* x, char* y, std::size_t count) override;

private:
    static constexpr std::size_t kPiece = 4096;
    // Computes the next `count` metres, handing each to put(i, x, y).
    template <class Put>
    void compute(std::size_t count, Put put);

    const PlanStretches& stretches_;
    std::size_t stretch_ = 0;
    std::int64_t metre_ = 0;  // the next metre
    TrackEnd end_;
    double x_[kPiece] = {0, 0};
    double y_[kPiece] = {0, 1};
};

}  // namespace scenariogen
