// Which lines hold which numbers, as bits over the lines, so that the lines near a drawn set
// are found 64 at a time.
#include <algorithm>

#include "wheel/search/engine.h"

#include "combination/number_list.h"

namespace combogen::wheel_search {

void Engine::IndexHolders() {
    words_ = (lines_.size() + 63) / 64;
    holders_.assign(static_cast<size_t>(v_) * words_, 0);
    for (size_t i = 0; i < lines_.size(); ++i) {
        uint8_t e[MaxNumber];
        const int n = Elements(lines_[i], e);
        for (int j = 0; j < n; ++j) holders_[e[j] * words_ + i / 64] |= uint64_t{1} << (i % 64);
    }
}

uint32_t Engine::NearLines(const uint8_t* s, Mask drawn) {
    const size_t b = lines_.size();
    uint32_t total = 0;
    near_.resize(words_);
    for (size_t w = 0; w < words_; ++w) {
        uint64_t match = 0;
        if (m_ <= 15) {
            match = LinesHolding(s, m_, w, t_ - 1);
        } else {
            for (size_t i = w * 64; i < std::min(b, w * 64 + 64); ++i)
                if (PopCount(lines_[i] & drawn) == t_ - 1) match |= uint64_t{1} << (i % 64);
        }
        if (w + 1 == words_ && b % 64 != 0) match &= (uint64_t{1} << (b % 64)) - 1;
        near_[w] = match;
        total += static_cast<uint32_t>(std::popcount(match));
    }
    steps_ += static_cast<int64_t>(words_);
    return total;
}

uint32_t Engine::PickLine(const uint8_t* s, Mask drawn) {
    const uint32_t total = NearLines(s, drawn);
    if (total == 0) return Below(lines_.size());
    uint32_t pick = Below(total);
    for (size_t w = 0;; ++w) {
        const uint32_t here = static_cast<uint32_t>(std::popcount(near_[w]));
        if (pick >= here) {
            pick -= here;
            continue;
        }
        uint64_t match = near_[w];
        for (; pick > 0; --pick) match &= match - 1;
        return static_cast<uint32_t>(w * 64 + std::countr_zero(match));
    }
}

}  // namespace combogen::wheel_search
