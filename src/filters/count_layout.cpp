#include "filters/count_layout.h"

#include <algorithm>
#include <cassert>

#include "filters/filter.h"

namespace combogen {

CountLayout::CountLayout(const LineRules& arguments) : rules(arguments) {
    const int n = rules.poolSize;
    const int k = rules.pickCount;
    for (int i = 0; i < rules.fixedCount; ++i) fixed[rules.fixed[i]] = true;
    for (int v = 1; v <= n; ++v) {
        fixedStep[v] = rules.form == FixedForm::Some && fixed[v] ? 1 : 0;
    }
    LineFilters& filters = rules.filters;
    for (const Filter* filter : Filters()) {
        if (filter->on(filters) && filter->meetsAll(filters, n, k)) filter->leaveOut(filters);
    }
    for (const Filter* filter : Filters()) {
        if (!filter->on(filters)) continue;
        if (filter->kind == Filter::Kind::Run) {
            runInState = true;
            runLimit = filter->longest(filters);
        } else if (filter->kind == Filter::Kind::Barred) {
            for (int v = 1; v <= n; ++v) barred[v] = barred[v] || filter->barred(filters, v);
        }
    }
    // The order decides the Total filters' part: the first one of weights 0 or 1 is kept by
    // the order when no run needs the numbers ascending.
    const Filter* ordered = nullptr;
    for (const Filter* filter : Filters()) {
        if (!filter->on(filters) || filter->kind != Filter::Kind::Total) continue;
        bool zeroOne = true;
        for (int v = 1; v <= n; ++v)
            zeroOne = zeroOne && filter->weight(v) >= 0 && filter->weight(v) <= 1;
        if (!runInState && zeroOne && ordered == nullptr) {
            ordered = filter;
            continue;
        }
        assert(totalsKept < MaxTotals);
        Total& total = totals[totalsKept++];
        for (int v = 1; v <= n; ++v) total.weight[v] = filter->weight(v);
        total.range = filter->range(filters);
        total.extent = std::clamp(total.range.max, 0, filter->highest(n, k)) + 1;
    }
    int step = 0;
    if (ordered != nullptr) {
        for (int v = 1; v <= n; ++v) {
            if (ordered->weight(v) == 1) order[++step] = v;
        }
        checkStep = step;
        checkRange = ordered->range(filters);
        for (int v = 1; v <= n; ++v) {
            if (ordered->weight(v) == 0) order[++step] = v;
        }
    } else {
        for (int v = 1; v <= n; ++v) order[++step] = v;
    }
}

void CountLayout::Walk(const bool* chosen, CountState* states) const {
    for (int step = 1; step <= rules.poolSize; ++step) {
        const int v = order[step];
        if (chosen[v]) {
            states[step] = Taken(v, states[step - 1]);
        } else {
            states[step] = states[step - 1];
            states[step].r = 0;
        }
    }
}

}  // namespace combogen
