#pragma once
// What a running optimal search knows, in words, for a progress line:
// "searching 18 moves… (17 ruled out, 1.2 G positions, 14 s)".

#include "OptimalSolver.h"

#include <cstdint>
#include <string>

namespace optimal {

// A count with a unit prefix: 950, 12 k, 1.2 M, 3.4 G (one decimal below ten).
std::string ShortCount(std::uint64_t n);
// A time: "14 s", "3 min 20 s", "2 h 5 min".
std::string ShortDuration(double dSeconds);
// The progress line (UTF-8) for a search that has run for dSeconds.
std::string ProgressText(const OptimalProgress& progress, double dSeconds);

} // namespace optimal
