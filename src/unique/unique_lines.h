// Runs in which no two lines hold the same set of main numbers.
//
// Each line is drawn as the run draws it (filters included) and drawn again when its set was
// used: the distribution conditioned on not repeating. From the point where an eighth of the
// passing lines are used (and at most 16,777,216 remain) the unused lines
// are listed by rank and each line is drawn from that list (uniformly, or in an eight-argument
// run by class with the class's weight), swapped out and unranked: the same conditional
// distribution, at a constant cost per line, so a run can exhaust every line.
//
// Memory: one bit per passing line when there are at most 2^30 of them (128 MiB; 6 of 49
// takes 1.7 MB), plus 4 bytes per listed line. Beyond 2^30 passing lines the used sets are
// kept in a hash table of 32 bytes per line, and a run may ask for at most 4,194,304 lines.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "filters/conditioned_draw.h"

namespace combogen {

class UniqueLines {
public:
    static constexpr WideCount MaxBitmapLines = WideCount{1} << 30;
    static constexpr int64_t MaxHashedLines = int64_t{1} << 22;
    static constexpr std::size_t MaxListedLines = std::size_t{1} << 24;

    // Why a run of lineCount lines cannot be unique, or nothing. `what` names the lines, as
    // "lines of 6 from 1..49". passing: how many lines pass when sets count fewer filters than
    // the run has (0: sets.Total()).
    static std::optional<std::string> Refusal(const PassingSets& sets, int64_t lineCount,
                                              const std::string& what, WideCount passing = 0);

    // sets and draw must outlive this. recheck: the draw rechecks filters that sets do not
    // count, so the marks are kept by the counted ranks and the unused lines are never listed
    // (the list would hold lines that fail).
    UniqueLines(const PassingSets& sets, const ConditionedDraw& draw, int64_t lineCount,
                bool recheck = false);

    void Draw(RandomGenerator& g, NumberLists& lists, DrawnLine& line);

private:
    bool MarkNew(const DrawnLine& line);
    void StartList();

    const PassingSets& sets_;
    const ConditionedDraw& draw_;
    int k_;
    // Bit per passing line, by class offset plus rank.
    std::vector<uint64_t> used_;
    std::vector<WideCount> classOffset_;
    WideCount total_ = 0;
    WideCount usedCount_ = 0;
    // Above 2^30 passing lines: the sets themselves, open addressing, 0 for an empty slot.
    std::vector<WideCount> hashed_;
    // The unused ranks, one segment per class, each live from its start for remaining_ entries.
    bool listing_ = false;
    bool recheck_ = false;
    std::vector<uint32_t> listed_;
    std::vector<std::size_t> segmentStart_, remaining_;
    std::vector<WideCount> classWeight_;  // per remaining line of the class, fixed point
};

}  // namespace combogen
