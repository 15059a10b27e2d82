// Filling the generator from the system's cryptographic source and warming it up.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>

#include "platform/system_random.h"
#include "random/generator.h"

namespace combogen {

// The generator record laid out as one block: mm, randrsl, aa, bb, cc, lastOutput, randcnt
// and spare, little-endian.
inline constexpr std::size_t SeedImageSize = 2068;

// Fills every byte it is given; false when it could not.
using SeedSource = std::function<bool(std::span<uint8_t> bytes)>;

// Lays a seeding image over the record.
void LaySeedImage(RandomGenerator& g, std::span<const uint8_t, SeedImageSize> image);

// The fill used when the system source fails: a 32-bit linear congruential generator.
void FillFromFallback(std::span<uint8_t> bytes, uint32_t seed);

// Fills g from source (or, when it fails, from the fallback), runs one round and throws
// away the first 1,000,000 outputs. True when the bytes came from source.
bool SeedGenerator(RandomGenerator& g, const SeedSource& source);

}  // namespace combogen
