// The lines a wheel holds, for membership only: hashed, or a bit per mask where every line fits
// in 32 bits and a bitmap of 2^v bits is small, which is several times faster to ask.
#pragma once

#include <cstdint>
#include <unordered_set>
#include <vector>

#include "wheel/search/sets.h"

namespace combogen::wheel_search {

class LineSet {
public:
    bool Contains(Mask line) const {
        if (bits_.empty()) return hashed_.contains(line);
        const auto i = static_cast<uint32_t>(line);
        return bits_[i / 64] >> (i % 64) & 1;
    }
    void Insert(Mask line) {
        if (bits_.empty()) return void(hashed_.insert(line));
        Flip(line);
    }
    void Erase(Mask line) {
        if (bits_.empty()) return void(hashed_.erase(line));
        Flip(line);
    }
    // From now on a bit per mask of v numbers, holding lines.
    void UseBits(int v, const std::vector<Mask>& lines) {
        hashed_.clear();
        bits_.assign(((size_t{1} << v) + 63) / 64, 0);
        for (const Mask line : lines) Flip(line);
    }

private:
    void Flip(Mask line) {
        const auto i = static_cast<uint32_t>(line);
        bits_[i / 64] ^= uint64_t{1} << (i % 64);
    }

    std::unordered_set<Mask, MaskHash> hashed_;
    std::vector<uint64_t> bits_;  // empty: hashed_ holds the lines
};

}  // namespace combogen::wheel_search
