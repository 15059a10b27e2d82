#include "stats/line_tally.h"

#include <algorithm>
#include <limits>

#include "combination/binomial.h"

namespace combogen {

namespace {

std::size_t TableSize(uint64_t lineCount, uint64_t hashLimit) {
    std::size_t size = 16;
    const uint64_t wanted = std::min(lineCount, hashLimit);
    while (size < 2 * wanted) size *= 2;  // at most half full
    return size;
}

// A 64-bit mix (the finalizer of SplitMix64) of both halves.
uint64_t Hash(const NumberSet& set) {
    uint64_t z = set.low ^ (set.high * 0x9E3779B97F4A7C15u);
    z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9u;
    z = (z ^ (z >> 27)) * 0x94D049BB133111EBu;
    return z ^ (z >> 31);
}

}  // namespace

DistinctLines::DistinctLines(int poolSize, int pick, uint64_t lineCount, uint64_t hashLimit)
    : binomial_(MaxNumber + 1) {
    for (int m = 0; m <= MaxNumber; ++m) {
        for (int j = 0; j <= MaxNumber; ++j) binomial_[m][j] = Binomial64(m, j);
    }
    // Whichever takes less memory; the bitmap only when every set fits it.
    const uint64_t sets = binomial_[poolSize][pick];
    const std::size_t slots = TableSize(lineCount, hashLimit);
    if (sets <= BitmapLimit && sets / 8 <= slots * sizeof(NumberSet)) {
        bits_.assign((sets + 63) / 64, 0);
    } else {
        slots_.assign(slots, NumberSet{});
    }
}

// The set's place in colexicographic order: sum over its members c_1 < c_2 < ... (counted from
// 0) of C(c_i, i).
uint64_t DistinctLines::Rank(const NumberSet& line) const {
    uint64_t rank = 0;
    int i = 1;
    for (uint64_t bits = line.low; bits != 0; bits &= bits - 1, ++i) {
        rank += binomial_[std::countr_zero(bits)][i];
    }
    for (uint64_t bits = line.high; bits != 0; bits &= bits - 1, ++i) {
        rank += binomial_[64 + std::countr_zero(bits)][i];
    }
    return rank;
}

void DistinctLines::Add(const NumberSet& line) {
    if (!bits_.empty()) {
        AddToBitmap(line);
    } else if (!overflowed_) {
        AddToTable(line);
    }
}

void DistinctLines::AddToBitmap(const NumberSet& line) {
    const uint64_t rank = Rank(line);
    uint64_t& word = bits_[rank / 64];
    const uint64_t bit = uint64_t{1} << (rank % 64);
    count_ += (word & bit) == 0;
    word |= bit;
}

void DistinctLines::AddToTable(const NumberSet& line) {
    const std::size_t mask = slots_.size() - 1;
    for (std::size_t i = Hash(line) & mask;; i = (i + 1) & mask) {
        NumberSet& slot = slots_[i];
        if (slot == line) return;
        if (slot == NumberSet{}) {
            // Half full at most; for a run of more lines than the limit, that is the limit.
            if (count_ == slots_.size() / 2) {
                overflowed_ = true;
                return;
            }
            slot = line;
            ++count_;
            return;
        }
    }
}

LineTally::LineTally(int poolSize, int pick, uint64_t lineCount)
    : distinct_(poolSize, pick, lineCount) {}

int LineTally::PairsSeen() const {
    int twice = 0;
    for (int v = 1; v <= MaxNumber; ++v) {
        NumberSet others = partners_[v];
        if (others.Contains(v)) twice += others.Size() - 1;
    }
    return twice / 2;
}

}  // namespace combogen
