#include "filters/conditioned_draw.h"

#include <algorithm>

#include "combination/pool.h"

namespace combogen {

void DrawUnfiltered(RandomGenerator& g, NumberLists& lists, const LineRules& rules, bool sortOutput,
                    DrawnLine& line) {
    const int k = rules.pickCount;
    line.text = DrawLine(g, lists, rules.form, k, rules.fixedMin, rules.fixedMax, sortOutput);
    std::copy_n(DrawnNumbers(lists, rules.form), k, line.numbers.begin());
    line.ranked = false;
}

ConditionedDraw::ConditionedDraw(const LineRules& rules, const PassingSets* sets, bool sortOutput,
                                 bool recheck)
    : rules_(rules),
      sets_(sets),
      sortOutput_(sortOutput),
      filtered_(rules.filters.Any()),
      fromCounts_(filtered_ && sets != nullptr && (recheck || !sets->MostPass())),
      recheck_(recheck),
      check_(rules.filters) {
    if (!recheck_ || sets_ == nullptr) return;
    const LineFilters& counted = sets_->Rules().filters;
    LineFilters rechecked = rules.filters;
    for (const Filter* filter : Filters()) {
        if (filter->on(counted)) filter->leaveOut(rechecked);
    }
    uncounted_ = FilterCheck(rechecked);
}

void ConditionedDraw::Draw(RandomGenerator& g, NumberLists& lists, DrawnLine& line) const {
    if (fromCounts_) {
        int cls = 0;
        WideCount u = 0;
        do {
            cls = sets_->DrawClass(g);
            u = WideBelow(g, sets_->ClassSize(cls));
            sets_->Unrank(cls, u, lists.combination.data());
        } while (recheck_ && !uncounted_.Passes(lists.combination.data(), rules_.pickCount));
        Finish(g, lists, cls, u, line);
        return;
    }
    do {
        DrawUnfiltered(g, lists, rules_, sortOutput_, line);
    } while (filtered_ && !check_.Passes(line.numbers.data(), rules_.pickCount));
}

void ConditionedDraw::FromRank(RandomGenerator& g, NumberLists& lists, int cls, WideCount u,
                               DrawnLine& line) const {
    sets_->Unrank(cls, u, lists.combination.data());
    Finish(g, lists, cls, u, line);
}

void ConditionedDraw::Finish(RandomGenerator& g, NumberLists& lists, int cls, WideCount u,
                             DrawnLine& line) const {
    const int k = rules_.pickCount;
    // A uniform order of the set is what the unfiltered drawing gives an unsorted line.
    if (!sortOutput_) Shuffle(g, lists.combination, k);
    std::copy_n(lists.combination.begin(), k, line.numbers.begin());
    line.text = FormatCombination(lists.combination, k);
    line.ranked = true;
    line.cls = cls;
    line.rank = u;
}

}  // namespace combogen
