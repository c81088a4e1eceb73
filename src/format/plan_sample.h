// What a picture needs of a plan grid of up to a million metres: the extent
// of its computed metres, and a sample of them dense enough that the chords
// between samples stay within a fraction of a metre of the track, gathered
// as the values come (from a file read in pieces, or from the records).
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <vector>

#include "format/records.h"

namespace scenariogen {

// A point of the plan in metres: x east, y north.
struct PlanPoint {
    double x = 0;
    double y = 0;
};

// The most metres a sample keeps at one stride, besides the chosen ones:
// the stride doubles whenever more would be kept. A route of a million
// metres is sampled every 16 m; a chord of 16 m departs from the tightest
// curve of a plan (radius 333 m) by less than a tenth of a metre.
inline constexpr std::size_t kMostSampledMetres = std::size_t{1} << 16;

struct PlanSample {
    std::int32_t last = -1;  // the last computed metre; -1 when none is
    std::int32_t stride = 1;
    // In order: every multiple of `stride` up to `last`, every chosen metre
    // up to it, and `last`; the coordinates of each.
    std::vector<std::int32_t> metres;
    std::vector<double> x;
    std::vector<double> y;
    // The least and the greatest coordinates of all the computed metres.
    double x_min = 0, x_max = 0, y_min = 0, y_max = 0;

    bool empty() const { return last < 0; }
    // The plan at metre m, clamped to the computed metres: a sampled metre
    // as stored, any other on the chord between the samples around it.
    PlanPoint at(double m) const;
};

// Gathers a sample from the coordinates of the computed metres: first every
// x in order, then every y in order (as a grid file holds them).
class PlanSampler {
public:
    // `chosen`: metres to keep whatever the stride (the stations).
    explicit PlanSampler(std::vector<std::int32_t> chosen);

    // The x of the metres from `first` on.
    void add_x(std::int32_t first, std::span<const double> x);
    // The y of the metres from `first` on, after every x.
    void add_y(std::int32_t first, std::span<const double> y);
    // The sample of metres 0 to computed − 1, all of whose x and y were added.
    PlanSample finish(std::int32_t computed);

private:
    void keep(std::int32_t metre, double x);
    void double_the_stride();

    std::vector<std::int32_t> chosen_;  // sorted, without repeats
    std::size_t next_chosen_ = 0;
    PlanSample sample_;
    std::size_t strided_ = 0;  // metres kept for the stride alone
    std::size_t next_y_ = 0;   // the kept metre whose y comes next
    PlanPoint last_{};         // the coordinates of the last metre added
    bool any_x_ = false;
    bool any_y_ = false;
};

// The sample of a grid held in memory, computed metre by computed metre up
// to the first whose x or y is not a number.
PlanSample sample_plan(const Grid& grid, std::vector<std::int32_t> chosen);

}  // namespace scenariogen
