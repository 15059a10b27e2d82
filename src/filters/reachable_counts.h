// The passing lines counted over the states that can still reach one, for games whose full
// table of counts would not fit in memory.
//
// The numbers are decided in the order and with the states that CountLayout arranges, as in
// the full table. Here the table keeps, after each step and for each count taken c, only the box
// of (f, a, b, r) that bounds the states from which a passing line can still be finished: c lies
// between what is forced and what is still possible (so when more than half the pool is taken
// the box follows the numbers left out), each total between what the numbers decided and the
// numbers still to come allow, and so on. A state outside its box reaches no passing line, so
// dropping it changes no count.
//
// Counts are those of the ways to reach a state, never more than C(v, min(c, v - c)) with c
// and v - c bounded by k and n - k, hence never above C(n, k): they are kept in 64 bits when
// C(n, k) fits, and in 128 bits otherwise.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "filters/count_layout.h"
#include "random/wide_draw.h"

namespace combogen {

class ReachableCounts {
public:
    // How many counts the table needs, without making it.
    static uint64_t Entries(const CountLayout& layout);
    // Bytes per count for the game.
    static int CountBytes(const LineRules& rules);

    explicit ReachableCounts(const CountLayout& layout);

    // The passing lines of each class, counted with two steps of states at a time: a small
    // part of the table's memory, but nothing to unrank with.
    static std::vector<WideCount> Totals(const CountLayout& layout);

    int ClassCount() const { return static_cast<int>(finals_.size()); }
    WideCount ClassSize(int cls) const {
        return finalEnds_[cls].empty() ? 0 : finalEnds_[cls].back();
    }
    void Unrank(int cls, WideCount u, Number* out) const;
    void Rank(const Number* numbers, int& cls, WideCount& u) const;
    // Each passing line weighted by weight[cls]; p[v] is the weighted share holding v.
    std::array<double, MaxNumber + 1> Inclusion(const std::vector<double>& weight) const;

private:
    // The states kept after a step for one count c; empty when width is 0.
    struct Box {
        std::size_t base = 0;
        int f0 = 0, fw = 0, a0 = 0, aw = 0, b0 = 0, bw = 0, rw = 0;
        // Index(t) as origin + f * fStride + a * aStride + b * bStride + r, for the rank walk:
        // no subtractions, and the same sum whichever parts the state holds (the others are 0).
        std::ptrdiff_t origin = 0, fStride = 0, aStride = 0, bStride = 0;
        std::size_t Size() const { return std::size_t(fw) * aw * bw * rw; }
        bool Holds(const CountState& t) const {
            return t.f >= f0 && t.f < f0 + fw && t.a >= a0 && t.a < a0 + aw && t.b >= b0 &&
                   t.b < b0 + bw && t.r < rw;
        }
        std::size_t Index(const CountState& t) const {
            return base + ((std::size_t(t.f - f0) * aw + (t.a - a0)) * bw + (t.b - b0)) * rw + t.r;
        }
        // Whether the box holds (f, a, b) with no run, and where it keeps it.
        bool HoldsLeft(std::ptrdiff_t f, std::ptrdiff_t a, std::ptrdiff_t b) const {
            return std::size_t(f - f0) < std::size_t(fw) && std::size_t(a - a0) < std::size_t(aw) &&
                   std::size_t(b - b0) < std::size_t(bw);
        }
        std::ptrdiff_t LeftIndex(std::ptrdiff_t f, std::ptrdiff_t a, std::ptrdiff_t b) const {
            return origin + f * fStride + a * aStride + b * bStride;
        }
    };
    struct BoxesOnly {};
    ReachableCounts(const CountLayout& layout, BoxesOnly);
    static std::vector<Box> Boxes(const CountLayout& layout, uint64_t& entries);
    const Box& BoxAt(int step, int c) const { return boxes_[step * (k_ + 2) + c]; }
    // The count of state t after step, or 0 when t is not kept.
    WideCount At(int step, const CountState& t) const;
    WideCount Count(std::size_t index) const {
        return wide_ ? wideTable_[index] : narrowTable_[index];
    }
    // Calls visit(fromIndex, toIndex, taken) for each move from the states after step - 1.
    template <class Visit>
    void ForEachMove(int step, Visit&& visit) const;
    template <class Cell>
    void Fill(std::vector<Cell>& table);
    template <bool runs, class Cell>
    void UnrankIn(const Cell* table, int cls, WideCount rank, Number* out) const;

    CountLayout layout_;
    int n_ = 0, k_ = 0;
    // Whether v may be left: looked up per number so that the rank walk does not branch.
    std::array<bool, MaxNumber + 1> leavable_{};
    // What taking v adds to f, a and b, at the width of the rank walk's registers so that the
    // walk neither widens nor reads the layout; side by side, one address serves all three.
    std::array<std::ptrdiff_t, MaxNumber + 1> fTaken_{}, aTaken_{}, bTaken_{};
    std::vector<Box> boxes_;  // (n + 1) steps of k + 2 boxes, the last always empty
    std::size_t entries_ = 0;
    bool wide_ = false;
    std::vector<uint64_t> narrowTable_;
    std::vector<WideCount> wideTable_;
    // Per class, the kept final states and the running total of their counts.
    std::vector<std::vector<std::size_t>> finals_;
    std::vector<std::vector<WideCount>> finalEnds_;
};

}  // namespace combogen
