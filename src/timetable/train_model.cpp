#include "timetable/train_model.h"

namespace scenariogen {

namespace {

// The reference of brake position P: 80 % braked mass stops a train from
// 120 km/h within 1000 m.
constexpr double kReferencePercentage = 80;
constexpr double kReferenceSpeed = 120 / 3.6;  // m/s
constexpr double kReferenceDistance = 1000;    // m

}  // namespace

double braking_from_braked_mass(std::int32_t percentage) {
    if (percentage <= 0) return 0;
    const double reference_rate = kReferenceSpeed * kReferenceSpeed / (2 * kReferenceDistance);
    return percentage / kReferencePercentage * reference_rate;
}

TrainModel train_model(const TrainModelChoice& choice, std::int32_t braked_mass_percentage) {
    TrainModel model;
    model.acceleration = choice.acceleration.value_or(kDefaultAcceleration);
    if (choice.braking) {
        model.braking = *choice.braking;
    } else {
        model.braking = braking_from_braked_mass(braked_mass_percentage);
        model.braked_mass_percent = braked_mass_percentage;
    }
    model.max_speed_kmh = choice.max_speed_kmh.value_or(kDefaultMaxSpeedKmh);
    return model;
}

}  // namespace scenariogen
