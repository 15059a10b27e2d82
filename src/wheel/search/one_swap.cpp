// "k-1 if k" (m = k = t + 1): a line meets the sets one swap from it. Swapping x out of line and
// y in loses the sets line - z + w (z not x, w not y) that no other line meets, and gains the
// unmet sets line - x - z + y + w. So a line's swaps are weighed from its table of lone sets, by
// row and column sums, and from the few sets still unmet: the same deltas as set by set, in a
// fraction of the loads.
#include "wheel/search/engine.h"

namespace combogen::wheel_search {

void Engine::OneSwapDeltas(uint32_t line, const uint8_t* outs, const uint8_t* ins,
                           const SwapGains& gained, int64_t (&delta)[2][2]) const {
    uint8_t in[32], out[32];
    const int nIn = Elements(line, in);
    const int nOut = Elements(~line & ((uint32_t{1} << v_) - 1), out);
    int columns[32], total = 0, rowOf[2] = {}, columnOf[2] = {};
    for (int b = 0; b < nOut; ++b) columns[b] = 0;
    for (int a = 0; a < nIn; ++a) {
        const uint32_t without = line ^ (uint32_t{1} << in[a]);
        int row = 0;
        for (int b = 0; b < nOut; ++b) {
            const int lone = count_[without | (uint32_t{1} << out[b])] == 1;
            row += lone;
            columns[b] += lone;
        }
        total += row;
        for (int i = 0; i < 2; ++i)
            if (in[a] == outs[i]) rowOf[i] = row;
    }
    for (int b = 0; b < nOut; ++b)
        for (int j = 0; j < 2; ++j)
            if (out[b] == ins[j]) columnOf[j] = columns[b];
    for (int i = 0; i < 2; ++i) {
        for (int j = 0; j < 2; ++j) {
            // line - x + y is one of the lone sets counted in both sums, and is not lost.
            const uint32_t swapped = line ^ (uint32_t{1} << outs[i]) ^ (uint32_t{1} << ins[j]);
            delta[i][j] = total - rowOf[i] - columnOf[j] + (count_[swapped] == 1) - gained.of[i][j];
        }
    }
}

// For each line near the drawn set (in near_, slot by slot in nearSlot_), the unmet sets
// each of its four swaps would meet: those holding k - 2 of the line's numbers, not the
// number out and the number in. The lines holding k - 2 of an unmet set are found 64 at a
// time, as NearLines finds those near the drawn set.
void Engine::OneSwapGains(uint32_t drawn) {
    for (const uint32_t unmet : unmetNow_) {
        uint8_t s[32];
        const int n = Elements(unmet, s);
        for (size_t w = 0; w < words_; ++w) {
            if (near_[w] == 0) continue;
            uint64_t match = near_[w] & LinesHolding(s, n, w, k_ - 2);
            for (; match != 0; match &= match - 1) {
                const size_t which = w * 64 + static_cast<size_t>(std::countr_zero(match));
                const auto line = static_cast<uint32_t>(lines_[which]);
                SwapGains& gains = nearGained_[nearSlot_[which]];
                // The two numbers out and the two in, lowest first, as Elements lists them.
                uint32_t outs = line & ~drawn;
                for (int i = 0; i < 2; ++i, outs &= outs - 1) {
                    if (unmet & outs & (~outs + 1)) continue;
                    uint32_t ins = drawn & ~line;
                    for (int j = 0; j < 2; ++j, ins &= ins - 1)
                        gains.of[i][j] += (unmet & ins & (~ins + 1)) != 0;
                }
            }
        }
    }
}

}  // namespace combogen::wheel_search
