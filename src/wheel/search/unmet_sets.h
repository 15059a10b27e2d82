// The m-sets a wheel leaves unmet, to draw from at random.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace combogen::wheel_search {

// Every unmet set, perhaps with some met since, which are dropped when drawn or when they
// outnumber the unmet ones. Sets are numbered by rank or by mask; count holds the lines meeting
// each.
class UnmetSets {
public:
    bool Empty() const { return listed_.empty(); }
    void Reset(size_t sets) {
        listed_.assign((sets + 63) / 64, 0);
        list_.clear();
    }
    // Set r has just become unmet.
    void Add(uint32_t r) {
        if (listed_[r / 64] >> (r % 64) & 1) return;
        listed_[r / 64] |= uint64_t{1} << (r % 64);
        list_.push_back(r);
    }
    // below(n): a random value in 0..n-1.
    template <class Below>
    uint32_t Draw(const std::vector<uint16_t>& count, int64_t uncovered, Below&& below) {
        if (list_.size() > static_cast<size_t>(4 * uncovered + 64)) {
            size_t n = 0;
            for (const uint32_t r : list_) {
                if (count[r] == 0)
                    list_[n++] = r;
                else
                    Unlist(r);
            }
            list_.resize(n);
        }
        for (;;) {
            const uint32_t i = below(list_.size());
            const uint32_t r = list_[i];
            if (count[r] == 0) return r;
            Unlist(r);
            list_[i] = list_.back();
            list_.pop_back();
        }
    }

    // f(r) for each set listed: every unmet one, perhaps with some met since.
    template <class F>
    void ForEachListed(F&& f) const {
        for (const uint32_t r : list_) f(r);
    }

private:
    void Unlist(uint32_t r) { listed_[r / 64] &= ~(uint64_t{1} << (r % 64)); }

    std::vector<uint64_t> listed_;  // which sets list_ holds
    std::vector<uint32_t> list_;
};

}  // namespace combogen::wheel_search
