// Lines thinned to what the page can show. A line across a page of 297 mm
// needs a few thousand points at most; the records can give it a million
// (the plan's metres) or tens of thousands (the profile's cells), which
// would only make the page heavy and slow to draw.
#pragma once

#include <cstddef>
#include <span>
#include <vector>

#include "views/plot/page_layout.h"

namespace scenariogen::plotting {

// How far, in millimetres of page, a thinned line may pass from a point it
// leaves out: well under the width of the thinnest line drawn.
constexpr double kLineTolerance = 0.025;

// The most points a thinned line keeps.
constexpr std::size_t kMostLinePoints = 4000;

// The indexes, in order, of the points of a line to keep: the first, the
// last, every pinned one (`pinned` is empty or one flag for each point), and
// enough others that the line through them passes within `tolerance` of
// every point left out. One pass: each point must fit the sleeve of
// directions that keeps every point since the last one kept within reach.
std::vector<std::size_t> sleeve_thinning(std::span<const PagePoint> points, const std::vector<char>& pinned,
                                         double tolerance);

// Sleeve thinning at kLineTolerance, the tolerance doubled while more than
// kMostLinePoints points remain (more than the pinned ones).
std::vector<std::size_t> thin_line(std::span<const PagePoint> points, const std::vector<char>& pinned = {});

// For a line drawn left to right: in every column of the page `width`
// millimetres wide, only the first, the lowest, the highest and the last
// point, so that the line still covers all the height it covered there.
std::vector<std::size_t> column_envelope(std::span<const PagePoint> points, double width);

// The width of a column of the page where lines that run left to right keep
// at most four points: finer than a line's width, coarse enough that a line
// across the profile stays under kMostLinePoints.
constexpr double kColumnWidth = 0.25;

}  // namespace scenariogen::plotting
