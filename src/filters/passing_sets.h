// The lines that pass the filters, counted exactly, so that a line can be drawn from them
// however few there are.
//
// Method. The numbers 1..n are decided one at a time, each taken or left, in the order and
// with the states that CountLayout arranges from the filters. Left-out numbers cannot be taken,
// and in a six-argument run the fixed numbers cannot be left. The table counts, for every step
// and state, the ways to reach the state (exact 128-bit integers). The final states with k
// numbers whose totals are not below the minimums are the passing lines, grouped in classes by
// their count of fixed numbers e.
//
// Within a class every passing line has the same probability under the run's unfiltered
// drawing (one in C(F,e) * C(P,k-e)), so the filtered drawing picks a class in proportion to
// (passing lines of the class) / C(F,e)C(P,k-e) and then a line of it uniformly: a number u
// below the class count, unranked by walking the table back from n to 1 and, at each number,
// following the option whose count covers u (subtracting the counts passed over). Ranking a
// line inverts that walk; that is what lets a no-repeat run keep one bit per passing line.
//
// Where that table would not fit, the same states are counted over only those that can still
// reach a passing line (ReachableCounts), with the same classes and the same drawing.
#pragma once

#include <array>
#include <cstddef>
#include <memory>
#include <vector>

#include "combination/binomial.h"
#include "filters/count_layout.h"
#include "filters/reachable_counts.h"
#include "random/wide_draw.h"

namespace combogen {

class PassingSets {
public:
    // 8,388,608 counts of 16 bytes: 128 MiB. Larger tables are refused (TooLarge()).
    static constexpr std::size_t MaxTableEntries = std::size_t{1} << 23;
    // The table of reachable states is refused beyond this.
    static constexpr uint64_t MaxReachableBytes = uint64_t{128} << 20;

    // Full: the table of every state (what a run uses whenever it fits). Reachable: only the
    // states that can still reach a passing line, with their own ranks.
    enum class Table { Full, Reachable };

    explicit PassingSets(const LineRules& rules, Table table = Table::Full);

    // How many lines pass the rules (all classes), counted without keeping the table.
    static WideCount PassingTotal(const LineRules& rules);

    // The bytes of counts that the reachable states of the rules need.
    static uint64_t ReachableBytes(const LineRules& rules);

    bool TooLarge() const { return tooLarge_; }
    bool Reachable() const { return reachable_ != nullptr; }
    const LineRules& Rules() const { return layout_.rules; }

    // Classes: one, or FixedMax - FixedMin + 1 in an eight-argument run (class i holds the
    // lines with FixedMin + i fixed numbers).
    int ClassCount() const { return classCount_; }
    WideCount ClassSize(int cls) const { return classSize_[cls]; }
    // How many lines the run's unfiltered drawing can give in the class.
    WideCount ClassSpace(int cls) const { return classSpace_[cls]; }
    WideCount Total() const;

    // True when at least half of the run's unfiltered draws pass (each class weighted as the
    // unfiltered drawing weights it).
    bool MostPass() const { return mostPass_; }

    // Draws a class with probability in proportion to ClassSize / ClassSpace.
    int DrawClass(RandomGenerator& g) const;

    // The passing line of rank u (u < ClassSize(cls)) in ascending order into out[0..k).
    void Unrank(int cls, WideCount u, Number* out) const;

    // The class and rank of a passing line (k distinct numbers, any order).
    void Rank(const Number* numbers, int& cls, WideCount& u) const;

    // For each v in 1..MaxNumber, the probability that a line of the run holds v. Floating point,
    // for reports only; nothing drawn depends on it.
    std::array<double, MaxNumber + 1> InclusionProbabilities() const;

private:
    std::size_t Index(int c, int f, int a, int b, int r) const {
        return static_cast<std::size_t>((((c * fd_ + f) * ad_ + a) * bd_ + b) * rd_ + r);
    }
    std::size_t Index(const CountState& s) const { return Index(s.c, s.f, s.a, s.b, s.r); }
    CountState Decode(std::size_t index) const;
    WideCount At(int step, std::size_t index) const { return table_[step * layer_ + index]; }
    bool CanTake(int v, const CountState& from) const;  // from the state after v-1
    void CountFull();
    // Unrank and Rank in the full table; apart, so that drawing from the reachable counts
    // does not pay for setting up their walks.
    void UnrankFull(int cls, WideCount u, Number* out) const;
    void RankFull(const Number* numbers, int& cls, WideCount& u) const;
    // The class spaces and the weights of the class draw, from the class sizes.
    void Weigh();

    CountLayout layout_;
    bool tooLarge_ = false;
    // The state is the count alone and the numbers are decided in ascending order (no Total or
    // Run filter, at most five or six arguments): ranks take a shorter walk.
    bool countOnly_ = false;
    int fd_ = 1, ad_ = 1, bd_ = 1, rd_ = 1;  // extents of f, a, b, r
    std::size_t layer_ = 0;
    std::vector<WideCount> table_;
    // For the rank walks, so that they keep an index and read no layout: what taking v adds
    // to a state's index (the run's part too when kept), and whether v may be left.
    std::array<std::size_t, MaxNumber + 1> takenStep_{};
    std::array<bool, MaxNumber + 1> leavable_{};
    int classCount_ = 1;
    std::vector<WideCount> classSize_, classSpace_;
    std::vector<WideCount> classWeightEnds_;  // the running total of the class draw's weights
    WideCount weightTotal_ = 0;
    bool mostPass_ = true;
    // Per class, the accepted final states and the running total of their counts.
    std::vector<std::vector<std::size_t>> finals_;
    std::vector<std::vector<WideCount>> finalEnds_;
    std::unique_ptr<ReachableCounts> reachable_;
};

}  // namespace combogen
