#include "random/generator.h"

#include <bit>

namespace combogen {

void GenerateRound(RandomGenerator& g) {
    uint32_t* const mm = g.mm;
    uint32_t* const r = g.randrsl;
    uint32_t a = g.aa;
    uint32_t b = g.bb + ++g.cc;

    // One step: mix a, then x = mm[i], a += mm[i+128], y = mm[rotr(x,2)] + a ^ b,
    // b = mm[rotr(y,10)] ^ (a + x). The table is indexed with rotated values.
#define COMBOGEN_STEP(mix, i)                                                 \
    {                                                                         \
        const uint32_t x = mm[i];                                             \
        a = ((mix) + mm[((i) + 128) & 255]);                                  \
        const uint32_t y = (mm[std::rotr(x, 2) & 255] + a) ^ b;               \
        mm[i] = y;                                                            \
        r[i] = b = mm[std::rotr(y, 10) & 255] ^ (a + x);                      \
    }
    for (unsigned i = 0; i < 256; i += 4) {
        COMBOGEN_STEP(a ^ std::rotl(a, 13), i);
        COMBOGEN_STEP(a ^ std::rotr(a, 6), i + 1);
        COMBOGEN_STEP(a ^ std::rotl(a, 2), i + 2);
        COMBOGEN_STEP(a ^ std::rotr(a, 16), i + 3);
    }
#undef COMBOGEN_STEP

    g.aa = a;
    g.bb = b;
    g.randcnt = 0;
}

void SkipWords(RandomGenerator& g, int32_t count) {
    // Same effect as count calls of StepGenerator, a round's worth at a time.
    while (count > 0) {
        if (g.randcnt > 255) GenerateRound(g);
        const int32_t available = 256 - g.randcnt;
        const int32_t taken = count < available ? count : available;
        g.randcnt = static_cast<uint16_t>(g.randcnt + taken);
        g.lastOutput = g.randrsl[g.randcnt - 1];
        count -= taken;
    }
}

}  // namespace combogen
