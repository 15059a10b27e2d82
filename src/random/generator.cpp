#include "random/generator.h"

#include <bit>
#include <cstring>

namespace combogen {

namespace {

// mm[rotr(x, 2) & 255]. The rotation only moves bits 0 and 1 to the top, where the mask drops
// them, so the index is bits 2..9 of x and x & 0x3FC is the entry's byte offset: reading at that
// offset spares a shift in every step.
uint32_t EntryAtBits2To9(const uint32_t* mm, uint32_t x) {
    uint32_t entry;
    std::memcpy(&entry, reinterpret_cast<const unsigned char*>(mm) + (x & 0x3FCu), sizeof entry);
    return entry;
}

}  // namespace

void GenerateRound(RandomGenerator& g) {
    uint32_t* const mm = g.mm;
    uint32_t* const r = g.randrsl;
    uint32_t a = g.aa;
    uint32_t b = g.bb + ++g.cc;

    // One step: mix a, then x = mm[i], a += mm[i+128 mod 256], y = mm[rotr(x,2)] + a ^ b,
    // b = mm[rotr(y,10)] ^ (a + x). The table is indexed with rotated values. The loop runs in
    // two halves so that the partner entry mm[i+128 mod 256] is at a constant distance.
#define COMBOGEN_STEP(mix, i, partner)                       \
    {                                                        \
        const uint32_t x = mm[i];                            \
        a = ((mix) + mm[partner]);                           \
        const uint32_t y = (EntryAtBits2To9(mm, x) + a) ^ b; \
        mm[i] = y;                                           \
        r[i] = b = mm[std::rotr(y, 10) & 255] ^ (a + x);     \
    }
#define COMBOGEN_FOUR_STEPS(i, partner)                         \
    COMBOGEN_STEP(a ^ std::rotl(a, 13), (i), (partner));        \
    COMBOGEN_STEP(a ^ std::rotr(a, 6), (i) + 1, (partner) + 1); \
    COMBOGEN_STEP(a ^ std::rotl(a, 2), (i) + 2, (partner) + 2); \
    COMBOGEN_STEP(a ^ std::rotr(a, 16), (i) + 3, (partner) + 3);
    for (unsigned i = 0; i < 128; i += 4) {
        COMBOGEN_FOUR_STEPS(i, i + 128);
    }
    for (unsigned i = 128; i < 256; i += 4) {
        COMBOGEN_FOUR_STEPS(i, i - 128);
    }
#undef COMBOGEN_FOUR_STEPS
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
