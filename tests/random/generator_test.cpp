#include "random/generator.h"

#include <gtest/gtest.h>

#include <array>
#include <cstring>

#include "random/seeding.h"
#include "test_support.h"

namespace combogen {
namespace {

RandomGenerator AllZero() {
    RandomGenerator g;
    std::memset(&g, 0, sizeof g);
    return g;
}

TEST(GeneratorTest, OneRoundFromAnAllZeroRecord) {
    RandomGenerator g = AllZero();
    GenerateRound(g);
    EXPECT_EQ(g.aa, 0u);
    EXPECT_EQ(g.bb, 1u);
    EXPECT_EQ(g.cc, 1u);
    EXPECT_EQ(g.randcnt, 0);
    for (int i = 0; i < 128; ++i) ASSERT_EQ(g.randrsl[i], 1u) << "entry " << i;
    const std::array<uint32_t, 8> next = {0x00000000, 0x04000000, 0x14000004, 0x14051405,
                                          0xB685B685, 0xB685B6BA, 0x21212121, 0x00000000};
    for (int i = 0; i < 8; ++i) EXPECT_EQ(g.randrsl[128 + i], next[i]) << "entry " << 128 + i;

    // Outputs 257..264 open the second round, which runs only when the first is used up.
    SkipWords(g, 256);
    EXPECT_EQ(g.cc, 1u);
    const std::array<uint32_t, 8> second = {0x00000003, 0x10000002, 0x60000010, 0x601C7419,
                                            0x911FFA9D, 0xFE359C5C, 0x9E8884C7, 0x3B703B6F};
    for (const uint32_t expected : second) EXPECT_EQ(NextWord(g), expected);
    EXPECT_EQ(g.cc, 2u);
}

TEST(GeneratorTest, FirstOutputsOfAnIdentityTable) {
    RandomGenerator g = AllZero();
    for (uint32_t i = 0; i < 256; ++i) g.mm[i] = i;
    g.randcnt = 256;  // a round is due before the first read
    const std::array<uint32_t, 8> expected = {0x00000001, 0x00000185, 0x00000416, 0x05910657,
                                              0x2553878D, 0x8DC6C993, 0xBADDEF2F, 0x5506557A};
    for (const uint32_t word : expected) EXPECT_EQ(NextWord(g), word);
}

TEST(GeneratorTest, SeedingFromZeroBytes) {
    RandomGenerator g;
    EXPECT_TRUE(SeedGenerator(g, testing::ZeroSeed));
    EXPECT_EQ(g.cc, 3907u);
    EXPECT_EQ(g.randcnt, 64);
    const std::array<uint32_t, 9> expected = {0x7B15AC75, 0xA0E9D0B2, 0xFE41C8B7,
                                              0x2152AE90, 0x41C5B1D1, 0x441F92A0,
                                              0x95542AD4, 0x039967A3, 0x7DE1B301};
    for (const uint32_t word : expected) EXPECT_EQ(NextWord(g), word);
}

TEST(GeneratorTest, SeedingImageLayout) {
    // Every field at its place in the 2068-byte image, little-endian.
    std::array<uint8_t, SeedImageSize> image{};
    for (std::size_t i = 0; i < image.size(); ++i) image[i] = static_cast<uint8_t>(i * 7 + 3);
    RandomGenerator g;
    LaySeedImage(g, image);
    auto word = [&](std::size_t at) {
        return uint32_t{image[at]} | uint32_t{image[at + 1]} << 8 | uint32_t{image[at + 2]} << 16 |
               uint32_t{image[at + 3]} << 24;
    };
    EXPECT_EQ(g.mm[0], word(0));
    EXPECT_EQ(g.mm[255], word(1020));
    EXPECT_EQ(g.randrsl[0], word(1024));
    EXPECT_EQ(g.randrsl[255], word(2044));
    EXPECT_EQ(g.aa, word(2048));
    EXPECT_EQ(g.bb, word(2052));
    EXPECT_EQ(g.cc, word(2056));
    EXPECT_EQ(g.lastOutput, word(2060));
    EXPECT_EQ(g.randcnt, image[2064] | image[2065] << 8);
    EXPECT_EQ(g.spare, image[2066] | image[2067] << 8);
}

TEST(GeneratorTest, FailingSourceFallsBackAndSaysSo) {
    RandomGenerator g;
    EXPECT_FALSE(SeedGenerator(g, [](std::span<uint8_t>) { return false; }));
    EXPECT_EQ(g.randcnt, 64);  // still warmed up and usable

    std::array<uint8_t, 4> bytes{};
    FillFromFallback(bytes, 0);
    // seed 1, then 1 * 134775813 + 1, ...; each byte is seed >> 24.
    EXPECT_EQ(bytes, (std::array<uint8_t, 4>{0x00, 0x08, 0xDC, 0x33}));
}

TEST(GeneratorTest, SkipWordsMatchesSteppingOneByOne) {
    for (const int32_t count : {-5, 0, 1, 191, 192, 193, 256, 1000, 70000}) {
        RandomGenerator skipped = testing::ZeroSeededGenerator();
        RandomGenerator stepped = skipped;
        SkipWords(skipped, count);
        for (int32_t i = 0; i < count; ++i) StepGenerator(stepped);
        EXPECT_EQ(std::memcmp(&skipped, &stepped, sizeof skipped), 0) << "count " << count;
    }
}

TEST(GeneratorTest, SkipWordsOverWholeRoundsToARoundsEnd) {
    // Rounds skipped whole keep no outputs; the last round of a skip must keep its own.
    for (const int32_t count : {448, 704}) {  // 192 left in the seeded round, then 1 or 2 rounds
        RandomGenerator skipped = testing::ZeroSeededGenerator();
        RandomGenerator stepped = skipped;
        SkipWords(skipped, count);
        for (int32_t i = 0; i < count; ++i) StepGenerator(stepped);
        EXPECT_EQ(std::memcmp(&skipped, &stepped, sizeof skipped), 0) << "count " << count;
    }
}

TEST(RandomBelowTest, ScalesAnOutputIntoTheRange) {
    struct Case {
        uint32_t v;
        uint16_t n80, n49, n10, n2;
    };
    const Case cases[] = {
        {0x00000000, 0, 0, 0, 0},   {0x03333333, 0, 0, 0, 0},   {0x03333334, 1, 0, 0, 0},
        {0x12345678, 5, 3, 0, 0},   {0x7FFFFFFF, 39, 24, 4, 0}, {0x80000000, 40, 24, 5, 1},
        {0xDEADBEEF, 69, 42, 8, 1}, {0xFFFFFFFF, 79, 48, 9, 1},
    };
    auto below = [](uint32_t v, uint16_t n) {
        RandomGenerator g = AllZero();
        g.randrsl[0] = v;
        const uint16_t result = RandomBelow(g, n);
        EXPECT_EQ(g.randcnt, 1) << "exactly one output is used";
        return result;
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(::testing::Message() << std::hex << "v = 0x" << c.v);
        EXPECT_EQ(below(c.v, 80), c.n80);
        EXPECT_EQ(below(c.v, 49), c.n49);
        EXPECT_EQ(below(c.v, 10), c.n10);
        EXPECT_EQ(below(c.v, 2), c.n2);
        EXPECT_EQ(below(c.v, 1), 0);
        EXPECT_EQ(below(c.v, 0), 0);
    }
}

TEST(RandomBelowTest, OneProductEqualsTheSixteenBitHalves) {
    // The bounded draw is defined in 16-bit halves; ScaleBelow takes the 64-bit product's top.
    uint32_t v = 0x9E3779B9;
    for (uint32_t n = 0; n <= 0xFFFF; ++n) {
        for (const uint32_t word : {0u, 0xFFFFu, 0x10000u, 0x7FFFFFFFu, 0xFFFFFFFFu, v}) {
            const uint32_t halves = ((word >> 16) * n + (((word & 0xFFFF) * n) >> 16)) >> 16;
            ASSERT_EQ(ScaleBelow(word, n), halves)
                << std::hex << "v = 0x" << word << ", n = 0x" << n;
        }
        v = v * 1664525u + 1013904223u;
    }
}

}  // namespace
}  // namespace combogen
