#include "wheel/search.h"

#include <algorithm>
#include <bit>
#include <unordered_set>

#include "random/wide_draw.h"

namespace combogen {
namespace {

// A set of numbers as bits: v is at most 80.
using Mask = WideCount;

inline Mask Bit(int i) { return Mask{1} << i; }

struct MaskHash {
    size_t operator()(Mask x) const {
        const uint64_t h = static_cast<uint64_t>(x) * 0x9E3779B97F4A7C15ull ^
                           static_cast<uint64_t>(x >> 64) * 0xC2B2AE3D27D4EB4Full;
        return static_cast<size_t>(h ^ (h >> 29));
    }
};

// Binomial coefficients up to 80, saturating at the top of 64 bits.
struct Binomials {
    uint64_t c[81][81] = {};
    Binomials() {
        for (int n = 0; n <= 80; ++n) {
            c[n][0] = 1;
            for (int r = 1; r <= n; ++r) {
                const uint64_t a = c[n - 1][r - 1], b = c[n - 1][r];
                c[n][r] = a > UINT64_MAX - b ? UINT64_MAX : a + b;
            }
        }
    }
};
const Binomials& Binom() {
    static const Binomials table;
    return table;
}
uint64_t Choose(int n, int r) { return r < 0 || r > n ? 0 : Binom().c[n][r]; }

// The most m-sets whose coverage counts are kept: two bytes each, 128 MiB.
constexpr uint64_t kMaxSets = uint64_t{1} << 26;

// Calls f(chosen) with each r-subset of elems[0..n) in lexicographic order; chosen ascends.
template <class F>
void ForEachSubset(const uint8_t* elems, int n, int r, F&& f) {
    if (r > n || r < 0) return;
    int idx[16];
    uint8_t chosen[16];
    for (int i = 0; i < r; ++i) idx[i] = i, chosen[i] = elems[i];
    for (;;) {
        f(static_cast<const uint8_t*>(chosen));
        int i = r - 1;
        while (i >= 0 && idx[i] == n - r + i) --i;
        if (i < 0) return;
        ++idx[i];
        chosen[i] = elems[idx[i]];
        for (int j = i + 1; j < r; ++j) idx[j] = idx[j - 1] + 1, chosen[j] = elems[idx[j]];
    }
}

int Elements(Mask x, uint8_t* out) {
    int n = 0;
    for (uint64_t w = static_cast<uint64_t>(x); w != 0; w &= w - 1)
        out[n++] = static_cast<uint8_t>(std::countr_zero(w));
    for (uint64_t w = static_cast<uint64_t>(x >> 64); w != 0; w &= w - 1)
        out[n++] = static_cast<uint8_t>(64 + std::countr_zero(w));
    return n;
}

class Engine {
public:
    Engine(const WheelSearch& search, RandomGenerator& g, int m)
        : search_(search), g_(g), v_(search.goal.v), k_(search.goal.k), t_(search.goal.t), m_(m) {
        budget_ = search.effort > 0 ? search.effort : DefaultWheelEffort(search.goal);
        sets_ = Choose(v_, m_);
        count_.assign(sets_, 0);
        uncovered_ = static_cast<int64_t>(sets_);
        hopeless_.assign((sets_ + 63) / 64, 0);
    }

    WheelFound Run() {
        Greedy();
        return Result(lines_, hopelessCount_ == 0 && uncovered_ == 0);
    }

private:
    // Colex rank of an ascending m-set.
    uint64_t Rank(const uint8_t* s) const {
        uint64_t r = 0;
        for (int i = 0; i < m_; ++i) r += Binom().c[s[i]][i + 1];
        return r;
    }
    void Unrank(uint64_t r, uint8_t* s) const {
        int c = v_ - 1;
        for (int i = m_; i >= 1; --i) {
            while (Binom().c[c][i] > r) --c;
            s[i - 1] = static_cast<uint8_t>(c);
            r -= Binom().c[c][i];
            --c;
        }
    }

    // f(rank) for each m-set meeting line in t or more numbers.
    template <class F>
    void ForEachCovered(Mask line, F&& f) {
        uint8_t in[80], out[80];
        const int nIn = Elements(line, in);
        const int nOut = Elements(~line & ((Mask{1} << v_) - 1), out);
        for (int i = t_; i <= std::min(k_, m_); ++i) {
            if (m_ - i > nOut) continue;
            ForEachSubset(in, nIn, i, [&](const uint8_t* a) {
                ForEachSubset(out, nOut, m_ - i, [&](const uint8_t* b) {
                    uint8_t s[16];
                    std::merge(a, a + i, b, b + (m_ - i), s);
                    f(Rank(s));
                });
            });
            steps_ += static_cast<int64_t>(Choose(nIn, i) * Choose(nOut, m_ - i));
        }
    }

    bool Allowed(Mask line) const {
        if (!search_.allowed) return true;
        uint8_t s[80];
        const int n = Elements(line, s);
        return search_.allowed(std::span<const uint8_t>(s, n));
    }

    int64_t Gain(Mask line) {
        int64_t gain = 0;
        ForEachCovered(line, [&](uint64_t r) { gain += count_[r] == 0; });
        return gain;
    }

    void AddLine(Mask line) {
        ForEachCovered(line, [&](uint64_t r) {
            if (count_[r]++ == 0) --uncovered_;
        });
        lines_.push_back(line);
        present_.insert(line);
    }

    // A random line meeting the ascending m-set s in at least t numbers.
    Mask RandomLineThrough(const uint8_t* s) {
        uint8_t pool[80];
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
    Mask AnyAllowedLineThrough(const uint8_t* s) {
        Mask found = 0;
        ForEachSubset(s, m_, t_, [&](const uint8_t* a) {
            if (found != 0) return;
            Mask base = 0;
            for (int i = 0; i < t_; ++i) base |= Bit(a[i]);
            uint8_t rest[80];
            int n = 0;
            for (int x = 0; x < v_; ++x)
                if (!(base & Bit(x))) rest[n++] = static_cast<uint8_t>(x);
            ForEachSubset(rest, n, k_ - t_, [&](const uint8_t* b) {
                if (found != 0) return;
                ++steps_;
                Mask line = base;
                for (int i = 0; i < k_ - t_; ++i) line |= Bit(b[i]);
                if (!present_.contains(line) && Allowed(line)) found = line;
            });
        });
        return found;
    }

    // Lines one at a time, each the best of a few random lines through the first m-set still
    // unmet, until every m-set that some allowed line can meet is met.
    void Greedy() {
        const int tries = k_ == v_ ? 1 : 24;
        uint64_t next = 0;
        uint8_t s[16];
        while (uncovered_ > hopelessCount_) {
            while (count_[next] != 0 || (hopeless_[next / 64] >> (next % 64) & 1)) ++next;
            Unrank(next, s);
            Mask best = 0;
            int64_t bestGain = -1;
            const int n = steps_ < budget_ / 4 ? tries : 1;
            for (int i = 0; i < n; ++i) {
                const Mask line = RandomLineThrough(s);
                if (present_.contains(line) || !Allowed(line)) continue;
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

    void Report() {
        if (search_.progress && steps_ >= nextReport_) {
            nextReport_ = steps_ + (int64_t{1} << 22);
            search_.progress(static_cast<int64_t>(lines_.size()), uncovered_ - hopelessCount_);
        }
    }

    WheelFound Result(const std::vector<Mask>& lines, bool covers) const {
        WheelFound found;
        found.covers = covers;
        found.steps = steps_;
        // In the order of the lines' numbers: the first differing number decides.
        std::vector<Mask> sorted = lines;
        std::sort(sorted.begin(), sorted.end(), [](Mask a, Mask b) {
            const Mask d = a ^ b;
            return (a & d & (~d + 1)) != 0;
        });
        for (const Mask line : sorted) {
            uint8_t s[80];
            const int n = Elements(line, s);
            found.lines.emplace_back(s, s + n);
        }
        return found;
    }

    const WheelSearch& search_;
    RandomGenerator& g_;
    const int v_, k_, t_, m_;
    int64_t budget_ = 0;
    int64_t steps_ = 0;
    int64_t nextReport_ = 0;
    uint64_t sets_ = 0;
    std::vector<uint16_t> count_;  // lines meeting each m-set in t or more numbers
    int64_t uncovered_ = 0;
    std::vector<uint64_t> hopeless_;  // m-sets no allowed line meets
    int64_t hopelessCount_ = 0;
    std::vector<Mask> lines_;
    std::unordered_set<Mask, MaskHash> present_;  // for membership only, never walked
};

}  // namespace

int64_t DefaultWheelEffort(const WheelGoal& goal) {
    (void)goal;
    return int64_t{400'000'000};
}

WheelFound FindWheel(const WheelSearch& search, RandomGenerator& generator) {
    const WheelGoal& goal = search.goal;
    if (goal.v < 1 || goal.v > 80 || goal.t < 1 || goal.t > goal.m || goal.m > goal.k ||
        goal.k > goal.v)
        return {};
    // Too many m-sets to count: a wheel that meets every t-set meets every m-set in t numbers.
    int m = goal.m;
    if (Choose(goal.v, m) > kMaxSets) m = goal.t;
    if (Choose(goal.v, m) > kMaxSets) return {};
    Engine engine(search, generator, m);
    return engine.Run();
}

}  // namespace combogen
