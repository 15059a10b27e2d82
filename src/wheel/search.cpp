#include "wheel/search.h"

#include <algorithm>
#include <array>
#include <bit>
#include <unordered_set>

#include "random/wide_draw.h"
#include "wheel/bounds.h"
#include "wheel/golay_designs.h"

namespace combogen {
namespace {

// A set of numbers as bits: v is at most 80.
using Mask = WideCount;

inline Mask Bit(int i) { return Mask{1} << i; }
inline int PopCount(Mask x) {
    return std::popcount(static_cast<uint64_t>(x)) + std::popcount(static_cast<uint64_t>(x >> 64));
}

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
// Beyond this many m-sets, a wheel that splits into groups is built from the groups' wheels.
constexpr uint64_t kSplitSets = uint64_t{1} << 22;

// Calls f(chosen) with each r-subset of elems[0..n) in lexicographic order; chosen ascends.
template <class F>
void ForEachSubset(const uint8_t* elems, int n, int r, F&& f) {
    if (r > n || r < 0) return;
    int idx[80];
    uint8_t chosen[80];
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

// The m-sets left unmet, to draw from at random: every unmet set, perhaps with some met since,
// which are dropped when drawn or when they outnumber the unmet ones. Sets are numbered by
// rank or by mask; count holds the lines meeting each.
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

class Engine {
public:
    Engine(const WheelSearch& search, RandomGenerator& g, int m)
        : search_(search), g_(g), v_(search.goal.v), k_(search.goal.k), t_(search.goal.t), m_(m) {
        budget_ = search.effort > 0 ? search.effort : DefaultWheelEffort(search.goal);
        floor_ = WheelLowerBound(search.goal).lines;
        sets_ = Choose(v_, m_);
        count_.assign(sets_, 0);
        uncovered_ = static_cast<int64_t>(sets_);
        hopeless_.assign((sets_ + 63) / 64, 0);
    }

    WheelFound Run() {
        Greedy();
        const bool covers = uncovered_ == 0;
        if (!covers) return Result(lines_, false);
        best_ = lines_;
        Anneal();
        if (search_.lines >= std::max<int64_t>(floor_, 1) &&
            static_cast<int64_t>(best_.size()) > search_.lines)
            Refine(RefineBudget());
        return Result(best_, true);
    }

private:
    // Colex rank of an ascending m-set.
    uint64_t Rank(const uint8_t* s) const {
        uint64_t r = 0;
        for (int i = 0; i < m_; ++i) r += binom_[s[i]][i + 1];
        return r;
    }
    void Unrank(uint64_t r, uint8_t* s) const {
        int c = v_ - 1;
        for (int i = m_; i >= 1; --i) {
            while (binom_[c][i] > r) --c;
            s[i - 1] = static_cast<uint8_t>(c);
            r -= binom_[c][i];
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
                    uint8_t s[80];
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
        uint8_t s[80];
        while (uncovered_ > hopelessCount_) {
            if (lines_.size() >= UINT16_MAX) return;  // the counts would overflow
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

    // f(lost, gained) for each m-set that line meets in t or more numbers but not once x in it
    // is replaced by y (lost), each paired with the one the new line meets and the old does not.
    template <class F>
    void ForEachSwapped(Mask line, int x, int y, F&& f) {
        uint8_t in[80], out[80];
        const int nIn = Elements(line & ~Bit(x), in);
        const int nOut = Elements(~(line | Bit(y)) & ((Mask{1} << v_) - 1), out);
        ForEachSubset(in, nIn, t_ - 1, [&](const uint8_t* a) {
            ForEachSubset(out, nOut, m_ - t_, [&](const uint8_t* b) {
                uint8_t s[80];
                std::merge(a, a + t_ - 1, b, b + (m_ - t_), s);
                f(RankWith(s, x), RankWith(s, y));
            });
        });
        steps_ += static_cast<int64_t>(Choose(nIn, t_ - 1) * Choose(nOut, m_ - t_));
    }

    // The rank of the ascending (m-1)-set s with x put in.
    uint64_t RankWith(const uint8_t* s, int x) const {
        uint64_t r = 0;
        int i = 0;
        for (; i < m_ - 1 && s[i] < x; ++i) r += binom_[s[i]][i + 1];
        r += binom_[x][i + 1];
        for (; i < m_ - 1; ++i) r += binom_[s[i]][i + 2];
        return r;
    }

    // A value in 0..n-1 for n below 2^32.
    uint32_t Below(uint64_t n) { return static_cast<uint32_t>((NextWord(g_) * n) >> 32); }

    void Unmet(uint64_t r) {
        --count_[r];
        if (count_[r] != 0) return;
        ++uncovered_;
        unmet_.Add(static_cast<uint32_t>(r));
    }
    void Met(uint64_t r) {
        if (count_[r]++ == 0) --uncovered_;
    }

    // A random m-set still unmet.
    uint64_t DrawUnmet() {
        return unmet_.Draw(count_, uncovered_, [this](size_t n) { return Below(n); });
    }

    // Which lines hold each number, as bits over the lines, words_ words a number.
    void IndexHolders() {
        words_ = (lines_.size() + 63) / 64;
        holders_.assign(static_cast<size_t>(v_) * words_, 0);
        for (size_t i = 0; i < lines_.size(); ++i) {
            uint8_t e[80];
            const int n = Elements(lines_[i], e);
            for (int j = 0; j < n; ++j) holders_[e[j] * words_ + i / 64] |= uint64_t{1} << (i % 64);
        }
    }

    // A random line one swap away from meeting the unmet set s (t - 1 numbers in common), or
    // any line when there is none.
    uint32_t PickLine(const uint8_t* s, Mask drawn) {
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

    // Of the lines w * 64 .. w * 64 + 63, those holding exactly `want` of s[0..n) (n at most
    // 15), as bits: the lines' counts added up in four bit planes, 64 lines at a time.
    uint64_t LinesHolding(const uint8_t* s, int n, size_t w, int want) const {
        uint64_t c0 = 0, c1 = 0, c2 = 0, c3 = 0;
        for (int i = 0; i < n; ++i) {
            const uint64_t a = holders_[s[i] * words_ + w];
            const uint64_t k0 = c0 & a;
            c0 ^= a;
            const uint64_t k1 = c1 & k0;
            c1 ^= k0;
            const uint64_t k2 = c2 & k1;
            c2 ^= k1;
            c3 ^= k2;
        }
        return (want & 1 ? c0 : ~c0) & (want & 2 ? c1 : ~c1) & (want & 4 ? c2 : ~c2) &
               (want & 8 ? c3 : ~c3);
    }

    // near_: the lines one swap away from meeting s; returns how many.
    uint32_t NearLines(const uint8_t* s, Mask drawn) {
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

    // Drops the line whose loss leaves the fewest m-sets unmet; returns its place, which the
    // last line now takes.
    size_t RemoveLine() {
        size_t worst = 0;
        int64_t least = -1;
        for (size_t i = 0; i < lines_.size(); ++i) {
            int64_t lost = 0;
            ForEachCovered(lines_[i], [&](uint64_t r) { lost += count_[r] == 1; });
            if (least < 0 || lost < least) least = lost, worst = i;
        }
        ForEachCovered(lines_[worst], [&](uint64_t r) { Unmet(r); });
        present_.erase(lines_[worst]);
        lines_[worst] = lines_.back();
        lines_.pop_back();
        IndexHolders();
        return worst;
    }

    // Acceptance thresholds of worse moves, out of 2^32, for each temperature of the cooling
    // cycle: e^(-delta/T), in integers so that every platform decides alike.
    static constexpr int kLevels = 48;
    static constexpr int kMaxDelta = 32;
    struct Schedule {
        uint32_t accept[kLevels][kMaxDelta + 1];
    };
    static uint64_t ExpNegative(uint64_t xQ16) {
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
    static const Schedule& Cooling() {
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

    // Simulated annealing over wheels of one size fewer than the best found, its cost the
    // m-sets unmet; each move swaps one number of a line so that it meets a random unmet set.
    // Whenever the cost reaches 0 the wheel is kept and its least useful line dropped.
    void Anneal() {
        if (lines_.size() <= 1 || steps_ >= budget_) return;
        unmet_.Reset(sets_);
        const Schedule& cooling = Cooling();
        RemoveLine();
        int level = 0;
        int64_t moves = 0;
        int64_t found = steps_;
        while (steps_ < budget_) {
            if (uncovered_ == 0) {
                best_ = lines_;
                found = steps_;
                if (static_cast<int64_t>(lines_.size()) <= std::max<int64_t>(floor_, 1)) return;
                RemoveLine();
                continue;
            }
            // Stalled: each smaller wheel takes longer than the last, so one not found in twice
            // the work spent so far (and half the effort) is not worth waiting for.
            if (steps_ - found > std::max(2 * found, budget_ / 2)) return;
            const int64_t perLevel = static_cast<int64_t>(lines_.size()) * k_ * 8 + 256;
            if (++moves >= perLevel) {
                moves = 0;
                level = level + 1 == kLevels ? 0 : level + 1;
            }
            Report();
            Move(cooling.accept[level]);
        }
    }

    // The second stage, for a caller who asked for fewer lines than the first stage's wheel: a
    // tabu search at a fixed size. Each move takes a random unmet m-set and, of every swap of one
    // number that makes a line meet it, makes the one leaving the fewest sets unmet, even when
    // that is more than before; a number just swapped out of a line stays out for a few moves.
    // Each success drops the least useful line, until the wheel has at most the lines asked for
    // or the budget is spent.
    void Refine(int64_t budget) {
        const int64_t end = budget > INT64_MAX - steps_ ? INT64_MAX : steps_ + budget;
        direct_ = v_ <= kDirectNumbers;
        if (OneSwapForm())
            oneSwapSteps_ =
                static_cast<int64_t>(Choose(k_ - 1, t_ - 1) * Choose(v_ - k_ - 1, m_ - t_));
        if (direct_) {
            BuildDirect();
        } else if (unmet_.Empty()) {
            unmet_.Reset(sets_);
        }
        IndexHolders();
        tabu_.assign(lines_.size() * v_, 0);
        while (steps_ < end) {
            if (uncovered_ == 0) {
                best_ = lines_;
                if (static_cast<int64_t>(lines_.size()) <= search_.lines) return;
                const size_t slot = direct_ ? RemoveLineDirect() : RemoveLine();
                // The line moved into the dropped one's place keeps its own tabu numbers.
                std::copy_n(tabu_.end() - v_, v_, tabu_.begin() + slot * v_);
                tabu_.resize(tabu_.size() - v_);
                continue;
            }
            Report();
            TabuMove();
        }
    }

    // The second stage's budget, scaled as the first's by the effort asked for: a fixed number
    // of steps where the counts are kept by mask (a step costs less there), else a multiple of
    // the first's.
    int64_t RefineBudget() const {
        const uint64_t direct = OneSwapForm() ? kOneSwapRefineSteps : kDirectRefineSteps;
        const WideCount scaled = v_ <= kDirectNumbers
                                     ? WideCount(budget_) * direct /
                                           static_cast<uint64_t>(DefaultWheelEffort(search_.goal))
                                     : WideCount(budget_) * kRefineTimes;
        return scaled > WideCount(INT64_MAX) ? INT64_MAX : static_cast<int64_t>(scaled);
    }
    static constexpr uint64_t kDirectRefineSteps = 14'000'000'000;
    // "k-1 if k" weighs its swaps from tables (OneSwapDeltas) while counting the steps of the
    // sets as they were weighed one by one, so that its walk and its wheels stay as they were;
    // its steps take about 0.6 times as long, and it gets three times as many. 15 numbers "5 if
    // 6" then takes some 30 s; from seed 1 its walk falls from 167 lines to 153 after 3.4e10.
    static constexpr uint64_t kOneSwapRefineSteps = 3 * kDirectRefineSteps;

    // Whether the second stage weighs swaps as OneSwapDeltas does: m = k = t + 1, the counts
    // kept by mask, and k small enough for NearLines' four bit planes.
    bool OneSwapForm() const {
        return v_ <= kDirectNumbers && m_ == k_ && t_ == k_ - 1 && m_ <= 15;
    }
    static constexpr uint64_t kRefineTimes = 25;
    // Weighing one swap costs about as much as 40 of the sets it changes (some 100 ns), however
    // few those are: counted so, the budget follows the time from case to case.
    static constexpr int64_t kCandidateSteps = 40;

    // Up to this many numbers the second stage keeps the m-sets' counts by their bits (2^v of
    // them), so that the sets a swap changes are found by adding masks, not by ranking.
    static constexpr int kDirectNumbers = 22;
    // A number swapped out of a line stays out for 2 to 4 moves, drawn anew each time: a fixed
    // tenure lets the search cycle. Measured from seeds 1 to 4, 15 numbers "5 if 6" ends at 155
    // to 167 lines with 2 to 4, at 168 to 170 with 3 to 6 or 2 to 7; 16 numbers "3 if 3" does
    // better with the longer ones (65 or 66 against 67 or 68).
    static constexpr uint64_t kTenure = 2;
    static constexpr uint32_t kTenureSpan = 3;

    // The masks of the r-subsets of e[0..n), into out.
    static void SubsetMasks(const uint8_t* e, int n, int r, std::vector<uint32_t>& out) {
        out.clear();
        ForEachSubset(e, n, r, [&](const uint8_t* a) {
            uint32_t mask = 0;
            for (int i = 0; i < r; ++i) mask |= uint32_t{1} << a[i];
            out.push_back(mask);
        });
    }

    // f(mask) for each m-set meeting line in t or more numbers.
    template <class F>
    void ForEachCoveredDirect(Mask line, F&& f) {
        uint8_t in[80], out[80];
        const int nIn = Elements(line, in);
        const int nOut = Elements(~line & ((Mask{1} << v_) - 1), out);
        for (int i = t_; i <= std::min(k_, m_); ++i) {
            if (m_ - i > nOut) continue;
            SubsetMasks(in, nIn, i, subsA_);
            SubsetMasks(out, nOut, m_ - i, subsB_);
            for (const uint32_t a : subsA_)
                for (const uint32_t b : subsB_) f(a | b);
            steps_ += static_cast<int64_t>(subsA_.size() * subsB_.size());
        }
    }

    // The counts by mask from the lines, and the list of the m-sets they leave unmet.
    void BuildDirect() {
        dcount_.assign(size_t{1} << v_, 0);
        dunmet_.Reset(size_t{1} << v_);
        dpresent_.assign(((size_t{1} << v_) + 63) / 64, 0);
        for (const Mask line : lines_) FlipPresent(line);
        for (const Mask line : lines_)
            ForEachCoveredDirect(line, [&](uint32_t i) { ++dcount_[i]; });
        uncovered_ = 0;
        // Every m-set, in increasing order of its mask: the next number with as many bits.
        for (uint32_t x = (uint32_t{1} << m_) - 1; x < (uint32_t{1} << v_);) {
            if (dcount_[x] == 0) {
                ++uncovered_;
                dunmet_.Add(x);
            }
            const uint32_t low = x & (~x + 1), ripple = x + low;
            if (ripple == 0) break;
            x = ripple | (((x ^ ripple) >> 2) / low);
        }
        steps_ += static_cast<int64_t>(sets_);
    }

    void UnmetDirect(uint32_t i) {
        if (--dcount_[i] != 0) return;
        ++uncovered_;
        dunmet_.Add(i);
    }
    void MetDirect(uint32_t i) {
        if (dcount_[i]++ == 0) --uncovered_;
    }

    // As DrawUnmet, by mask.
    uint32_t DrawUnmetDirect() {
        return dunmet_.Draw(dcount_, uncovered_, [this](size_t n) { return Below(n); });
    }

    // As RemoveLine, by mask; returns the place of the line dropped.
    size_t RemoveLineDirect() {
        size_t worst = 0;
        int64_t least = -1;
        for (size_t i = 0; i < lines_.size(); ++i) {
            int64_t lost = 0;
            ForEachCoveredDirect(lines_[i], [&](uint32_t j) { lost += dcount_[j] == 1; });
            if (least < 0 || lost < least) least = lost, worst = i;
        }
        ForEachCoveredDirect(lines_[worst], [&](uint32_t j) { UnmetDirect(j); });
        present_.erase(lines_[worst]);
        FlipPresent(lines_[worst]);
        lines_[worst] = lines_.back();
        lines_.pop_back();
        IndexHolders();
        return worst;
    }

    // The masks of the sets that swapping x out of line and y in changes, less x or y: the
    // (t-1)-subsets of the line without x, each with the (m-t)-subsets of the numbers outside.
    void SwappedDirect(Mask line, int x, int y) {
        uint8_t e[80];
        int n = Elements(line & ~Bit(x), e);
        SubsetMasks(e, n, t_ - 1, subsA_);
        n = Elements(~(line | Bit(y)) & ((Mask{1} << v_) - 1), e);
        SubsetMasks(e, n, m_ - t_, subsB_);
        steps_ += static_cast<int64_t>(subsA_.size() * subsB_.size());
    }

    // The change in the count of unmet m-sets if x in line were replaced by y.
    int64_t SwapDelta(Mask line, int x, int y) {
        int64_t delta = 0;
        if (direct_) {
            SwappedDirect(line, x, y);
            const uint32_t bx = uint32_t{1} << x, by = uint32_t{1} << y;
            for (const uint32_t a : subsA_)
                for (const uint32_t b : subsB_)
                    delta += (dcount_[a | b | bx] == 1) - (dcount_[a | b | by] == 0);
        } else {
            ForEachSwapped(line, x, y, [&](uint64_t lost, uint64_t gained) {
                delta += (count_[lost] == 1) - (count_[gained] == 0);
            });
        }
        return delta;
    }

    void Swap(uint32_t which, int x, int y) {
        const Mask line = lines_[which];
        if (direct_) {
            SwappedDirect(line, x, y);
            const uint32_t bx = uint32_t{1} << x, by = uint32_t{1} << y;
            for (const uint32_t a : subsA_)
                for (const uint32_t b : subsB_) {
                    MetDirect(a | b | by);
                    UnmetDirect(a | b | bx);
                }
        } else {
            ForEachSwapped(line, x, y, [&](uint64_t lost, uint64_t gained) {
                Met(gained);
                Unmet(lost);
            });
        }
        const Mask next = line ^ Bit(x) ^ Bit(y);
        present_.erase(line);
        present_.insert(next);
        if (direct_) {
            FlipPresent(line);
            FlipPresent(next);
        }
        lines_[which] = next;
        holders_[x * words_ + which / 64] &= ~(uint64_t{1} << (which % 64));
        holders_[y * words_ + which / 64] |= uint64_t{1} << (which % 64);
    }

    // Whether the wheel has line: by a bit per k-set's mask in the second stage's direct counts.
    bool Present(Mask line) const {
        if (!direct_) return present_.contains(line);
        const auto i = static_cast<uint32_t>(line);
        return dpresent_[i / 64] >> (i % 64) & 1;
    }
    void FlipPresent(Mask line) {
        const auto i = static_cast<uint32_t>(line);
        dpresent_[i / 64] ^= uint64_t{1} << (i % 64);
    }

    // The unmet sets a line's four swaps would meet, by the number out, then the number in.
    struct SwapGains {
        int of[2][2];
    };

    // For "k-1 if k" (m = k = t + 1) a line meets the sets one swap from it. Swapping x out of
    // line and y in loses the sets line - z + w (z not x, w not y) that no other line meets, and
    // gains the unmet sets line - x - z + y + w. So a line's swaps are weighed from its table of
    // lone sets, by row and column sums, and from the few sets still unmet: the same deltas as
    // set by set, in a fraction of the loads. outs and ins: the two numbers of line not in the
    // drawn set, and the two of the drawn set not in line; gained: as OneSwapGains leaves it.
    void OneSwapDeltas(uint32_t line, const uint8_t* outs, const uint8_t* ins,
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
                const int lone = dcount_[without | (uint32_t{1} << out[b])] == 1;
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
                delta[i][j] =
                    total - rowOf[i] - columnOf[j] + (dcount_[swapped] == 1) - gained.of[i][j];
            }
        }
    }

    // For each line near the drawn set (in near_, slot by slot in nearSlot_), the unmet sets
    // each of its four swaps would meet: those holding k - 2 of the line's numbers, not the
    // number out and the number in. The lines holding k - 2 of an unmet set are found 64 at a
    // time, as NearLines finds those near the drawn set.
    void OneSwapGains(uint32_t drawn) {
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

    void TabuMove() {
        ++iteration_;
        uint8_t s[80];
        Mask drawn = 0;
        if (direct_) {
            drawn = DrawUnmetDirect();
            Elements(drawn, s);
        } else {
            Unrank(DrawUnmet(), s);
            for (int i = 0; i < m_; ++i) drawn |= Bit(s[i]);
        }
        if (NearLines(s, drawn) == 0) {
            // No line is one swap away: a random line one number nearer, whatever the cost.
            const uint32_t which = Below(lines_.size());
            const Mask line = lines_[which];
            uint8_t outs[80], ins[80];
            const int nOut = Elements(line & ~drawn, outs);
            const int nIn = Elements(drawn & ~line, ins);
            const int x = outs[Below(static_cast<uint64_t>(nOut))];
            const int y = ins[Below(static_cast<uint64_t>(nIn))];
            const Mask next = line ^ Bit(x) ^ Bit(y);
            if (!Present(next) && Allowed(next)) Swap(which, x, y);
            return;
        }
        int64_t best = INT64_MAX;
        uint32_t ties = 0, bestLine = 0;
        int bestX = 0, bestY = 0;
        const bool oneSwap = OneSwapForm();
        if (oneSwap) {
            unmetNow_.clear();
            dunmet_.ForEachListed([&](uint32_t i) {
                if (dcount_[i] == 0) unmetNow_.push_back(i);
            });
            nearSlot_.resize(lines_.size());
            uint16_t slots = 0;
            for (size_t w = 0; w < words_; ++w)
                for (uint64_t bits = near_[w]; bits != 0; bits &= bits - 1)
                    nearSlot_[w * 64 + static_cast<size_t>(std::countr_zero(bits))] = slots++;
            nearGained_.assign(slots, {});
            OneSwapGains(static_cast<uint32_t>(drawn));
        }
        for (size_t w = 0; w < words_; ++w) {
            for (uint64_t bits = near_[w]; bits != 0; bits &= bits - 1) {
                const uint32_t which = static_cast<uint32_t>(w * 64 + std::countr_zero(bits));
                const Mask line = lines_[which];
                uint8_t outs[80], ins[80];
                const int nOut = Elements(line & ~drawn, outs);
                const int nIn = Elements(drawn & ~line, ins);
                int64_t oneSwapDelta[2][2];
                if (oneSwap) {
                    OneSwapDeltas(static_cast<uint32_t>(line), outs, ins,
                                  nearGained_[nearSlot_[which]], oneSwapDelta);
                } else if (direct_) {
                    // The sets each swap changes, by the number out and by the number in.
                    uint8_t e[80];
                    for (int i = 0; i < nOut; ++i)
                        SubsetMasks(e, Elements(line & ~Bit(outs[i]), e), t_ - 1, outSubs_[i]);
                    const Mask all = (Mask{1} << v_) - 1;
                    for (int j = 0; j < nIn; ++j)
                        SubsetMasks(e, Elements(~(line | Bit(ins[j])) & all, e), m_ - t_,
                                    inSubs_[j]);
                }
                for (int i = 0; i < nOut; ++i) {
                    for (int j = 0; j < nIn; ++j) {
                        const int x = outs[i], y = ins[j];
                        if (tabu_[which * v_ + y] > iteration_) continue;
                        const Mask next = line ^ Bit(x) ^ Bit(y);
                        if (Present(next) || !Allowed(next)) continue;
                        int64_t delta = 0;
                        if (oneSwap) {
                            delta = oneSwapDelta[i][j];
                            steps_ += oneSwapSteps_ + kCandidateSteps;
                        } else if (direct_) {
                            const uint32_t bx = uint32_t{1} << x, by = uint32_t{1} << y;
                            for (const uint32_t a : outSubs_[i])
                                for (const uint32_t b : inSubs_[j])
                                    delta +=
                                        (dcount_[a | b | bx] == 1) - (dcount_[a | b | by] == 0);
                            steps_ += static_cast<int64_t>(outSubs_[i].size() * inSubs_[j].size()) +
                                      kCandidateSteps;
                        } else {
                            delta = SwapDelta(line, x, y);
                            steps_ += kCandidateSteps;
                        }
                        if (delta < best) {
                            best = delta, ties = 1, bestLine = which, bestX = x, bestY = y;
                        } else if (delta == best && Below(++ties) == 0) {
                            bestLine = which, bestX = x, bestY = y;
                        }
                    }
                }
            }
        }
        if (best == INT64_MAX) return;
        Swap(bestLine, bestX, bestY);
        tabu_[bestLine * v_ + bestX] = iteration_ + kTenure + Below(kTenureSpan);
    }

    // One move: a random unmet m-set, a line one swap away from meeting it, that swap made when
    // accept[delta] (out of 2^32) allows the change in the count of unmet sets.
    void Move(const uint32_t* accept) {
        uint8_t s[80];
        const uint64_t r = DrawUnmet();
        Unrank(r, s);
        Mask drawn = 0;
        for (int i = 0; i < m_; ++i) drawn |= Bit(s[i]);
        const uint32_t which = PickLine(s, drawn);
        const Mask line = lines_[which];
        uint8_t outs[80], ins[80];
        const int nOut = Elements(line & ~drawn, outs);
        const int nIn = Elements(drawn & ~line, ins);
        const int x = outs[Below(static_cast<uint64_t>(nOut))];
        const int y = ins[Below(static_cast<uint64_t>(nIn))];
        const Mask next = line ^ Bit(x) ^ Bit(y);
        if (present_.contains(next) || !Allowed(next)) return;
        int64_t delta = 0;
        ForEachSwapped(line, x, y, [&](uint64_t lost, uint64_t gained) {
            delta += (count_[lost] == 1) - (count_[gained] == 0);
        });
        if (delta > 0 && (delta > kMaxDelta || NextWord(g_) >= accept[delta])) return;
        ForEachSwapped(line, x, y, [&](uint64_t lost, uint64_t gained) {
            Met(gained);
            Unmet(lost);
        });
        present_.erase(line);
        present_.insert(next);
        lines_[which] = next;
        holders_[x * words_ + which / 64] &= ~(uint64_t{1} << (which % 64));
        holders_[y * words_ + which / 64] |= uint64_t{1} << (which % 64);
    }

    void Report() {
        if (search_.progress && steps_ >= nextReport_) {
            nextReport_ = steps_ + (int64_t{1} << 22);
            const size_t size = best_.empty() ? lines_.size() : best_.size();
            search_.progress(static_cast<int64_t>(size), uncovered_ - hopelessCount_);
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
    const uint64_t (*binom_)[81] = Binom().c;
    const int v_, k_, t_, m_;
    int64_t budget_ = 0;
    int64_t floor_ = 0;  // no wheel has fewer lines
    int64_t steps_ = 0;
    int64_t nextReport_ = 0;
    uint64_t sets_ = 0;
    std::vector<uint16_t> count_;  // lines meeting each m-set in t or more numbers
    int64_t uncovered_ = 0;
    std::vector<uint64_t> hopeless_;  // m-sets no allowed line meets
    int64_t hopelessCount_ = 0;
    std::vector<Mask> lines_;
    std::vector<Mask> best_;  // the smallest wheel found that meets the goal
    UnmetSets unmet_;
    std::vector<uint64_t> holders_;  // IndexHolders
    size_t words_ = 0;
    std::vector<uint64_t> near_;
    bool direct_ = false;
    uint64_t iteration_ = 0;
    std::vector<uint64_t> tabu_;    // [line][number]: the move until which it stays out
    std::vector<uint16_t> dcount_;  // Refine: lines meeting each m-set, by its mask
    UnmetSets dunmet_;
    std::vector<uint64_t> dpresent_;  // the lines, a bit per mask
    std::vector<uint32_t> subsA_, subsB_;
    std::array<std::vector<uint32_t>, 80> outSubs_;  // TabuMove: by the number swapped out
    std::array<std::vector<uint32_t>, 80> inSubs_;   // and by the number swapped in
    // TabuMove for "k-1 if k": the unmet sets; each line near the drawn set's slot, and by
    // slot the unmet sets its swaps would meet.
    std::vector<uint32_t> unmetNow_;
    std::vector<uint16_t> nearSlot_;
    std::vector<SwapGains> nearGained_;
    // The sets a swap changes, counted as steps as when they were weighed one by one.
    int64_t oneSwapSteps_ = 0;
    std::unordered_set<Mask, MaskHash> present_;  // for membership only, never walked
};

// The Steiner system S(5,6,12): the supports of the weight-6 words of the extended ternary Golay
// code, 132 lines that meet every 5-set exactly once. Its lines through the last number, that
// number dropped, are S(4,5,11), 66 lines. Both meet the lower bound, so no search beats them.
std::vector<Mask> SteinerFromGolay(int v) {
    static const int kRows[6][6] = {{0, 1, 1, 1, 1, 1}, {1, 0, 1, 2, 2, 1}, {1, 1, 0, 1, 2, 2},
                                    {1, 2, 1, 0, 1, 2}, {1, 2, 2, 1, 0, 1}, {1, 1, 2, 2, 1, 0}};
    std::vector<Mask> lines;
    for (int code = 0; code < 729; ++code) {
        int c[6];
        for (int i = 0, rest = code; i < 6; ++i, rest /= 3) c[i] = rest % 3;
        Mask support = 0;
        for (int j = 0; j < 12; ++j) {
            int sum = 0;
            for (int i = 0; i < 6; ++i) sum += c[i] * (j < 6 ? (i == j) : kRows[i][j - 6]);
            if (sum % 3 != 0) support |= Bit(j);
        }
        if (PopCount(support) != 6) continue;
        if (v == 11) {
            if (!(support & Bit(11))) continue;
            support &= ~Bit(11);
        }
        lines.push_back(support);
    }
    std::sort(lines.begin(), lines.end());
    lines.erase(std::unique(lines.begin(), lines.end()), lines.end());
    return lines;
}

// Searches `part` over the numbers of `search` from `first` on, with its filters and progress;
// the lines, in its numbers, are added to `found`.
void FindPartWheel(const WheelSearch& search, WheelSearch part, int first,
                   RandomGenerator& generator, WheelFound& found) {
    part.progress = search.progress;
    if (search.allowed)
        part.allowed = [&search, first](std::span<const uint8_t> line) {
            uint8_t s[80];
            for (size_t j = 0; j < line.size(); ++j) s[j] = static_cast<uint8_t>(line[j] + first);
            return search.allowed(std::span<const uint8_t>(s, line.size()));
        };
    const WheelFound wheel = FindWheel(part, generator);
    found.covers = found.covers && wheel.covers;
    found.steps += wheel.steps;
    for (const WheelLine& line : wheel.lines) {
        WheelLine shifted = line;
        for (uint8_t& x : shifted) x = static_cast<uint8_t>(x + first);
        found.lines.push_back(shifted);
    }
}

// The v numbers cut into groups of near-equal size, each wheeled on its own for "t if t" with
// an even share of the effort: of m drawn numbers, with (t-1) * groups < m, some group holds t.
WheelFound SplitWheel(const WheelSearch& search, int groups, RandomGenerator& generator) {
    const WheelGoal& goal = search.goal;
    const int64_t effort = search.effort > 0 ? search.effort : DefaultWheelEffort(goal);
    WheelFound found;
    found.covers = true;
    int first = 0;
    for (int i = 0; i < groups; ++i) {
        const int size = goal.v / groups + (i < goal.v % groups);
        WheelSearch part;
        part.goal = {size, goal.k, goal.t, goal.t};
        part.effort = std::max<int64_t>(effort / groups, 1);
        FindPartWheel(search, part, first, generator, found);
        first += size;
    }
    // Groups in ascending order, each sorted: the whole is sorted too.
    return found;
}

// "3 if m" (m of 5 or 6) on lines of 6, in two parts: S(3,6,22) on the first 22 numbers, and
// "3 if m-2" searched on the rest. Of m drawn numbers, three or more among the 22 lie in one
// line of S(3,6,22); else m-2 or more are among the rest. S(3,6,22) has the fewest lines that
// hold every three of 22, so only the rest is searched. Empty where it does not apply or the
// filters refuse a line of S(3,6,22).
WheelFound SteinerAndRest(const WheelSearch& search, RandomGenerator& generator) {
    const WheelGoal& goal = search.goal;
    constexpr int kFirst = 22;
    if (goal.k != 6 || goal.t != 3 || goal.m < 5 || goal.v - kFirst < goal.k) return {};
    WheelFound found;
    found.covers = true;
    found.lines = SteinerTriplesOf22();
    if (search.allowed)
        for (const WheelLine& line : found.lines)
            if (!search.allowed(line)) return {};
    const int64_t steinerLines = static_cast<int64_t>(found.lines.size());
    WheelSearch rest;
    rest.goal = {goal.v - kFirst, goal.k, goal.t, goal.m - 2};
    rest.effort = search.effort;
    rest.lines = search.lines > steinerLines ? search.lines - steinerLines : 1;
    // Every line of the first part starts below 22, every line of the rest above: still sorted.
    FindPartWheel(search, rest, kFirst, generator, found);
    return found;
}

}  // namespace

int64_t DefaultWheelEffort(const WheelGoal& goal) {
    // A step is one m-set counted or 64 lines scanned, a few nanoseconds: about a second of
    // search for ten numbers, a few for sixty. The search stops sooner once it stalls.
    return std::clamp<int64_t>(int64_t{goal.v} * 2'500'000, 30'000'000, 150'000'000);
}

WheelFound FindWheel(const WheelSearch& search, RandomGenerator& generator) {
    const WheelGoal& goal = search.goal;
    if (goal.v < 1 || goal.v > 80 || goal.t < 1 || goal.t > goal.m || goal.m > goal.k ||
        goal.k > goal.v)
        return {};
    // Many m-sets, and m drawn numbers put t in one of several groups: a covering of each group's
    // t-sets is far cheaper to search than the m-sets, and about as small.
    const int groups = goal.t >= 2 ? (goal.m - 1) / (goal.t - 1) : 1;
    if (Choose(goal.v, goal.m) > kSplitSets && groups >= 2 && goal.v / groups >= goal.k) {
        WheelFound found = SplitWheel(search, groups, generator);
        // Longer than asked for (a run refused before this second way): the same generator
        // goes on to the two-part wheel, taken when it is shorter.
        if (search.lines > 0 && static_cast<int64_t>(found.lines.size()) > search.lines) {
            WheelFound other = SteinerAndRest(search, generator);
            if (other.covers && (!found.covers || other.lines.size() < found.lines.size())) {
                other.steps += found.steps;
                return other;
            }
        }
        return found;
    }
    // Too many m-sets to count: a wheel that meets every t-set meets every m-set in t numbers.
    int m = goal.m;
    if (Choose(goal.v, m) > kMaxSets) m = goal.t;
    if (Choose(goal.v, m) > kMaxSets) return {};
    if (goal.t == goal.m && ((goal.v == 12 && goal.k == 6 && goal.t == 5) ||
                             (goal.v == 11 && goal.k == 5 && goal.t == 4))) {
        const std::vector<Mask> lines = SteinerFromGolay(goal.v);
        WheelFound found;
        found.covers = true;
        for (const Mask line : lines) {
            uint8_t s[80];
            const int n = Elements(line, s);
            found.lines.emplace_back(s, s + n);
            if (search.allowed && !search.allowed(found.lines.back())) found.covers = false;
        }
        if (found.covers) {
            std::sort(
                found.lines.begin(), found.lines.end(), [](const WheelLine& a, const WheelLine& b) {
                    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end());
                });
            return found;
        }
    }
    Engine engine(search, generator, m);
    return engine.Run();
}

}  // namespace combogen
