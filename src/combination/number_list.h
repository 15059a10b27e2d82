// Fixed-size lists of numbers: the pool, the fixed list and the buffers of a run.
#pragma once

#include <array>
#include <cstdint>

namespace combogen {

// 1..80 are the values that can be drawn and rendered.
using Number = uint8_t;

inline constexpr int MaxNumber = 80;
inline constexpr int NumberCapacity = 80;

// Its length is kept beside it by its owner.
using NumberList = std::array<Number, NumberCapacity>;

}  // namespace combogen
