#include "filters/draw_choice.h"

#include <algorithm>
#include <vector>

#include "filters/conditioned_draw.h"
#include "filters/filter.h"

namespace combogen {

namespace {

constexpr int Trials = 4096;

// A generator of its own with a fixed state, for trials: the answer depends on the arguments
// alone, and the run's own generator is left untouched.
RandomGenerator TrialGenerator() {
    RandomGenerator g{};
    for (uint32_t i = 0; i < 256; ++i) g.mm[i] = (i + 1) * 0x9E3779B9u;
    g.randcnt = 256;
    SkipWords(g, 4096);
    return g;
}

// The filters that no line meets: the first that fails alone, or else all of them together.
LineFilters Unmet(const LineRules& rules) {
    const LineFilters& all = rules.filters;
    LineRules single = rules;
    for (const Filter* filter : Filters()) {
        if (!filter->on(all)) continue;
        single.filters = {};
        filter->copy(all, single.filters);
        const PassingSets full(single);
        const bool fails = !full.TooLarge() ? full.Total() == 0 : [&single] {
            const PassingSets reachable(single, PassingSets::Table::Reachable);
            return !reachable.TooLarge() && reachable.Total() == 0;
        }();
        if (fails) return single.filters;
    }
    return all;
}

// The option a refusal over these filters concerns: the first of them.
const char* FirstOn(const LineFilters& filters) {
    for (const Filter* filter : Filters()) {
        if (filter->on(filters)) return filter->word;
    }
    return nullptr;
}

// Whether at least half of the lines drawn as usual pass the filters.
bool MostPassInTrial(const LineRules& rules, const NumberLists& lists) {
    RandomGenerator g = TrialGenerator();
    NumberLists trial = lists;
    DrawnLine line;
    const FilterCheck check(rules.filters);
    int passed = 0;
    for (int i = 0; i < Trials; ++i) {
        DrawUnfiltered(g, trial, rules, true, line);
        passed += check.Passes(line.numbers.data(), rules.pickCount);
    }
    return 2 * passed >= Trials;
}

// The rows that can be left out of the counts and rechecked, the first left out first.
std::vector<const Filter*> Rechecked() {
    std::vector<const Filter*> rows;
    for (const Filter* filter : Filters()) {
        if (filter->recheckOrder >= 0) rows.push_back(filter);
    }
    std::sort(rows.begin(), rows.end(),
              [](const Filter* x, const Filter* y) { return x->recheckOrder < y->recheckOrder; });
    return rows;
}

// Counts of the reachable states over some of the filters, from which enough of the lines
// drawn (in a trial) pass the others: the first that half pass, or else the best that an
// eighth pass; or nothing. Each subset left out is a bit set over Rechecked(), in order.
std::unique_ptr<PassingSets> CountedWithRecheck(const LineRules& rules) {
    const LineFilters& all = rules.filters;
    const std::vector<const Filter*> rows = Rechecked();
    const int count = static_cast<int>(rows.size());
    int present = 0;
    for (int i = 0; i < count; ++i) present |= rows[i]->on(all) ? 1 << i : 0;
    std::vector<LineFilters> fewer;
    std::vector<bool> tried(std::size_t{1} << count, false);
    for (int without = 1; without < (1 << count) - 1; ++without) {
        const int dropped = without & present;
        if (dropped == 0 || tried[dropped]) continue;
        tried[dropped] = true;
        LineFilters& filters = fewer.emplace_back(all);
        for (int i = 0; i < count; ++i) {
            if ((dropped >> i & 1) != 0) rows[i]->leaveOut(filters);
        }
    }
    const FilterCheck check(all);
    std::unique_ptr<PassingSets> best;
    int bestPassed = Trials / 8 - 1;
    for (const LineFilters& filters : fewer) {
        LineRules counted = rules;
        counted.filters = filters;
        auto sets = std::make_unique<PassingSets>(counted, PassingSets::Table::Reachable);
        if (sets->TooLarge()) continue;
        if (sets->Total() == 0) return sets;  // then no line passes them all either
        RandomGenerator g = TrialGenerator();
        Number numbers[MaxNumber];
        int passed = 0;
        for (int i = 0; i < Trials; ++i) {
            const int cls = sets->DrawClass(g);
            sets->Unrank(cls, WideBelow(g, sets->ClassSize(cls)), numbers);
            passed += check.Passes(numbers, rules.pickCount);
        }
        if (2 * passed >= Trials) return sets;
        if (passed > bestPassed) {
            bestPassed = passed;
            best = std::move(sets);
        }
    }
    return best;
}

// Counts too large even over the reachable states: the first filter (in the order of advice)
// whose leaving out makes them fit, or else the one whose leaving out saves most.
std::string TooLargeFor(const LineRules& rules) {
    const LineFilters& all = rules.filters;
    std::vector<const Filter*> rows;
    for (const Filter* filter : Filters()) {
        if (filter->on(all)) rows.push_back(filter);
    }
    std::sort(rows.begin(), rows.end(),
              [](const Filter* x, const Filter* y) { return x->adviceOrder < y->adviceOrder; });
    const char* leave = "a filter";
    uint64_t least = UINT64_MAX;
    for (const Filter* row : rows) {
        LineRules fewer = rules;
        row->leaveOut(fewer.filters);
        const uint64_t bytes = PassingSets::ReachableBytes(fewer);
        if (bytes <= PassingSets::MaxReachableBytes) {
            leave = row->word;
            break;
        }
        if (bytes < least) {
            least = bytes;
            leave = row->word;
        }
    }
    return DescribeFilters(all) + " together need more than " +
           std::to_string(PassingSets::MaxReachableBytes >> 20) + " MiB of counts for " +
           DescribeLines(rules) + "; leave " + leave + " out";
}

}  // namespace

std::optional<std::string> ChooseDraw(const LineRules& rules, const NumberLists& lists, bool unique,
                                      DrawChoice& choice) {
    choice.sets = std::make_unique<PassingSets>(rules);
    if (choice.sets->TooLarge()) {
        if (!unique && MostPassInTrial(rules, lists)) {
            // Drawing again until a line passes needs no counts.
            choice.sets.reset();
            return std::nullopt;
        }
        choice.sets = std::make_unique<PassingSets>(rules, PassingSets::Table::Reachable);
        if (choice.sets->TooLarge()) {
            if (!(choice.sets = CountedWithRecheck(rules))) {
                choice.about = FirstOn(rules.filters);
                return TooLargeFor(rules);
            }
            choice.recheck = true;
            // How many pass them all, counted a step at a time: a run where none does would
            // draw again forever, and --unique refuses only lines that do not exist.
            if (choice.sets->Total() != 0) choice.passing = PassingSets::PassingTotal(rules);
        }
    }
    if (choice.sets->Total() == 0 || (choice.recheck && choice.passing == 0)) {
        // A line with the fixed numbers always exists, so only filters can empty the run.
        const LineFilters unmet = Unmet(rules);
        choice.about = FirstOn(unmet);
        return "no line of " + DescribeLine(rules) + " has " + DescribeFilters(unmet);
    }
    return std::nullopt;
}

}  // namespace combogen
