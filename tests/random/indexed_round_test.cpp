#include "random/indexed_round.h"

#include <gtest/gtest.h>

#include <cstring>

#include "random/seeding.h"
#include "test_support.h"

namespace combogen {
namespace {

// Every output and the whole record against the plain round, over many rounds. The all-zero
// record makes many steps read the entry just written, where the byte table must already hold
// that entry's new index.
TEST(IndexedRoundTest, SameOutputsAndRecordAsThePlainRound) {
    RandomGenerator zero;
    std::memset(&zero, 0, sizeof zero);
    RandomGenerator seeded;
    ASSERT_TRUE(SeedGenerator(seeded, testing::ZeroSeed));
    for (const RandomGenerator& start : {zero, seeded}) {
        RandomGenerator plain = start;
        RandomGenerator indexed = start;
        EntryIndexes indexes = IndexesOf(indexed);
        for (int round = 0; round < 2000; ++round) {
            GenerateRound(plain);
            int i = 0;
            bool same = true;
            GenerateIndexedRound(indexed, indexes, [&](uint32_t output) {
                same = same && output == plain.randrsl[i++];
            });
            ASSERT_TRUE(same) << "round " << round;
        }
        EXPECT_EQ(std::memcmp(plain.mm, indexed.mm, sizeof plain.mm), 0);
        EXPECT_EQ(std::memcmp(indexes.index, IndexesOf(indexed).index, 256), 0);
        EXPECT_EQ(plain.aa, indexed.aa);
        EXPECT_EQ(plain.bb, indexed.bb);
        EXPECT_EQ(plain.cc, indexed.cc);
        EXPECT_EQ(indexed.lastOutput, plain.randrsl[255]);
    }
}

}  // namespace
}  // namespace combogen
