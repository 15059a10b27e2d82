#include "random/generator.h"

namespace combogen {

void GenerateRound(RandomGenerator& g) {
    GenerateRoundThen<RoundOutputs::Stored>(g, [](uint32_t) {});
}

void SkipWords(RandomGenerator& g, int32_t count) {
    // Same effect as count calls of StepGenerator, a round's worth at a time.
    while (count > 0) {
        if (g.randcnt > 255 && count > 256) {
            // A whole round skipped, and another to come: only its state matters, not its
            // outputs, which the next round overwrites.
            GenerateRoundThen<RoundOutputs::Skipped>(g, [](uint32_t) {});
            count -= 256;
            continue;
        }
        if (g.randcnt > 255) GenerateRound(g);
        const int32_t available = 256 - g.randcnt;
        const int32_t taken = count < available ? count : available;
        g.randcnt = static_cast<uint16_t>(g.randcnt + taken);
        g.lastOutput = g.randrsl[g.randcnt - 1];
        count -= taken;
    }
}

}  // namespace combogen
