// The train of the running-time model: a point mass that accelerates and
// brakes at constant rates, up to a maximum speed.
#pragma once

#include <cstdint>
#include <optional>

namespace scenariogen {

inline constexpr double kGravity = 9.81;     // m/s²
inline constexpr double kCellMetres = 50.0;  // the length of one route cell

inline constexpr double kDefaultAcceleration = 0.5;  // m/s², a regional multiple unit on the level
inline constexpr double kDefaultMaxSpeedKmh = 130;

struct TrainModel {
    double acceleration = kDefaultAcceleration;  // m/s² on the level, at every speed
    double braking = 0;                          // m/s² on the level
    double max_speed_kmh = kDefaultMaxSpeedKmh;
    // The braked-mass percentage that `braking` comes from; 0 when the
    // braking was chosen.
    std::int32_t braked_mass_percent = 0;
    // The speed curve is sampled every so many metres, at least 1, where the
    // speed changes (and at every station and every change of phase).
    double curve_spacing_m = 10;
};

// What the author sets on the command line; whatever is left open comes
// from the defaults and from the train description.
struct TrainModelChoice {
    std::optional<double> acceleration;
    std::optional<double> braking;
    std::optional<double> max_speed_kmh;
};

// The braking rate that a braked-mass percentage stands for, in brake
// position P: 80 % brings a train from 120 km/h to a stop within 1000 m,
// and the rate is taken in proportion to the percentage:
//   b = λ / 80 · (120 / 3.6)² / (2 · 1000) m/s²  ≈ λ · 0.00694 m/s².
// 0 for a percentage of 0 or less.
double braking_from_braked_mass(std::int32_t percentage);

// The model for a train: the choices made, the rest from the defaults; the
// braking rate from the braked-mass percentage when none is chosen.
TrainModel train_model(const TrainModelChoice& choice, std::int32_t braked_mass_percentage);

}  // namespace scenariogen
