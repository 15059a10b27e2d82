// Counting a run's lines as they are written: how often each number came up, which pairs of
// numbers shared a line, and how many different lines there were. Nothing is allocated per line.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

#include "combination/number_list.h"
#include "stats/chi_square.h"

namespace combogen {

// A set of numbers 1..80 as bits: v is bit v - 1.
struct NumberSet {
    uint64_t low = 0;   // 1..64
    uint64_t high = 0;  // 65..80

    void Insert(Number v) {
        if (v <= 64) {
            low |= uint64_t{1} << (v - 1);
        } else {
            high |= uint64_t{1} << (v - 65);
        }
    }
    bool Contains(int v) const { return v <= 64 ? (low >> (v - 1)) & 1 : (high >> (v - 65)) & 1; }
    int Size() const { return std::popcount(low) + std::popcount(high); }
    NumberSet& operator|=(const NumberSet& other) {
        low |= other.low;
        high |= other.high;
        return *this;
    }
    bool operator==(const NumberSet&) const = default;
};

// The count of different sets of main numbers, exact within a memory bound: a bitmap indexed
// by the set's rank when the space of sets is small enough, else a hash table sized for the
// run's lines. Past HashLimit different sets the hash table stops counting.
class DistinctLines {
public:
    static constexpr uint64_t BitmapLimit = uint64_t{1} << 29;  // sets; 64 MiB of bits
    static constexpr uint64_t HashLimit = uint64_t{1} << 21;    // sets; 64 MiB of slots

    DistinctLines(int poolSize, int pick, uint64_t lineCount, uint64_t hashLimit = HashLimit);

    void Add(const NumberSet& line);
    bool Counted() const { return !overflowed_; }
    uint64_t Count() const { return count_; }
    bool UsesBitmap() const { return !bits_.empty(); }

private:
    uint64_t Rank(const NumberSet& line) const;
    void AddToBitmap(const NumberSet& line);
    void AddToTable(const NumberSet& line);

    uint64_t count_ = 0;
    bool overflowed_ = false;
    std::vector<uint64_t> bits_;
    std::vector<NumberSet> slots_;  // an empty set marks a free slot: a line is never empty
    // binomial_[m][j] = C(m, j), saturated at the largest uint64_t; ranks use only exact ones.
    std::vector<std::array<uint64_t, MaxNumber + 1>> binomial_;
};

// Everything the statistics need from the lines of a run.
class LineTally {
public:
    LineTally(int poolSize, int pick, uint64_t lineCount);

    // One line: its count main numbers and bonusCount bonus numbers, each in 1..80.
    void Add(const Number* main, int count, const Number* bonus, int bonusCount) {
        NumberSet set;
        for (int i = 0; i < count; ++i) {
            ++mainCounts_[main[i]];
            set.Insert(main[i]);
        }
        for (int i = 0; i < count; ++i) partners_[main[i]] |= set;
        for (int i = 0; i < bonusCount; ++i) ++bonusCounts_[bonus[i]];
        distinct_.Add(set);
        if (keep_) kept_.push_back(set);
        ++lines_;
    }

    // Keeps every line's main numbers too, for a wheel's prize table (a wheel has few lines).
    void KeepLines() { keep_ = true; }
    const std::vector<NumberSet>& Kept() const { return kept_; }

    uint64_t Lines() const { return lines_; }
    const NumberCounts& MainCounts() const { return mainCounts_; }
    const NumberCounts& BonusCounts() const { return bonusCounts_; }
    const DistinctLines& Distinct() const { return distinct_; }
    // Pairs v < w of main numbers that were together in at least one line.
    int PairsSeen() const;

private:
    uint64_t lines_ = 0;
    NumberCounts mainCounts_{};
    NumberCounts bonusCounts_{};
    std::array<NumberSet, MaxNumber + 1> partners_{};  // [v]: every number v shared a line with
    DistinctLines distinct_;
    bool keep_ = false;
    std::vector<NumberSet> kept_;
};

}  // namespace combogen
