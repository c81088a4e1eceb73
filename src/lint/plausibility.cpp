// The plausibility checks: each line's values at once, the lines against
// each other once both files are read.
#include "lint/plausibility.h"

namespace scenariogen::lint {

namespace {

bool positioned(Keyword k) {
    switch (k) {
        case Keyword::kGradient:
        case Keyword::kCurve:
        case Keyword::kMountain:
        case Keyword::kSpeedBoard:
        case Keyword::kSign:
        case Keyword::kSpeed:
        case Keyword::kAdhesion:
        case Keyword::kStation:
        case Keyword::kSlowdown:
        case Keyword::kSignal:
        case Keyword::kCodeDrop:
            return true;
        default:
            return false;
    }
}

}  // namespace

void Plausibility::line_description(const KeywordLine& l) {
    if (!l.usable) return;
    if (positioned(l.keyword())) route_.positioned.push_back(l);
    switch (l.keyword()) {
        case Keyword::kLength:
            route_.length = l;  // given twice, the later wins
            break;
        case Keyword::kProgressiveOne:
        case Keyword::kProgressiveTwo:
        case Keyword::kProgressiveThree:
            route_.progressives.push_back(l);
            break;
        case Keyword::kGradient:
            check_gradient(l, r_);
            break;
        case Keyword::kCurve:
            check_curve(l, r_);
            break;
        case Keyword::kSpeedBoard:
            route_.boards.push_back(l);
            break;
        case Keyword::kSign:
            check_sign_text(l, r_);
            break;
        default:
            break;
    }
}

void Plausibility::train_description(const KeywordLine& l) {
    if (!l.usable) return;
    if (positioned(l.keyword())) route_.positioned.push_back(l);
    switch (l.keyword()) {
        case Keyword::kSpeed:
            check_speed_limit(l, r_);
            route_.speeds.push_back(l);
            break;
        case Keyword::kAdhesion:
            check_adhesion(l, r_);
            break;
        case Keyword::kBrakedMass:
            check_braked_mass(l, r_);
            break;
        case Keyword::kCoaches:
            check_coaches(l, r_);
            break;
        case Keyword::kClock:
            route_.clock = l;
            break;
        case Keyword::kSlowdown:
            route_.slowdowns.push_back(l);
            break;
        case Keyword::kStation:
            route_.stations.push_back(l);
            break;
        default:
            break;
    }
}

void Plausibility::finish() {
    check_route_length(route_, r_);
    check_zero_limits(route_, r_);
    check_boards_against_limits(route_, r_);
    check_slowdowns_against_limits(route_, r_);
    check_slowdown_lengths(route_, r_);
    check_progressives(route_, r_);
    check_station_names(route_, r_);
    check_stops(route_, r_);
    check_clock(route_, r_);
    check_running_times(route_, r_);
}

}  // namespace scenariogen::lint
