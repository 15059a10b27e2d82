// A second pool (5 of 50 plus 2 of 12): K more numbers from 1..N after a line's main numbers.
#pragma once

#include <array>
#include <string_view>

#include "combination/draw.h"

namespace combogen {

// Its order carries over from one line to the next, as the main pool's does.
struct BonusDraw {
    NumberList pool{};
    int size = 0;   // N
    int count = 0;  // K
};

void FillBonusPool(BonusDraw& bonus, int count, int size);

// A whole line: main numbers, then " + " and the bonus numbers when there are any.
struct LineText {
    std::array<char, 2 * 3 * NumberCapacity + 4> chars;
    int length = 0;
    std::string_view view() const { return {chars.data(), static_cast<std::size_t>(length)}; }
};

// line <- main, then " + " and K bonus numbers: the bonus pool shuffled in full, its first K
// taken, sorted in place when the run sorts.
void ComposeBonusLine(RandomGenerator& g, BonusDraw& bonus, bool sortOutput, std::string_view main,
                      LineText& line);

}  // namespace combogen
