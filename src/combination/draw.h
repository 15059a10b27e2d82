// Composing one combination at a time, and rendering it as a line of text.
#pragma once

#include <array>
#include <string_view>

#include "combination/number_list.h"
#include "random/generator.h"

namespace combogen {

// The lists a run keeps from the first line to the last; their order carries over from one
// line to the next.
struct NumberLists {
    NumberList pool{};
    int PoolLength = 0;
    NumberList fixed{};  // distinct, each in 1..80
    int FixedCount = 0;
    NumberList combination{};
};

// A line's text: up to 80 two-digit labels joined by single blanks. Held in place, so that
// drawing a line allocates nothing. The last byte is room for FormatCombination's four-byte moves.
struct CombinationText {
    std::array<char, 3 * NumberCapacity + 1> chars;
    int length = 0;
    std::string_view view() const { return {chars.data(), static_cast<std::size_t>(length)}; }
};

// How a line takes the fixed numbers.
enum class FixedForm {
    None,  // five arguments: k of 1..n
    All,   // six: every fixed number, the rest from the pool
    Some,  // eight: FixedMin..FixedMax fixed numbers, the count uniform, the rest from the pool
};

// The labels of the first k entries (each in 1..80), joined by single blanks: 3k-1 characters.
CombinationText FormatCombination(const NumberList& list, int k);

// k numbers from the pool, in shuffled order or ascending.
CombinationText DrawPlain(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput);

// The lines of a plain run, a generator round at a time: DrawPlainLines gives the lines that
// DrawPlain gives one call after another, the same text from the same stream.
struct PlainLines {
    int endLength = 2;  // the line end: 2 for carriage return and line feed, 1 for a line feed
    int count = 0;      // lines completed by the latest call
    int stride = 0;     // 3k - 1 + endLength: a line's text, then its line end
    int nextRange = 0;  // the range of the pool shuffle's next draw; 0 before the first call
    // A round completes at most 256 lines of two numbers (a pool of two): the most text it makes.
    std::array<char, 256 * 7 + 1> chars;
    // Line i's text, without its line end.
    std::string_view Line(int i) const {
        return {chars.data() + i * stride, static_cast<std::size_t>(stride - endLength)};
    }
    // The first n lines, each with its line end.
    std::string_view Ended(int n) const {
        return {chars.data(), static_cast<std::size_t>(n) * static_cast<std::size_t>(stride)};
    }
};

// Draws on with the rest of the generator's current round, or a whole new round when it is used
// up, and leaves the lines that completed meanwhile in lines (perhaps none). A line in progress
// carries over to the next call. With fewer than two pool entries no draw is needed: one line a
// call. The generator ends a call with its round used up; a new round's outputs are handed
// straight to the swaps and not kept in randrsl, which nothing reads before the next round.
void DrawPlainLines(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput,
                    PlainLines& lines);

// The same from a round's 256 outputs made elsewhere (the round the generator would run next):
// the lines that DrawPlainLines gives for that round. Requires a pool of two or more.
void DrawPlainLinesFrom(const uint32_t* round, NumberLists& lists, int k, bool sortOutput,
                        PlainLines& lines);

// Every fixed number and k - FixedCount numbers from the pool. Requires FixedCount < k.
CombinationText DrawWithAllFixed(RandomGenerator& g, NumberLists& lists, int k, bool sortOutput);

// Between fixedMin and fixedMax fixed numbers, the count drawn anew, and the rest from the
// pool. Requires 0 <= fixedMin <= fixedMax <= FixedCount, fixedMax < k and
// k - fixedMin <= PoolLength.
CombinationText DrawWithSomeFixed(RandomGenerator& g, NumberLists& lists, int k, int fixedMin,
                                  int fixedMax, bool sortOutput);

// One line as its form draws it: DrawPlain, DrawWithAllFixed or DrawWithSomeFixed. Inline, so
// that a run's line loop calls the draw itself.
inline CombinationText DrawLine(RandomGenerator& g, NumberLists& lists, FixedForm form, int k,
                                int fixedMin, int fixedMax, bool sortOutput) {
    switch (form) {
        case FixedForm::None: return DrawPlain(g, lists, k, sortOutput);
        case FixedForm::All: return DrawWithAllFixed(g, lists, k, sortOutput);
        case FixedForm::Some: break;
    }
    return DrawWithSomeFixed(g, lists, k, fixedMin, fixedMax, sortOutput);
}

// Where the numbers of the line DrawLine gave last are, in the line's order.
inline const Number* DrawnNumbers(const NumberLists& lists, FixedForm form) {
    return form == FixedForm::None ? lists.pool.data() : lists.combination.data();
}

}  // namespace combogen
