#include "random/seeding.h"

#include <array>

namespace combogen {

namespace {

uint32_t Word32(const uint8_t* p) {
    return uint32_t{p[0]} | uint32_t{p[1]} << 8 | uint32_t{p[2]} << 16 | uint32_t{p[3]} << 24;
}

}  // namespace

void LaySeedImage(RandomGenerator& g, std::span<const uint8_t, SeedImageSize> image) {
    const uint8_t* p = image.data();
    for (uint32_t& word : g.mm) word = Word32(p), p += 4;
    for (uint32_t& word : g.randrsl) word = Word32(p), p += 4;
    g.aa = Word32(p);
    g.bb = Word32(p + 4);
    g.cc = Word32(p + 8);
    g.lastOutput = Word32(p + 12);
    g.randcnt = static_cast<uint16_t>(p[16] | p[17] << 8);
    g.spare = static_cast<uint16_t>(p[18] | p[19] << 8);
}

void FillFromFallback(std::span<uint8_t> bytes, uint32_t seed) {
    for (uint8_t& byte : bytes) {
        seed = seed * 134775813u + 1;
        byte = static_cast<uint8_t>(seed >> 24);
    }
}

bool SeedGenerator(RandomGenerator& g, const SeedSource& source) {
    std::array<uint8_t, SeedImageSize> image{};
    const bool fromSource = source(image);
    if (!fromSource) FillFromFallback(image, FallbackSeed());
    LaySeedImage(g, image);
    GenerateRound(g);
    SkipWords(g, 1000000);
    return fromSource;
}

}  // namespace combogen
