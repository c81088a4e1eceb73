// A synthetic route of the largest length the format allows (1000000 m),
// dense with every kind of object, that compiles without a fault. The
// benchmarks and the tests use it as the heaviest realistic input.
#pragma once

#include <string>

namespace scenariogen {

inline constexpr int kLunghezzaGrande = 1000000;

std::string largest_line_description();
std::string largest_train_description();

}  // namespace scenariogen
