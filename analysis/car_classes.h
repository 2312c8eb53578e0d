// The eight car lengths and each one's length expressed in 40-foot cars.
#pragma once

#include <array>
#include <cstdint>
#include <variant>

namespace trelvane {

// A factor remembers whether it is a whole number: a whole factor times a count is an
// exact integer product, any other is a double product.
using CarFactor = std::variant<std::int16_t, double>;

struct CarClass {
    std::int16_t index;       // 0..7, the index of the counter and its label
    std::int16_t lengthFeet;  // shown as the counter's length label, e.g. 34'
    CarFactor factor;
};

inline constexpr std::size_t kCarClassCount = 8;

inline constexpr std::array<CarClass, kCarClassCount> kCarClasses{{
    {0, 34, 0.85},
    {1, 40, std::int16_t{1}},
    {2, 50, 1.25},
    {3, 55, 1.38}, // 1.38 as published, not 55/40
    {4, 60, 1.5},
    {5, 70, 1.75},
    {6, 80, std::int16_t{2}},
    {7, 86, 2.15},
}};

// One car count per class, index 0..7, as the counters hold them.
using CarCounts = std::array<std::int32_t, kCarClassCount>;

} // namespace trelvane
