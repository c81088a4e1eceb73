#include "preview/train_position.h"

#include <nlohmann/json.hpp>

#include "timetable/train_place.h"
#include "views/plot/page_layout.h"
#include "views/plot/time_distance_graph.h"

namespace scenariogen {

namespace {

using nlohmann::json;

json point_json(double x, double y) { return {{"x", x}, {"y", y}}; }

json place_json(const PreviewCompilation& compilation, const PreviewDrawing& drawing, const TimeDistanceScale& scale,
                double clock_s, double position_m) {
    const std::optional<PagePoint> plan = plan_point_of(compilation, drawing, position_m);
    return {{"position_m", position_m},
            {"plan_point", plan ? point_json(plan->x, plan->y) : json()},
            {"graph_point", point_json(scale.x(clock_s), scale.y(position_m))}};
}

// The graph as the page draws it: on the second page, below the first.
std::optional<TimeDistanceScale> drawn_graph_scale(const PreviewDrawing& drawing) {
    const std::optional<TimetableCheck>& run = drawing.plot.timetable;
    if (!run || run->stations.size() < 2 || drawing.plot.pages < 2) return std::nullopt;
    return plotting::graph_scale(*run, plotting::kPageHeight);
}

}  // namespace

std::optional<SliderClock> slider_clock(const PreviewDrawing& drawing) {
    const std::optional<TimeDistanceScale> scale = drawn_graph_scale(drawing);
    if (!scale) return std::nullopt;
    return SliderClock{scale->first_s, scale->last_s};
}

std::optional<double> graph_y_of(const PreviewDrawing& drawing, double position_m) {
    const std::optional<TimeDistanceScale> scale = drawn_graph_scale(drawing);
    if (!scale) return std::nullopt;
    return scale->y(position_m);
}

std::optional<std::string> train_position_json(const PreviewCompilation& compilation, const PreviewDrawing& drawing,
                                               double clock_s) {
    const std::optional<TimeDistanceScale> scale = drawn_graph_scale(drawing);
    if (!scale) return std::nullopt;
    const TrainPlace place = train_place_at(*drawing.plot.timetable, clock_s);
    json out{{"clock_s", clock_s}, {"clock", graph_clock_text(clock_s)}, {"run", nullptr}, {"timetable", nullptr}};
    if (place.run_m) {
        out["run"] = place_json(compilation, drawing, *scale, clock_s, *place.run_m);
        out["run"]["speed_kmh"] = place.run_speed_kmh;
    }
    if (place.scheduled_m) out["timetable"] = place_json(compilation, drawing, *scale, clock_s, *place.scheduled_m);
    return out.dump();
}

}  // namespace scenariogen
