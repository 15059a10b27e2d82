// A generation round that is shorter to wait for, for a thread that runs rounds and nothing
// else. Each step's second table index, rotr(y, 10) & 255, is what the next step waits for. Here
// a byte table beside mm keeps that index for every entry, (mm[j] >> 10) & 255, so the wait is
// one byte load and one xor instead of a word load, an xor, a rotation and a mask. The outputs
// and the generator's record are exactly those of GenerateRoundThen<RoundOutputs::Taken>.
#pragma once

#include <bit>
#include <cstdint>

#include "random/generator.h"

namespace combogen {

// (mm[j] >> 10) & 255 for each entry j of a generator; GenerateIndexedRound keeps it so.
struct EntryIndexes {
    uint8_t index[256];
};

inline EntryIndexes IndexesOf(const RandomGenerator& g) {
    EntryIndexes indexes;
    for (int j = 0; j < 256; ++j) indexes.index[j] = static_cast<uint8_t>(g.mm[j] >> 10);
    return indexes;
}

template <class UseOutput>
inline void GenerateIndexedRound(RandomGenerator& g, EntryIndexes& indexes, UseOutput&& use) {
    uint32_t* const mm = g.mm;
    uint8_t* const ix = indexes.index;
    uint32_t a = g.aa;
    uint32_t b = g.bb + ++g.cc;
    // As in the Taken round, b = loaded ^ sum, and y = early ^ loaded with early made first.
    // y's index is early's index ^ loaded's index, and loaded's index is ix[] of its entry.
    uint32_t loaded = b;
    uint32_t loadedIndex = (b >> 10) & 255;
    uint32_t sum = 0;
    // The index is stored as ix[i] from the same register the next load reads it from: a load
    // that meets that store then waits for nothing the load itself does not wait for.
#define COMBOGEN_STEP(mix, i, partner)                               \
    {                                                                \
        const uint32_t x = mm[i];                                    \
        a = ((mix) + mm[partner]);                                   \
        uint32_t early = (detail::EntryAtBits2To9(mm, x) + a) ^ sum; \
        detail::KeepAsWritten(early);                                \
        uint32_t earlyIndex = (early >> 10) & 255;                   \
        detail::KeepAsWritten(earlyIndex);                           \
        const uint32_t index = earlyIndex ^ loadedIndex;             \
        mm[i] = early ^ loaded;                                      \
        ix[i] = static_cast<uint8_t>(index);                         \
        loaded = mm[index];                                          \
        loadedIndex = ix[index];                                     \
        sum = a + x;                                                 \
        b = loaded ^ sum;                                            \
        use(b);                                                      \
    }
    COMBOGEN_ROUND_OF_STEPS
#undef COMBOGEN_STEP

    g.aa = a;
    g.bb = b;
    g.randcnt = 256;
    g.lastOutput = b;
}

}  // namespace combogen
