// The layout of the page, in millimetres on A4 landscape from the top left
// corner, and the colours of what is drawn on it.
#pragma once

#include "views/plot/scenario_plot.h"

namespace scenariogen::plotting {

// A rectangle of the page.
struct Box {
    double x0, y0, x1, y1;
};

constexpr double kPageWidth = 297;
constexpr double kPageHeight = 210;
constexpr double kMargin = 8;

constexpr double kTopY = 13;  // plan and legend
constexpr double kTopHeight = 60;

// The profile, from the top: the stations' names, the height panel, the
// speed panel, the gradient and curve bands, the lanes of objects and the
// distance axis.
constexpr double kProfileX0 = 37;
constexpr double kProfileX1 = 270;
constexpr double kStationBandTop = 75;
constexpr double kStationBandBottom = 101.5;
constexpr double kHeightTop = 103;
constexpr double kHeightBottom = 120;
constexpr double kSpeedTop = 122;
constexpr double kSpeedBottom = 142;
constexpr double kChartTop = kHeightTop;  // the panels together
constexpr double kChartBottom = kSpeedBottom;
constexpr double kChartPad = 1.5;  // between a panel's frame and its lines
constexpr double kGradientTop = 143.5;
constexpr double kGradientBottom = 149;
constexpr double kCurveTop = 150;
constexpr double kCurveBottom = 155.5;
constexpr double kLaneTop = 156.5;
constexpr double kLaneHeight = 4.1;
constexpr int kLanes = 6;
constexpr double kAxisY = kLaneTop + kLanes * kLaneHeight + 0.6;

constexpr const char* kFont = "DejaVu Sans, Liberation Sans, Arial, Helvetica, sans-serif";

// Colours, each paired with its own line pattern or marker and lane, so that
// a grey print keeps every kind apart.
constexpr const char* kInk = "#000";
constexpr const char* kGridLine = "#d9d9d9";
constexpr const char* kSignalColour = "#1f4e9c";
constexpr const char* kSpeedColour = "#b2182b";
constexpr const char* kBoardColour = "#8c510a";
constexpr const char* kSignColour = "#4d4d4d";
constexpr const char* kSlowdownColour = "#e66101";
constexpr const char* kCodeDropColour = "#6a3d9a";
constexpr const char* kMountainColour = "#1b7837";
constexpr const char* kProgressiveColour = "#6a3d9a";
constexpr const char* kRunColour = "#2166ac";  // the model's fastest run: solid
constexpr const char* kCurveColour = "#35978f";
constexpr const char* kRunOutColour = "#8a8a8a";  // the plan after the route's end: dashed

// The lanes of the profile, under the chart, one for each kind of object.
enum Lane { kSignalLane, kBoardLane, kSignLane, kSlowdownLane, kCodeDropLane, kMountainLane };
constexpr const char* kLaneNames[kLanes] = {"Signals",   "Speed boards", "Sign boards",
                                            "Slowdowns", "Code drops",   "Mountain"};

// The line a lane's symbols stand on.
constexpr double lane_base(int lane) { return kLaneTop + (lane + 1) * kLaneHeight - 0.5; }

}  // namespace scenariogen::plotting
