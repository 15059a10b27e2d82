#include "combination/binomial.h"

#include <array>

namespace combogen {

WideCount Binomial(int n, int r) {
    // Filled on first use, not computed by the compiler: as a constant the table is 105 KB of
    // the program's data, a fifth of the web page's download.
    static std::array<std::array<WideCount, MaxNumber + 1>, MaxNumber + 1> table{};
    static const bool filled = [] {
        for (int i = 0; i <= MaxNumber; ++i) {
            table[i][0] = 1;
            for (int j = 1; j <= i; ++j) {
                table[i][j] = table[i - 1][j - 1] + (j < i ? table[i - 1][j] : 0);
            }
        }
        return true;
    }();
    (void)filled;
    return r < 0 || n < 0 || r > n || n > MaxNumber ? 0 : table[n][r];
}

}  // namespace combogen
