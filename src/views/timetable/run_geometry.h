// Where the model's run goes on a page: its speed along the route (the
// driving curve over the profile), and its time against distance beside
// the scheduled times (the time-distance graph). Page coordinates are
// millimetres from the top left corner.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "timetable/timetable_check.h"

namespace scenariogen {

struct GraphPoint {
    double x = 0;
    double y = 0;
};
using Polyline = std::vector<GraphPoint>;

// The driving curve: one polyline for every part of the run without a gap,
// through (x_of_position(m), y_of_speed(km/h)); a point closer than
// `resolution_mm` to the last one kept is left out, the ends never.
std::vector<Polyline> speed_polylines(const TimetableCheck& check, const std::function<double(double)>& x_of_position,
                                      const std::function<double(double)>& y_of_speed, double resolution_mm);

struct GraphFrame {
    double x0 = 0, y0 = 0, x1 = 0, y1 = 0;
};

// The time-distance graph's scales: time to the right, from a whole tick
// before the first departure to a whole tick after the last arrival of the
// schedule and of the run (followed at most a day past the schedule); the
// stations downward in the order of the route.
struct TimeDistanceScale {
    GraphFrame frame;
    double first_s = 0, last_s = 1;  // clock at frame.x0 and frame.x1
    double first_m = 0, last_m = 1;  // position at frame.y0 and frame.y1
    double tick_s = 60;              // between the time ticks

    double x(double clock_s) const;
    double y(double position_m) const;
    std::vector<double> ticks() const;  // the clock of every tick, first_s to last_s
};

TimeDistanceScale time_distance_scale(const TimetableCheck& check, const GraphFrame& frame);

// The run through (clock, position), one polyline for every part without a
// gap; a part that runs past the end of the time scale stops there.
std::vector<Polyline> run_polylines(const TimetableCheck& check, const TimeDistanceScale& scale, double resolution_mm);

// A scheduled time as a point of the graph.
struct ScheduledMark {
    GraphPoint at;
    std::string title;  // "LUVERA dep 6:39:00"
};

// Every scheduled arrival and departure.
std::vector<ScheduledMark> scheduled_marks(const TimetableCheck& check, const TimeDistanceScale& scale);

// Seconds since midnight as "6:39:00"; the day wraps at 24 hours.
std::string graph_clock_text(double seconds);

}  // namespace scenariogen
