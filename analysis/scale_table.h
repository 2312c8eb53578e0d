// The six modelling scales and how many 40-foot-equivalent cars one foot of track holds in each.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string_view>

namespace trelvane {

struct ScaleEntry {
    std::int16_t index;      // 1..6, the index of the scale option in the input window
    std::string_view name;   // also the option's tag and what the report prints
    float carsPerFoot;       // single precision on purpose: it enters every product with this value
};

inline constexpr std::array<ScaleEntry, 6> kScaleTable{{
    {1, "Z", 5.0f},
    {2, "N", 3.6f},
    {3, "HO", 2.0f},
    {4, "S", 1.5f},
    {5, "O", 1.1f},
    {6, "G", 0.5f},
}};

inline constexpr std::int16_t kDefaultScaleIndex = 3; // HO

// The row with this option index, or nothing for an index outside 1..6.
std::optional<ScaleEntry> findScale(int index);

} // namespace trelvane
