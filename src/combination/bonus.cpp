#include "combination/bonus.h"

#include <cstring>

#include "combination/pool.h"

namespace combogen {

void FillBonusPool(BonusDraw& bonus, int count, int size) {
    FillPool(bonus.pool, size);
    bonus.size = size;
    bonus.count = count;
}

void ComposeBonusLine(RandomGenerator& g, BonusDraw& bonus, bool sortOutput, std::string_view main,
                      LineText& line) {
    std::memcpy(line.chars.data(), main.data(), main.size());
    line.length = static_cast<int>(main.size());
    if (bonus.count == 0) return;
    Shuffle(g, bonus.pool, bonus.size);
    if (sortOutput) SortAscending(bonus.pool, bonus.count);
    const CombinationText extra = FormatCombination(bonus.pool, bonus.count);
    std::memcpy(line.chars.data() + line.length, " + ", 3);
    std::memcpy(line.chars.data() + line.length + 3, extra.chars.data(), extra.length);
    line.length += 3 + extra.length;
}

}  // namespace combogen
