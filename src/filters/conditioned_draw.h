// Drawing a line's main numbers conditioned on the filters, as if lines were drawn the run's
// usual way and drawn again until one passes.
//
// When at least half of the usual draws pass, that is what happens: at most two draws per
// line on average, and a filter that every line passes leaves the run's bytes unchanged.
// Otherwise a class and a rank are drawn from the exact counts (PassingSets) and the line is
// unranked: one walk over 1..n whatever the share of passing lines. Either way each passing
// line has its usual probability divided by the passing share.
//
// Where even the reachable states of every filter are too many, the counts may cover only some
// of the filters (recheck): a line drawn from them is drawn again until it passes the others
// too, which keeps every passing line's share as it was.
#pragma once

#include "combination/draw.h"
#include "filters/filter.h"
#include "filters/passing_sets.h"

namespace combogen {

struct DrawnLine {
    CombinationText text;
    NumberList numbers{};  // the k main numbers, in the line's order
    bool ranked = false;   // cls and rank are known (the line came from the counts)
    int cls = 0;
    WideCount rank = 0;
};

// The run's usual drawing for its form (five, six or eight arguments); the numbers are left in
// line.numbers.
void DrawUnfiltered(RandomGenerator& g, NumberLists& lists, const LineRules& rules, bool sortOutput,
                    DrawnLine& line);

class ConditionedDraw {
public:
    // sets may be null when there is no filter; it must outlive this. recheck: the sets count
    // the lines of fewer filters than rules has, and lines are always drawn from them.
    ConditionedDraw(const LineRules& rules, const PassingSets* sets, bool sortOutput,
                    bool recheck = false);

    void Draw(RandomGenerator& g, NumberLists& lists, DrawnLine& line) const;

    // The passing line of class cls and rank u, ascending when the run sorts and otherwise in
    // an order shuffled from the generator.
    void FromRank(RandomGenerator& g, NumberLists& lists, int cls, WideCount u,
                  DrawnLine& line) const;

private:
    // The line from the set unranked into lists.combination.
    void Finish(RandomGenerator& g, NumberLists& lists, int cls, WideCount u,
                DrawnLine& line) const;

    const LineRules& rules_;
    const PassingSets* sets_;
    bool sortOutput_;
    bool filtered_;
    bool fromCounts_;
    bool recheck_;
    // The run's filters, and with the recheck those that the counts do not hold (a line drawn
    // from the counts meets the others).
    FilterCheck check_;
    FilterCheck uncounted_;
};

}  // namespace combogen
