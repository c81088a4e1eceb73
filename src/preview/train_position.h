// Where the train is at a time of day, as the page's time slider marks it:
// on the fastest run the page draws and as the timetable has it, each as a
// place along the route, a point of the plan and a point of the
// time-distance graph.
#pragma once

#include <optional>
#include <string>

#include "preview/preview_compilation.h"

namespace scenariogen {

// The time the slider spans, the time-distance graph's: seconds since
// midnight of the first departure's day.
struct SliderClock {
    double first_s = 0;
    double last_s = 0;
};

// None: the drawing has no fastest run, or fewer than two stations.
std::optional<SliderClock> slider_clock(const PreviewDrawing& drawing);

// Where the time-distance graph draws the route's metre `position_m`, down
// the page; none when the drawing has no slider clock.
std::optional<double> graph_y_of(const PreviewDrawing& drawing, double position_m);

// {"clock_s", "clock": "6:39:00", "run": PLACE or null, "timetable": PLACE
// or null}, a PLACE being {"position_m", "speed_kmh" (the run's only),
// "plan_point": {"x", "y"} or null, "graph_point": {"x", "y"}}; none when
// the drawing has no slider clock.
std::optional<std::string> train_position_json(const PreviewCompilation& compilation, const PreviewDrawing& drawing,
                                               double clock_s);

}  // namespace scenariogen
