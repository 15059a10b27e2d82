// The operating system's cryptographic random source, and a clock for when it fails.
#pragma once

#include <cstdint>
#include <span>

namespace combogen {

// Fills every byte from the system's cryptographic source; false when it could not.
bool ReadSystemRandom(std::span<uint8_t> bytes);

// The seed of the fallback fill: a fast-moving clock.
uint32_t FallbackSeed();

}  // namespace combogen
