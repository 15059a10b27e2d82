// The count of lines meeting each m-set, kept by rank, or by mask for few numbers, where the
// sets a change touches are found by adding masks rather than by ranking.
#include <algorithm>

#include "wheel/search/engine.h"

#include "combination/number_list.h"

namespace combogen::wheel_search {

void Engine::Unrank(uint64_t r, uint8_t* s) const {
    int c = v_ - 1;
    for (int i = m_; i >= 1; --i) {
        while (binom_[c][i] > r) --c;
        s[i - 1] = static_cast<uint8_t>(c);
        r -= binom_[c][i];
        --c;
    }
}

uint64_t Engine::RankWith(const uint8_t* s, int x) const {
    uint64_t r = 0;
    int i = 0;
    for (; i < m_ - 1 && s[i] < x; ++i) r += binom_[s[i]][i + 1];
    r += binom_[x][i + 1];
    for (; i < m_ - 1; ++i) r += binom_[s[i]][i + 2];
    return r;
}

void Engine::SubsetMasks(const uint8_t* e, int n, int r, std::vector<uint32_t>& out) {
    out.clear();
    ForEachSubset(e, n, r, [&](const uint8_t* a) {
        uint32_t mask = 0;
        for (int i = 0; i < r; ++i) mask |= uint32_t{1} << a[i];
        out.push_back(mask);
    });
}

void Engine::SwappedByMask(Mask line, int x, int y) {
    uint8_t e[MaxNumber];
    int n = Elements(line & ~Bit(x), e);
    SubsetMasks(e, n, t_ - 1, subsA_);
    n = Elements(~(line | Bit(y)) & All(), e);
    SubsetMasks(e, n, m_ - t_, subsB_);
    steps_ += static_cast<int64_t>(subsA_.size() * subsB_.size());
}

void Engine::CountByMask() {
    byMask_ = true;
    count_.assign(size_t{1} << v_, 0);
    unmet_.Reset(size_t{1} << v_);
    present_.UseBits(v_, lines_);
    for (const Mask line : lines_) ForEachCovered(line, [&](uint64_t i) { ++count_[i]; });
    uncovered_ = 0;
    // Every m-set, in increasing order of its mask: the next number with as many bits.
    for (uint32_t x = (uint32_t{1} << m_) - 1; x < (uint32_t{1} << v_);) {
        if (count_[x] == 0) {
            ++uncovered_;
            unmet_.Add(x);
        }
        const uint32_t low = x & (~x + 1), ripple = x + low;
        if (ripple == 0) break;
        x = ripple | (((x ^ ripple) >> 2) / low);
    }
    steps_ += static_cast<int64_t>(sets_);
}

size_t Engine::RemoveLine() {
    size_t worst = 0;
    int64_t least = -1;
    for (size_t i = 0; i < lines_.size(); ++i) {
        int64_t lost = 0;
        ForEachCovered(lines_[i], [&](uint64_t r) { lost += count_[r] == 1; });
        if (least < 0 || lost < least) least = lost, worst = i;
    }
    ForEachCovered(lines_[worst], [&](uint64_t r) { Unmet(r); });
    present_.Erase(lines_[worst]);
    lines_[worst] = lines_.back();
    lines_.pop_back();
    IndexHolders();
    return worst;
}

void Engine::Swap(uint32_t which, int x, int y) {
    const Mask line = lines_[which];
    if (byMask_) {
        SwappedByMask(line, x, y);
        const uint32_t bx = uint32_t{1} << x, by = uint32_t{1} << y;
        for (const uint32_t a : subsA_)
            for (const uint32_t b : subsB_) {
                Met(a | b | by);
                Unmet(a | b | bx);
            }
    } else {
        ForEachSwapped(line, x, y, [&](uint64_t lost, uint64_t gained) {
            Met(gained);
            Unmet(lost);
        });
    }
    const Mask next = line ^ Bit(x) ^ Bit(y);
    present_.Erase(line);
    present_.Insert(next);
    lines_[which] = next;
    holders_[x * words_ + which / 64] &= ~(uint64_t{1} << (which % 64));
    holders_[y * words_ + which / 64] |= uint64_t{1} << (which % 64);
}

}  // namespace combogen::wheel_search
