#include "wheel/search/sets.h"

namespace combogen::wheel_search {

Binomials::Binomials() {
    for (int n = 0; n <= 80; ++n) {
        c[n][0] = 1;
        for (int r = 1; r <= n; ++r) {
            const uint64_t a = c[n - 1][r - 1], b = c[n - 1][r];
            c[n][r] = a > UINT64_MAX - b ? UINT64_MAX : a + b;
        }
    }
}

const Binomials& Binom() {
    static const Binomials table;
    return table;
}

}  // namespace combogen::wheel_search
