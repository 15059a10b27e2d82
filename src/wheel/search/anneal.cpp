// Simulated annealing over wheels of one size fewer than the best found, its cost the m-sets
// unmet; each move swaps one number of a line so that it meets a random unmet set. Whenever the
// cost reaches 0 the wheel is kept and its least useful line dropped.
#include <algorithm>

#include "wheel/search/engine.h"

#include "combination/number_list.h"

namespace combogen::wheel_search {

namespace {

// Acceptance thresholds of worse moves, out of 2^32, for each temperature of the cooling cycle:
// e^(-delta/T), in integers so that every platform decides alike.
constexpr int kLevels = 48;
constexpr int kMaxDelta = 32;
struct Schedule {
    uint32_t accept[kLevels][kMaxDelta + 1];
};

uint64_t ExpNegative(uint64_t xQ16) {
    const uint64_t whole = xQ16 >> 16;
    if (whole > 40) return 0;
    const uint64_t f = (xQ16 & 0xFFFF) << 16;
    int64_t sum = int64_t{1} << 32;
    uint64_t term = uint64_t{1} << 32;
    for (int j = 1; j <= 12; ++j) {
        term = ((term * f) >> 32) / static_cast<uint64_t>(j);
        sum += (j % 2 != 0) ? -static_cast<int64_t>(term) : static_cast<int64_t>(term);
    }
    uint64_t r = static_cast<uint64_t>(sum);
    for (uint64_t i = 0; i < whole; ++i) r = (r * 1580030169u) >> 32;  // e^-1 * 2^32
    return r;
}

const Schedule& Cooling() {
    static const Schedule schedule = [] {
        Schedule s{};
        // From about 0.3, slowly down to about 0.25: a hotter start only scatters the wheel.
        uint64_t tQ16 = 20000;
        for (int l = 0; l < kLevels; ++l) {
            for (int d = 0; d <= kMaxDelta; ++d)
                s.accept[l][d] = static_cast<uint32_t>(
                    std::min<uint64_t>(ExpNegative((uint64_t(d) << 32) / tQ16), UINT32_MAX));
            tQ16 = tQ16 * 1020 / 1024;
        }
        return s;
    }();
    return schedule;
}

}  // namespace

void Engine::Anneal() {
    if (lines_.size() <= 1 || steps_ >= budget_) return;
    unmet_.Reset(sets_);
    const Schedule& cooling = Cooling();
    RemoveLine();
    int level = 0;
    int64_t moves = 0;
    int64_t found = steps_;
    const int64_t patience = std::min(budget_, DefaultWheelEffort(search_.goal)) / 2;
    while (steps_ < budget_) {
        if (uncovered_ == 0) {
            best_ = lines_;
            found = steps_;
            if (static_cast<int64_t>(lines_.size()) <= std::max<int64_t>(floor_, 1)) return;
            RemoveLine();
            continue;
        }
        // Stalled: each smaller wheel takes longer than the last, so one not found in twice
        // the work spent so far (and half the effort, counted at most at the default) is not
        // worth waiting for; a larger effort only lets a walk that still improves go on.
        if (steps_ - found > std::max(2 * found, patience)) return;
        const int64_t perLevel = static_cast<int64_t>(lines_.size()) * k_ * 8 + 256;
        if (++moves >= perLevel) {
            moves = 0;
            level = level + 1 == kLevels ? 0 : level + 1;
        }
        Report();
        Move(cooling.accept[level]);
    }
}

// One move: a random unmet m-set, a line one swap away from meeting it, that swap made when
// accept[delta] (out of 2^32) allows the change in the count of unmet sets.
void Engine::Move(const uint32_t* accept) {
    uint8_t s[MaxNumber];
    const uint64_t r = DrawUnmet();
    Unrank(r, s);
    Mask drawn = 0;
    for (int i = 0; i < m_; ++i) drawn |= Bit(s[i]);
    const uint32_t which = PickLine(s, drawn);
    const Mask line = lines_[which];
    int x = 0, y = 0;
    RandomSwapToward(line, drawn, x, y);
    const Mask next = line ^ Bit(x) ^ Bit(y);
    if (present_.Contains(next) || !Allowed(next)) return;
    int64_t delta = 0;
    ForEachSwapped(line, x, y, [&](uint64_t lost, uint64_t gained) {
        delta += (count_[lost] == 1) - (count_[gained] == 0);
    });
    if (delta > 0 && (delta > kMaxDelta || NextWord(g_) >= accept[delta])) return;
    Swap(which, x, y);
}

}  // namespace combogen::wheel_search
