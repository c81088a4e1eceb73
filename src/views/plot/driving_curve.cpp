#include "views/plot/driving_curve.h"

#include "views/plot/line_thinning.h"
#include "views/plot/profile_scale.h"
#include "views/timetable/run_geometry.h"
#include "views/timetable/timetable_report.h"

namespace scenariogen::plotting {

std::vector<PagePoint> page_line(const std::vector<GraphPoint>& points) {
    std::vector<PagePoint> line;
    for (const GraphPoint& p : points) {
        if (!line.empty() && line.back().x == p.x && line.back().y == p.y) continue;
        line.push_back({p.x, p.y});
    }
    return line;
}

std::string path_of(const std::vector<PagePoint>& line, std::vector<PagePoint>& drawn) {
    std::string d;
    for (const std::size_t i : thin_line(line)) {
        d += (d.empty() ? "M" : "L") + num(line[i].x) + " " + num(line[i].y);
        drawn.push_back(line[i]);
    }
    return d;
}

std::vector<std::vector<PagePoint>> draw_driving_curve(Svg& svg, const TimetableCheck& check,
                                                       const std::function<double(double)>& x_of_position,
                                                       const std::function<double(double)>& y_of_speed) {
    std::vector<std::vector<PagePoint>> drawn;
    std::string d;
    for (const Polyline& part : speed_polylines(check, x_of_position, y_of_speed, 0)) {
        const std::vector<PagePoint> line = framed_line(page_line(part));
        if (line.size() < 2) continue;
        drawn.emplace_back();
        d += path_of(line, drawn.back());
    }
    if (d.empty()) return drawn;
    svg.open_group("id=\"driving-curve\"", "The train's fastest run. " + model_summary(check.model));
    svg.path(d, stroke(kRunColour, 0.35) + " stroke-linejoin=\"round\"");
    svg.close_group();
    return drawn;
}

}  // namespace scenariogen::plotting
