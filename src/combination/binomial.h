// How many ways there are to choose r of n numbers, for every n up to the largest pool: one
// exact table that every count of lines, draws and sets reads.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "combination/number_list.h"
#include "random/wide_draw.h"

namespace combogen {

// C(n, r), exact for 0 <= n <= MaxNumber (C(80, 40) needs 77 bits); 0 when r < 0 or r > n.
WideCount Binomial(int n, int r);

// The same, held at the top of 64 bits where it is larger.
inline uint64_t Binomial64(int n, int r) {
    return static_cast<uint64_t>(
        std::min<WideCount>(Binomial(n, r), std::numeric_limits<uint64_t>::max()));
}

}  // namespace combogen
