// The passing lines counted over the states that can still reach one, for games whose full
// table of counts would not fit in memory.
//
// The numbers are decided in the order given, each taken or left, and a state holds the count
// taken c, the fixed numbers among them f, their sum s, their odd count o and the run r of
// taken numbers ending at the last number decided, as in the full table. Here the table keeps,
// after each step and for each c, only the box of (f, s, o, r) that bounds the states from
// which a passing line can still be finished: c lies between what is forced and what is still
// possible (so when more than half the pool is taken the box follows the numbers left out), the
// sum between what the numbers decided and the numbers still to come allow, and so on. A state
// outside its box reaches no passing line, so dropping it changes no count.
//
// Counts are those of the ways to reach a state, never more than C(v, min(c, v - c)) with c
// and v - c bounded by k and n - k, hence never above C(n, k): they are kept in 64 bits when
// C(n, k) fits, and in 128 bits otherwise.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "filters/line_rules.h"
#include "random/wide_draw.h"

namespace combogen {

class ReachableCounts {
public:
    // What the filters keep in the state; the rules' filters that every line meets are already
    // left out. order[1..n] is the order in which the numbers are decided; oddCheckStep is the
    // step after which the count taken must lie within --odd (or -1).
    struct Layout {
        bool sumInState = false, oddInState = false, runInState = false;
        std::array<int, MaxNumber + 1> order{};
        int oddCheckStep = -1;
    };

    // How many counts the table needs, without making it.
    static uint64_t Entries(const LineRules& rules, const Layout& layout);
    // Bytes per count for the game.
    static int CountBytes(const LineRules& rules);

    ReachableCounts(const LineRules& rules, const Layout& layout);

    // The passing lines of each class, counted with two steps of states at a time: a small
    // part of the table's memory, but nothing to unrank with.
    static std::vector<WideCount> Totals(const LineRules& rules, const Layout& layout);

    int ClassCount() const { return static_cast<int>(finals_.size()); }
    WideCount ClassSize(int cls) const {
        return finalEnds_[cls].empty() ? 0 : finalEnds_[cls].back();
    }
    void Unrank(int cls, WideCount u, Number* out) const;
    void Rank(const Number* numbers, int& cls, WideCount& u) const;
    // Each passing line weighted by weight[cls]; p[v] is the weighted share holding v.
    std::array<double, MaxNumber + 1> Inclusion(const std::vector<double>& weight) const;

private:
    struct State {
        int c = 0, f = 0, s = 0, o = 0, r = 0;
    };
    // The states kept after a step for one count c; empty when width is 0.
    struct Box {
        std::size_t base = 0;
        int f0 = 0, fw = 0, s0 = 0, sw = 0, o0 = 0, ow = 0, rw = 0;
        // Index(t) as origin + f * fStride + s * sStride + o * oStride + r, for the rank walk:
        // no subtractions, and the same sum whichever parts the state holds (the others are 0).
        std::ptrdiff_t origin = 0, fStride = 0, sStride = 0, oStride = 0;
        std::size_t Size() const { return std::size_t(fw) * sw * ow * rw; }
        bool Holds(const State& t) const {
            return t.f >= f0 && t.f < f0 + fw && t.s >= s0 && t.s < s0 + sw && t.o >= o0 &&
                   t.o < o0 + ow && t.r < rw;
        }
        std::size_t Index(const State& t) const {
            return base + ((std::size_t(t.f - f0) * sw + (t.s - s0)) * ow + (t.o - o0)) * rw + t.r;
        }
        // Whether the box holds (f, s, o) with no run, and where it keeps it.
        bool HoldsLeft(std::ptrdiff_t f, std::ptrdiff_t s, std::ptrdiff_t o) const {
            return std::size_t(f - f0) < std::size_t(fw) && std::size_t(s - s0) < std::size_t(sw) &&
                   std::size_t(o - o0) < std::size_t(ow);
        }
        std::ptrdiff_t LeftIndex(std::ptrdiff_t f, std::ptrdiff_t s, std::ptrdiff_t o) const {
            return origin + f * fStride + s * sStride + o * oStride;
        }
    };
    struct BoxesOnly {};
    ReachableCounts(const LineRules& rules, const Layout& layout, BoxesOnly);
    static std::vector<Box> Boxes(const LineRules& rules, const Layout& layout, uint64_t& entries);
    const Box& BoxAt(int step, int c) const { return boxes_[step * (k_ + 2) + c]; }
    // The count of state t after step, or 0 when t is not kept.
    WideCount At(int step, const State& t) const;
    WideCount Count(std::size_t index) const {
        return wide_ ? wideTable_[index] : narrowTable_[index];
    }
    State Taken(int v, const State& from) const {
        State t = from;
        t.c += 1;
        t.f += rules_.form == FixedForm::Some && isFixed_[v];
        if (layout_.sumInState) t.s += v;
        if (layout_.oddInState) t.o += v & 1;
        if (layout_.runInState) t.r += 1;
        return t;
    }
    // Calls visit(fromIndex, toIndex, taken) for each move from the states after step - 1.
    template <class Visit>
    void ForEachMove(int step, Visit&& visit) const;
    template <class Cell>
    void Fill(std::vector<Cell>& table);
    template <bool runs, class Cell>
    void UnrankIn(const Cell* table, int cls, WideCount rank, Number* out) const;

    LineRules rules_;
    Layout layout_;
    int n_ = 0, k_ = 0;
    bool isFixed_[MaxNumber + 1] = {};
    // What taking v removes from the state on the way back, and whether v may be left: looked
    // up per number so that the rank walk does not branch on the layout.
    std::array<std::ptrdiff_t, MaxNumber + 1> fixedStep_{}, sumStep_{}, oddStep_{};
    std::array<bool, MaxNumber + 1> leavable_{};
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
