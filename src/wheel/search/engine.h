// One walk of the wheel search over a goal: a greedy wheel, then simulated annealing that drops
// a line whenever the wheel meets the goal, then a tabu search at a fixed size. Every random
// decision comes from the generator, and the work is counted in steps, never in seconds, so
// that the same generator state gives the same wheel on every platform.
#pragma once

#include <array>
#include <climits>
#include <cstdint>
#include <span>
#include <vector>

#include "combination/number_list.h"
#include "random/generator.h"
#include "wheel/search.h"
#include "wheel/search/line_set.h"
#include "wheel/search/sets.h"
#include "wheel/search/unmet_sets.h"

namespace combogen::wheel_search {

class Engine {
public:
    // m: the drawn numbers counted, goal.m or, where its sets are too many, goal.t.
    Engine(const WheelSearch& search, RandomGenerator& g, int m);
    // The smallest wheel the walk finds, from start (a wheel that meets the goal with allowed
    // lines) or, where start is empty, from a greedy wheel.
    WheelFound Run(std::span<const WheelLine> start);

private:
    // --- the m-sets and the lines meeting them (set_counts.cpp) ---
    // Colex rank of an ascending m-set.
    uint64_t Rank(const uint8_t* s) const {
        uint64_t r = 0;
        for (int i = 0; i < m_; ++i) r += binom_[s[i]][i + 1];
        return r;
    }
    void Unrank(uint64_t r, uint8_t* s) const;
    // The rank of the ascending (m-1)-set s with x put in.
    uint64_t RankWith(const uint8_t* s, int x) const;
    // The masks of the r-subsets of e[0..n), into out.
    static void SubsetMasks(const uint8_t* e, int n, int r, std::vector<uint32_t>& out);

    // f(index) for each m-set meeting line in t or more numbers: its rank, or its mask once
    // the counts are kept by mask.
    template <class F>
    void ForEachCovered(Mask line, F&& f) {
        uint8_t in[MaxNumber], out[MaxNumber];
        const int nIn = Elements(line, in);
        const int nOut = Elements(~line & All(), out);
        for (int i = t_; i <= std::min(k_, m_); ++i) {
            if (m_ - i > nOut) continue;
            if (byMask_) {
                SubsetMasks(in, nIn, i, subsA_);
                SubsetMasks(out, nOut, m_ - i, subsB_);
                for (const uint32_t a : subsA_)
                    for (const uint32_t b : subsB_) f(uint64_t{a | b});
            } else {
                ForEachSubset(in, nIn, i, [&](const uint8_t* a) {
                    ForEachSubset(out, nOut, m_ - i, [&](const uint8_t* b) {
                        uint8_t s[MaxNumber];
                        std::merge(a, a + i, b, b + (m_ - i), s);
                        f(Rank(s));
                    });
                });
            }
            steps_ += static_cast<int64_t>(Choose(nIn, i) * Choose(nOut, m_ - i));
        }
    }

    // By rank: f(lost, gained) for each m-set that line meets in t or more numbers but not once
    // x in it is replaced by y (lost), each paired with the one the new line meets and the old
    // does not.
    template <class F>
    void ForEachSwapped(Mask line, int x, int y, F&& f) {
        uint8_t in[MaxNumber], out[MaxNumber];
        const int nIn = Elements(line & ~Bit(x), in);
        const int nOut = Elements(~(line | Bit(y)) & All(), out);
        ForEachSubset(in, nIn, t_ - 1, [&](const uint8_t* a) {
            ForEachSubset(out, nOut, m_ - t_, [&](const uint8_t* b) {
                uint8_t s[MaxNumber];
                std::merge(a, a + t_ - 1, b, b + (m_ - t_), s);
                f(RankWith(s, x), RankWith(s, y));
            });
        });
        steps_ += static_cast<int64_t>(Choose(nIn, t_ - 1) * Choose(nOut, m_ - t_));
    }
    // By mask: the sets that swapping x out of line and y in changes, less x or y, as subsA_
    // (the (t-1)-subsets of the line without x) with subsB_ (the (m-t)-subsets outside).
    void SwappedByMask(Mask line, int x, int y);
    // From now on the counts by mask (2^v of them), rebuilt from the lines, and the unmet list.
    void CountByMask();

    void Met(uint64_t r) {
        if (count_[r]++ == 0) --uncovered_;
    }
    void Unmet(uint64_t r) {
        if (--count_[r] != 0) return;
        ++uncovered_;
        unmet_.Add(static_cast<uint32_t>(r));
    }
    // A random m-set still unmet.
    uint64_t DrawUnmet() {
        return unmet_.Draw(count_, uncovered_, [this](size_t n) { return Below(n); });
    }
    // Drops the line whose loss leaves the fewest m-sets unmet; returns its place, which the
    // last line now takes.
    size_t RemoveLine();
    void Swap(uint32_t which, int x, int y);

    // --- which lines hold which numbers (line_index.cpp) ---
    void IndexHolders();
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
    uint32_t NearLines(const uint8_t* s, Mask drawn);
    // A random line one swap away from meeting the unmet set s, or any line when there is none.
    uint32_t PickLine(const uint8_t* s, Mask drawn);

    // --- the greedy first wheel (greedy.cpp) ---
    bool Allowed(Mask line) const;
    int64_t Gain(Mask line);
    void AddLine(Mask line);
    Mask RandomLineThrough(const uint8_t* s);
    Mask AnyAllowedLineThrough(const uint8_t* s);
    // Up to `most` lines.
    void Greedy(size_t most);
    // Lists every m-set now unmet that an allowed line can meet, for drawing.
    void ListUnmet();

    // --- simulated annealing (anneal.cpp) ---
    void Anneal();
    void Move(const uint32_t* accept);

    // --- the tabu search at a fixed size (tabu.cpp, one_swap.cpp) ---
    void Refine(int64_t budget, int64_t patience);
    int64_t Patience() const;
    // The tabu search's budget when the first stage had firstBudget steps.
    int64_t RefineBudget(int64_t firstBudget) const;
    bool OneSwapForm() const;
    int64_t SwapDelta(Mask line, int x, int y);
    void TabuMove();
    // The unmet sets a line's four swaps would meet, by the number out, then the number in.
    struct SwapGains {
        int of[2][2];
    };
    void OneSwapDeltas(uint32_t line, const uint8_t* outs, const uint8_t* ins,
                       const SwapGains& gained, int64_t (&delta)[2][2]) const;
    void OneSwapGains(uint32_t drawn);

    // --- shared ---
    // A random swap that brings line one number nearer the set drawn: x, one of its numbers
    // not drawn, out, and y, a drawn number it lacks, in.
    void RandomSwapToward(Mask line, Mask drawn, int& x, int& y) {
        uint8_t outs[MaxNumber], ins[MaxNumber];
        const int nOut = Elements(line & ~drawn, outs);
        const int nIn = Elements(drawn & ~line, ins);
        x = outs[Below(static_cast<uint64_t>(nOut))];
        y = ins[Below(static_cast<uint64_t>(nIn))];
    }
    Mask All() const { return (Mask{1} << v_) - 1; }
    // A value in 0..n-1 for n below 2^32.
    uint32_t Below(uint64_t n) { return static_cast<uint32_t>((NextWord(g_) * n) >> 32); }
    void Report();
    WheelFound Result(const std::vector<Mask>& lines, bool covers) const;

    const WheelSearch& search_;
    RandomGenerator& g_;
    const uint64_t (*binom_)[81] = Binom().c;
    const int v_, k_, t_, m_;
    int64_t budget_ = 0;
    int64_t floor_ = 0;  // no wheel has fewer lines
    int64_t steps_ = 0;
    int64_t nextReport_ = 0;
    uint64_t sets_ = 0;
    // The lines meeting each m-set in t or more numbers, by rank, or by mask once byMask_.
    std::vector<uint16_t> count_;
    bool byMask_ = false;
    UnmetSets unmet_;
    int64_t uncovered_ = 0;
    std::vector<uint64_t> hopeless_;  // m-sets no allowed line meets, by rank
    int64_t hopelessCount_ = 0;
    std::vector<Mask> lines_;
    LineSet present_;
    std::vector<Mask> best_;  // the smallest wheel found that meets the goal
    // With a budget, until a wheel meets the goal: the lines leaving the fewest sets unmet.
    std::vector<Mask> partial_;
    int64_t leastUnmet_ = INT64_MAX;
    std::vector<uint64_t> holders_;  // IndexHolders
    size_t words_ = 0;
    std::vector<uint64_t> near_;
    uint64_t iteration_ = 0;
    std::vector<uint64_t> tabu_;  // [line][number]: the move until which it stays out
    std::vector<uint32_t> subsA_, subsB_;
    std::array<std::vector<uint32_t>, MaxNumber> outSubs_;  // TabuMove: by the number swapped out
    std::array<std::vector<uint32_t>, MaxNumber> inSubs_;   // and by the number swapped in
    // TabuMove for "k-1 if k": the unmet sets; each line near the drawn set's slot, and by
    // slot the unmet sets its swaps would meet.
    std::vector<uint32_t> unmetNow_;
    std::vector<uint16_t> nearSlot_;
    std::vector<SwapGains> nearGained_;
    // The sets a swap changes, counted as steps as when they were weighed one by one.
    int64_t oneSwapSteps_ = 0;
};

}  // namespace combogen::wheel_search
