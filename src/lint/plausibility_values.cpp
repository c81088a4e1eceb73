// One value against what any railway has: gradients, curves, sign texts,
// line limits, adhesion, braking and the train's length.
#include <array>
#include <cmath>
#include <string>

#include "lint/plausibility.h"

namespace scenariogen::lint {

namespace {

// The change of heading per metre of each curve class, and its radius.
constexpr std::array<double, 6> kCurvature{0.0001, 0.0002, 0.0004, 0.001, 0.002, 0.003};
constexpr std::array<int, 6> kRadius{10000, 5000, 2500, 1000, 500, 333};

std::string percent(std::int64_t v) { return std::to_string(v) + " %"; }

}  // namespace

void check_gradient(const KeywordLine& l, Report& r) {
    const std::int64_t g = l.number(1);
    if (g < -100 || g > 155 || std::abs(g) <= kSteepestGradient) return;  // outside the field: an error already
    r.warning(l.file, l.values[1].span, "steep-gradient",
              "a gradient of " + std::to_string(g) + " ‰ is steeper than any railway without a rack (the steepest " +
                  "reach about " + std::to_string(kSteepestGradient) +
                  " ‰); gradients are in per mille: 2.5 % is written 25");
    r.at_position(l.number(0));
}

void check_curve(const KeywordLine& l, Report& r) {
    const int curve_class = l.intent.number;
    if (curve_class < 1 || curve_class > 6) return;  // no class: an error already
    const auto index = static_cast<std::size_t>(curve_class - 1);
    const std::int64_t start = l.number(0);
    const std::int64_t length = l.number(1);
    const double degrees = kCurvature[index] * static_cast<double>(length) * 180.0 / 3.141592653589793;
    const bool looks_like_end = length > start && start > 0;
    if (degrees <= 360 && !(degrees > 180 && looks_like_end)) return;
    std::string message = "the curve turns the track by " + std::to_string(std::lround(degrees)) + "° over " +
                          metres(length) + " (class " + std::to_string(curve_class) + ", a radius of about " +
                          metres(kRadius[index]) + ")";
    if (looks_like_end) {
        message += ": the second value is the curve's length, not where it ends; a curve from " + metres(start) +
                   " to " + metres(length) + " is " + metres(length - start) + " long";
    } else {
        message += ", more than a full circle: check its length and class";
    }
    r.warning(l.file, l.values[1].span, "curve-angle", std::move(message));
    r.at_position(start);
}

void check_sign_text(const KeywordLine& l, Report& r) {
    const std::string_view text = l.values[1].text;
    if (text.size() <= kLongestSignText) return;
    r.warning(l.file, l.values[1].span, "long-name",
              "the sign text is " + std::to_string(text.size()) + " characters long: a sign board holds one to " +
                  "three short lines, " + std::to_string(kLongestSignText) + " characters at most");
}

void check_speed_limit(const KeywordLine& l, Report& r) {
    const std::int64_t v = l.number(1);
    if (v <= kFastestLimit || v > 1275) return;  // beyond 1275 km/h: an error already
    r.warning(l.file, l.values[1].span, "speed-limit",
              "a line limit of " + std::to_string(v) + " km/h is faster than any railway allows (the fastest " +
                  "lines allow about 350 km/h); limits are in km/h");
    r.at_position(l.number(0));
}

void check_adhesion(const KeywordLine& l, Report& r) {
    if (l.number(1) != 0) return;
    r.warning(l.file, l.values[1].span, "adhesion",
              "an adhesion of 0 leaves the wheels no grip from here on: the train can neither start nor brake "
              "(the generation run's line has 100)");
    r.at_position(l.number(0));
}

void check_braked_mass(const KeywordLine& l, Report& r) {
    const std::int64_t lambda = l.number(0);
    std::string message;
    if (lambda <= 0) {
        message = "a braked-mass percentage of " + percent(lambda) +
                  " gives the train no brake: it cannot stop (check runs it only with --braking)";
    } else if (lambda < kLowestBrakedMass) {
        message = "a braked-mass percentage of " + percent(lambda) +
                  " is below any train in service: freight trains run with about 50 % or more, passenger trains "
                  "with 100 % to 160 %";
    } else if (lambda > kHighestBrakedMass) {
        message = "a braked-mass percentage of " + percent(lambda) +
                  " is above any train in service: the best-braked trains reach about 200 %";
    } else {
        return;
    }
    r.warning(l.file, l.values[0].span, "braked-mass", std::move(message));
}

void check_coaches(const KeywordLine& l, Report& r) {
    const std::int64_t n = l.number(0);
    if (n <= kMostCoaches) return;
    r.warning(l.file, l.values[0].span, "coaches",
              std::to_string(n) +
                  " coaches make a train longer than any passenger train: the longest have about "
                  "25 coaches");
}

}  // namespace scenariogen::lint
