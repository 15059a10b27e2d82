// The three draws for any settings the run's checks admit and any seeding image; and Shuffle
// and SortAscending against their one-step-at-a-time definitions, from any generator state.
// Input: six bytes of settings (PoolSize, PickCount, sorting, FixedMin, FixedMax, the count of
// fixed numbers), that many fixed numbers, then the 2068-byte image (cut or padded with zeros).
#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

#include "cli/fixed_run.h"
#include "combination/draw.h"
#include "combination/pool.h"
#include "random/seeding.h"

namespace {

using namespace combogen;

constexpr int LinesPerMode = 3;
static_assert(sizeof(RandomGenerator) == SeedImageSize);

// The bounded draw as defined, in 32-bit halves, one output per draw.
int ReferenceBelow(RandomGenerator& g, uint32_t n) {
    const uint32_t v = NextWord(g);
    return static_cast<int>(((v >> 16) * n + (((v & 0xFFFFu) * n) >> 16)) >> 16);
}

// The list, its order and the generator's whole state must come out as the definitions give
// them: these carry over from line to line and make a run reproducible.
void CheckReorderings(const RandomGenerator& start, const NumberList& entries, int length) {
    RandomGenerator g = start;
    RandomGenerator reference = start;
    NumberList list = entries;
    NumberList expected = entries;
    Shuffle(g, list, length);
    for (int n = length; n >= 2; --n) {
        std::swap(expected[n - 1], expected[ReferenceBelow(reference, n)]);
    }
    if (list != expected || std::memcmp(&g, &reference, sizeof g) != 0) std::abort();

    SortAscending(list, length);
    std::sort(expected.begin(), expected.begin() + length);
    if (list != expected) std::abort();
}

// The line must hold k distinct numbers within 1..n, ascending when sorted; returns how many
// of them are fixed.
int CheckLine(const CombinationText& text, int k, int n, bool sorted, const NumberLists& lists) {
    if (text.length != 3 * k - 1) std::abort();
    bool seen[MaxNumber + 1] = {};
    int previous = 0;
    int fixedSeen = 0;
    for (int i = 0; i < k; ++i) {
        const char tens = text.chars[3 * i];
        const char ones = text.chars[3 * i + 1];
        if (tens < '0' || tens > '9' || ones < '0' || ones > '9') std::abort();
        if (i + 1 < k && text.chars[3 * i + 2] != ' ') std::abort();
        const int value = (tens - '0') * 10 + (ones - '0');
        if (value < 1 || value > n || seen[value]) std::abort();
        if (sorted && value < previous) std::abort();
        seen[value] = true;
        previous = value;
    }
    for (int i = 0; i < lists.FixedCount; ++i) fixedSeen += seen[lists.fixed[i]] ? 1 : 0;
    return fixedSeen;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    if (size < 6) return 0;
    RunSettings settings;
    settings.PoolSize = 1 + data[0] % MaxNumber;
    settings.PickCount = 1 + data[1] % settings.PoolSize;
    settings.SortOutput = (data[2] & 1) != 0;
    const int fixedMin = data[3] % settings.PickCount;
    const int fixedMax = fixedMin + data[4] % (settings.PickCount - fixedMin);
    const std::size_t fixedGiven = std::min<std::size_t>(data[5], size - 6);
    std::string fixedLine;
    for (std::size_t i = 0; i < fixedGiven; ++i) fixedLine += std::to_string(data[6 + i]) + ' ';

    std::array<uint8_t, SeedImageSize> image{};
    const std::size_t imageGiven = std::min(size - 6 - fixedGiven, SeedImageSize);
    std::copy_n(data + 6 + fixedGiven, imageGiven, image.begin());
    RandomGenerator seeded;
    LaySeedImage(seeded, image);
    // Straight from the image the read position may sit anywhere, also past the round's end.
    NumberList entries{};
    std::copy_n(image.begin(), NumberCapacity, entries.begin());
    for (const int length : {0, 1, 2, static_cast<int>(data[1] % 81), NumberCapacity}) {
        CheckReorderings(seeded, entries, length);
    }
    GenerateRound(seeded);

    const int k = settings.PickCount;
    const int n = settings.PoolSize;
    const bool sorted = settings.SortOutput;
    for (const int argCount : {5, 6, 8}) {
        settings.FixedMin = argCount == 8 ? fixedMin : 0;
        settings.FixedMax = argCount == 8 ? fixedMax : 0;
        NumberLists lists;
        if (argCount == 5) {
            FillPool(lists.pool, n);
            lists.PoolLength = n;
        } else if (!PrepareFixedRun(fixedLine, settings, argCount == 6, lists)) {
            continue;
        }
        RandomGenerator g = seeded;
        for (int line = 0; line < LinesPerMode; ++line) {
            if (argCount == 5) {
                CheckLine(DrawPlain(g, lists, k, sorted), k, n, sorted, lists);
            } else if (argCount == 6) {
                const CombinationText text = DrawWithAllFixed(g, lists, k, sorted);
                if (CheckLine(text, k, n, sorted, lists) != lists.FixedCount) std::abort();
            } else {
                const CombinationText text =
                    DrawWithSomeFixed(g, lists, k, fixedMin, fixedMax, sorted);
                const int fixedSeen = CheckLine(text, k, n, sorted, lists);
                if (fixedSeen < fixedMin || fixedSeen > fixedMax) std::abort();
            }
        }
    }
    return 0;
}
