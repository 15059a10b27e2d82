// The first wheel: lines one at a time, each the best of a few random lines through the first
// m-set still unmet.
#include <algorithm>
#include <span>

#include "wheel/search/engine.h"

#include "combination/number_list.h"

namespace combogen::wheel_search {

bool Engine::Allowed(Mask line) const {
    if (!search_.allowed) return true;
    uint8_t s[MaxNumber];
    const int n = Elements(line, s);
    return search_.allowed(std::span<const uint8_t>(s, n));
}

int64_t Engine::Gain(Mask line) {
    int64_t gain = 0;
    ForEachCovered(line, [&](uint64_t r) { gain += count_[r] == 0; });
    return gain;
}

void Engine::AddLine(Mask line) {
    ForEachCovered(line, [&](uint64_t r) {
        if (count_[r]++ == 0) --uncovered_;
    });
    lines_.push_back(line);
    present_.Insert(line);
}

// A random line meeting the ascending m-set s in at least t numbers.
Mask Engine::RandomLineThrough(const uint8_t* s) {
    uint8_t pool[MaxNumber];
    std::copy(s, s + m_, pool);
    Mask line = 0;
    for (int i = 0; i < t_; ++i) {
        const int j = i + RandomBelow(g_, static_cast<uint16_t>(m_ - i));
        std::swap(pool[i], pool[j]);
        line |= Bit(pool[i]);
    }
    int n = 0;
    for (int x = 0; x < v_; ++x)
        if (!(line & Bit(x))) pool[n++] = static_cast<uint8_t>(x);
    for (int i = 0; i < k_ - t_; ++i) {
        const int j = i + RandomBelow(g_, static_cast<uint16_t>(n - i));
        std::swap(pool[i], pool[j]);
        line |= Bit(pool[i]);
    }
    return line;
}

// The first allowed, new line meeting s in t or more numbers, or 0 when there is none.
Mask Engine::AnyAllowedLineThrough(const uint8_t* s) {
    Mask found = 0;
    ForEachSubset(s, m_, t_, [&](const uint8_t* a) {
        if (found != 0) return;
        Mask base = 0;
        for (int i = 0; i < t_; ++i) base |= Bit(a[i]);
        uint8_t rest[MaxNumber];
        int n = 0;
        for (int x = 0; x < v_; ++x)
            if (!(base & Bit(x))) rest[n++] = static_cast<uint8_t>(x);
        ForEachSubset(rest, n, k_ - t_, [&](const uint8_t* b) {
            if (found != 0) return;
            ++steps_;
            Mask line = base;
            for (int i = 0; i < k_ - t_; ++i) line |= Bit(b[i]);
            if (!present_.Contains(line) && Allowed(line)) found = line;
        });
    });
    return found;
}

// Until every m-set that some allowed line can meet is met, or most lines.
void Engine::Greedy(size_t most) {
    const int tries = k_ == v_ ? 1 : 24;
    uint64_t next = 0;
    uint8_t s[MaxNumber];
    while (uncovered_ > hopelessCount_) {
        if (lines_.size() >= std::min<size_t>(most, UINT16_MAX)) return;  // 16-bit counts
        while (count_[next] != 0 || (hopeless_[next / 64] >> (next % 64) & 1)) ++next;
        Unrank(next, s);
        Mask best = 0;
        int64_t bestGain = -1;
        const int n = steps_ < budget_ / 4 ? tries : 1;
        for (int i = 0; i < n; ++i) {
            const Mask line = RandomLineThrough(s);
            if (present_.Contains(line) || !Allowed(line)) continue;
            const int64_t gain = Gain(line);
            if (gain > bestGain) bestGain = gain, best = line;
        }
        if (best == 0) best = AnyAllowedLineThrough(s);
        if (best == 0) {
            hopeless_[next / 64] |= uint64_t{1} << (next % 64);
            ++hopelessCount_;
            continue;
        }
        AddLine(best);
        Report();
    }
}

void Engine::ListUnmet() {
    if (byMask_) return;  // CountByMask lists them
    unmet_.Reset(sets_);
    for (uint64_t r = 0; r < sets_; ++r)
        if (count_[r] == 0 && !(hopeless_[r / 64] >> (r % 64) & 1))
            unmet_.Add(static_cast<uint32_t>(r));
    steps_ += static_cast<int64_t>(sets_);
}

}  // namespace combogen::wheel_search
