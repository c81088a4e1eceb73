// What the line imposes on a train, cell by cell: the line speed limit, the
// slowdowns in force and the gradient. Cell i holds for the metres from
// 50·(i − 1) to 50·i; cell 0 and every metre outside the cells hold no track.
#pragma once

#include <cstddef>
#include <vector>

#include "format/records.h"

namespace scenariogen {

struct RouteConditions {
    // Indexed by cell; cell 0 holds no track.
    std::vector<double> limit_kmh;        // the lowest of the line limit, the slowdowns and the train's maximum
    std::vector<int> gradient_per_mille;  // positive: rising along the route

    std::size_t cell_count() const { return limit_kmh.size(); }
};

// The conditions along the route of these cells. A slowdown is in force from
// the start of its start cell to the start of its end cell; a start whose end
// cell is missing (a slowdown of no length) holds for its own cell only.
RouteConditions route_conditions(const std::vector<Cell>& cells, double max_speed_kmh);

// The cell that holds a position: the one whose metres include it; 0 (no
// track) before the route and beyond the last cell.
std::size_t cell_at(const RouteConditions& route, double position);

// The speed in force over the metres [from, to): the lowest of the line
// limit, the slowdowns and the train's maximum over every cell it touches,
// km/h; 0 where it touches no track.
double limit_over(const RouteConditions& route, double from, double to);

// The gradient at a position, per mille; 0 where there is no track.
int gradient_at(const RouteConditions& route, double position);

}  // namespace scenariogen
