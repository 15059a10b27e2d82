#include "combination/pool.h"

#include <algorithm>
#include <utility>

namespace combogen {

void FillPool(NumberList& pool, int n) {
    for (int i = 0; i < n; ++i) pool[i] = static_cast<Number>(i + 1);
}

int BuildPool(NumberList& pool, const NumberList& fixed, int fixedCount, int n) {
    bool isFixed[256] = {};
    for (int i = 0; i < fixedCount; ++i) isFixed[fixed[i]] = true;
    int length = 0;
    for (int v = 1; v <= n; ++v) {
        if (!isFixed[v]) pool[length++] = static_cast<Number>(v);
    }
    return length;
}

void Shuffle(RandomGenerator& g, NumberList& list, int length) {
    for (int n = length; n >= 2; --n) {
        std::swap(list[n - 1], list[RandomBelow(g, static_cast<uint16_t>(n))]);
    }
}

void SortAscending(NumberList& list, int length) { std::sort(list.begin(), list.begin() + length); }

}  // namespace combogen
