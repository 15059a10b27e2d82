#include "wheel/search/sets.h"

#include "combination/binomial.h"

namespace combogen::wheel_search {

// The search reads C(n, r) in its inner loops: a plain 64-bit copy of the one exact table.
Binomials::Binomials() {
    for (int n = 0; n <= MaxNumber; ++n) {
        for (int r = 0; r <= n; ++r) c[n][r] = Binomial64(n, r);
    }
}

const Binomials& Binom() {
    static const Binomials table;
    return table;
}

}  // namespace combogen::wheel_search
