#include "combination/draw.h"

#include <algorithm>
#include <cstring>

#include "combination/pool.h"

namespace combogen {

namespace {

// Cell v-1 holds the label of v and a blank: "01 02 03 ... 80 ", and one spare byte at the end so
// that every cell can be copied as four bytes.
constexpr std::array<char, 3 * MaxNumber + 1> Labels = [] {
    std::array<char, 3 * MaxNumber + 1> cells{};
    for (int v = 1; v <= MaxNumber; ++v) {
        cells[3 * (v - 1)] = static_cast<char>('0' + v / 10);
        cells[3 * (v - 1) + 1] = static_cast<char>('0' + v % 10);
        cells[3 * (v - 1) + 2] = ' ';
    }
    return cells;
}();

// The labels of list[0..k) joined by single blanks, 3k-1 characters from out. Each cell is copied
// as four bytes, one move: the fourth lands where the next label goes, or one past the text.
void FormatInto(const NumberList& list, int k, char* out) {
    for (int i = 0; i < k; ++i, out += 3) std::memcpy(out, &Labels[3 * (list[i] - 1)], 4);
}

// The first `fromFixed` fixed numbers, then pool entries up to k; sorted or shuffled.
CombinationText ComposeCombination(RandomGenerator& g, NumberLists& lists, int k, int fromFixed,
                                   bool sortOutput) {
    std::copy_n(lists.fixed.begin(), fromFixed, lists.combination.begin());
    std::copy_n(lists.pool.begin(), k - fromFixed, lists.combination.begin() + fromFixed);
    if (sortOutput) {
        SortAscending(lists.combination, k);
    } else {
        Shuffle(g, lists.combination, k);
    }
    return FormatCombination(lists.combination, k);
}

}  // namespace

CombinationText FormatCombination(const NumberList& list, int k) {
    CombinationText text;
    FormatInto(list, k, text.chars.data());
    text.length = k > 0 ? 3 * k - 1 : 0;
    return text;
}

CombinationText DrawPlain(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput) {
    Shuffle(g, lists.pool, lists.PoolLength);
    if (sortOutput) SortAscending(lists.pool, k);
    return FormatCombination(lists.pool, k);
}

namespace {

// The pool's shuffle as in Shuffle, one swap per output that feed hands to its argument, the
// line finished the moment its shuffle is: the pool's next line starts from the order this one
// leaves. Requires a pool of two or more.
template <class Feed>
void DrawLinesFed(NumberLists& lists, int k, bool sortOutput, PlainLines& lines, Feed&& feed) {
    const std::size_t length = static_cast<std::size_t>(lists.PoolLength);
    const std::size_t stride = static_cast<std::size_t>(3 * k - 1 + lines.endLength);
    lines.stride = static_cast<int>(stride);
    // Two bytes whatever the line end: a line feed's second byte is overwritten by the next line,
    // or lies past the text.
    const char* const end = lines.endLength == 2 ? "\r\n" : "\n\n";
    Number* const entries = lists.pool.data();
    // 64 bits wide, so that entries[n - 1] is one address with no separate subtraction.
    std::size_t n = lines.nextRange != 0 ? static_cast<std::size_t>(lines.nextRange) : length;
    char* out = lines.chars.data();
    feed([&](uint32_t output) {
        std::swap(entries[n - 1], entries[ScaleBelow(output, n)]);
        if (--n == 1) {
            if (sortOutput) SortAscending(lists.pool, k);
            FormatInto(lists.pool, k, out);
            std::memcpy(out + 3 * k - 1, end, 2);
            out += stride;
            n = length;
        }
    });
    lines.nextRange = static_cast<int>(n);
    lines.count = static_cast<int>(static_cast<std::size_t>(out - lines.chars.data()) / stride);
}

}  // namespace

void DrawPlainLines(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput,
                    PlainLines& lines) {
    if (lists.PoolLength < 2) {
        lines.stride = 3 * k - 1 + lines.endLength;
        if (sortOutput) SortAscending(lists.pool, k);
        FormatInto(lists.pool, k, lines.chars.data());
        std::memcpy(lines.chars.data() + 3 * k - 1, lines.endLength == 2 ? "\r\n" : "\n", 2);
        lines.count = 1;
        return;
    }
    DrawLinesFed(lists, k, sortOutput, lines, [&g](auto&& use) {
        if (g.randcnt > 255) {
            // The swaps and lines run alongside the round's own chain of steps.
            GenerateRoundThen<RoundOutputs::Taken>(g, use);
        } else {
            for (uint32_t i = g.randcnt; i < 256; ++i) use(g.randrsl[i]);
            g.randcnt = 256;
            g.lastOutput = g.randrsl[255];
        }
    });
}

void DrawPlainLinesFrom(const uint32_t* round, NumberLists& lists, int k, bool sortOutput,
                        PlainLines& lines) {
    DrawLinesFed(lists, k, sortOutput, lines, [round](auto&& use) {
        for (int i = 0; i < 256; ++i) use(round[i]);
    });
}

CombinationText DrawWithAllFixed(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput) {
    Shuffle(g, lists.pool, lists.PoolLength);
    return ComposeCombination(g, lists, k, lists.FixedCount, sortOutput);
}

CombinationText DrawWithSomeFixed(RandomGenerator& g, NumberLists& lists, int k, int fixedMin,
                                  int fixedMax, bool sortOutput) {
    Shuffle(g, lists.pool, lists.PoolLength);
    Shuffle(g, lists.fixed, lists.FixedCount);
    const int fromFixed = fixedMin + RandomBelow(g, static_cast<uint16_t>(fixedMax - fixedMin + 1));
    return ComposeCombination(g, lists, k, fromFixed, sortOutput);
}

}  // namespace combogen
