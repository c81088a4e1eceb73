#include "format/plan_sample.h"

#include <algorithm>
#include <cmath>
#include <utility>

#include "format/scenario_reading.h"

namespace scenariogen {

namespace {

// How many metres from 0 on hold numbers in both coordinates.
std::size_t metres_of_numbers(const Grid& grid, std::size_t computed) {
    if (all_numbers(grid.x.data(), computed) && all_numbers(grid.y.data(), computed)) return computed;
    for (std::size_t m = 0; m < computed; ++m) {
        if (!std::isfinite(grid.x[m]) || !std::isfinite(grid.y[m])) return m;
    }
    return computed;
}

}  // namespace

PlanPoint PlanSample::at(double m) const {
    if (metres.empty()) return {};
    const double metre = std::clamp(m, 0.0, static_cast<double>(last));
    const auto after = std::upper_bound(metres.begin(), metres.end(), metre,
                                        [](double v, std::int32_t kept) { return v < static_cast<double>(kept); });
    const auto i = static_cast<std::size_t>(after - metres.begin());
    if (i == 0) return {x.front(), y.front()};
    if (metres[i - 1] == metre || i == metres.size()) return {x[i - 1], y[i - 1]};
    const double t = (metre - metres[i - 1]) / (metres[i] - metres[i - 1]);
    return {x[i - 1] + (x[i] - x[i - 1]) * t, y[i - 1] + (y[i] - y[i - 1]) * t};
}

PlanSampler::PlanSampler(std::vector<std::int32_t> chosen) : chosen_(std::move(chosen)) {
    std::sort(chosen_.begin(), chosen_.end());
    chosen_.erase(std::unique(chosen_.begin(), chosen_.end()), chosen_.end());
    while (next_chosen_ < chosen_.size() && chosen_[next_chosen_] < 0) ++next_chosen_;
    const std::size_t room = 2 * kMostSampledMetres + chosen_.size() + 2;
    sample_.metres.reserve(room);
    sample_.x.reserve(room);
}

void PlanSampler::keep(std::int32_t metre, double x) {
    sample_.metres.push_back(metre);
    sample_.x.push_back(x);
}

// Keeps every other strided metre, and every chosen one.
void PlanSampler::double_the_stride() {
    sample_.stride *= 2;
    std::size_t kept = 0;
    strided_ = 0;
    for (std::size_t i = 0; i < sample_.metres.size(); ++i) {
        const std::int32_t m = sample_.metres[i];
        const bool strided = m % sample_.stride == 0;
        if (!strided && !std::binary_search(chosen_.begin(), chosen_.end(), m)) continue;
        strided_ += strided;
        sample_.metres[kept] = m;
        sample_.x[kept] = sample_.x[i];
        ++kept;
    }
    sample_.metres.resize(kept);
    sample_.x.resize(kept);
}

void PlanSampler::add_x(std::int32_t first, std::span<const double> x) {
    if (x.empty()) return;
    if (!any_x_) sample_.x_min = sample_.x_max = x[0];
    any_x_ = true;
    std::int32_t metre = first;
    for (const double v : x) {
        sample_.x_min = std::min(sample_.x_min, v);
        sample_.x_max = std::max(sample_.x_max, v);
        const bool strided = metre % sample_.stride == 0;
        const bool chosen = next_chosen_ < chosen_.size() && chosen_[next_chosen_] == metre;
        next_chosen_ += chosen;
        if (strided || chosen) {
            keep(metre, v);
            strided_ += strided;
            if (strided_ > kMostSampledMetres) double_the_stride();
        }
        ++metre;
    }
    last_.x = x.back();
}

void PlanSampler::add_y(std::int32_t first, std::span<const double> y) {
    if (y.empty()) return;
    if (!any_y_) sample_.y_min = sample_.y_max = y[0];
    any_y_ = true;
    sample_.y.resize(sample_.metres.size());
    std::int32_t metre = first;
    for (const double v : y) {
        sample_.y_min = std::min(sample_.y_min, v);
        sample_.y_max = std::max(sample_.y_max, v);
        if (next_y_ < sample_.metres.size() && sample_.metres[next_y_] == metre) sample_.y[next_y_++] = v;
        ++metre;
    }
    last_.y = y.back();
}

PlanSample PlanSampler::finish(std::int32_t computed) {
    PlanSample sample = std::move(sample_);
    if (computed <= 0) return PlanSample{};
    sample.y.resize(sample.metres.size());
    sample.last = computed - 1;
    if (sample.metres.back() != sample.last) {
        sample.metres.push_back(sample.last);
        sample.x.push_back(last_.x);
        sample.y.push_back(last_.y);
    }
    return sample;
}

PlanSample sample_plan(const Grid& grid, std::vector<std::int32_t> chosen) {
    std::size_t computed =
        std::min({static_cast<std::size_t>(std::max(grid.computed_metres, 0)), grid.x.size(), grid.y.size()});
    computed = metres_of_numbers(grid, computed);
    PlanSampler sampler(std::move(chosen));
    sampler.add_x(0, std::span<const double>(grid.x.data(), computed));
    sampler.add_y(0, std::span<const double>(grid.y.data(), computed));
    return sampler.finish(static_cast<std::int32_t>(computed));
}

}  // namespace scenariogen
