#include "cli/option_lines.h"

namespace combogen {

LineRules RulesOf(const RunSettings& settings, const NumberLists& lists, std::size_t argCount) {
    LineRules rules;
    rules.poolSize = settings.PoolSize;
    rules.pickCount = settings.PickCount;
    rules.form = FormOf(argCount);
    rules.fixed = lists.fixed;
    rules.fixedCount = lists.FixedCount;
    rules.fixedMin = settings.FixedMin;
    rules.fixedMax = settings.FixedMax;
    return rules;
}

std::optional<std::string> AddFilters(const Options& options, LineRules& rules) {
    LineFilters& filters = rules.filters;
    if (options.sum) filters.sum = CountRange{options.sum->min, options.sum->max};
    if (options.odd) filters.odd = CountRange{options.odd->min, options.odd->max};
    filters.maxRun = options.maxRun;
    return ExcludeNumbers(options.exclude, rules, filters);
}

namespace {

// "6 from 1..49", with the fixed numbers' part when there is one.
std::string DescribeLine(const LineRules& rules) {
    std::string text =
        std::to_string(rules.pickCount) + " from 1.." + std::to_string(rules.poolSize);
    if (rules.form == FixedForm::All && rules.fixedCount > 0) {
        text += " holding all " + std::to_string(rules.fixedCount) + " fixed numbers";
    } else if (rules.form == FixedForm::Some) {
        text += " holding " + std::to_string(rules.fixedMin) + " to " +
                std::to_string(rules.fixedMax) + " fixed numbers";
    }
    return text;
}

}  // namespace

std::string DescribeLines(const LineRules& rules) { return "lines of " + DescribeLine(rules); }

namespace {

// The filters that no line meets: the first that fails alone, or else all of them together.
std::string Unmet(const LineRules& rules) {
    const LineFilters& all = rules.filters;
    LineRules single = rules;
    const auto failsAlone = [&single](LineFilters only) {
        single.filters = only;
        const PassingSets full(single);
        if (!full.TooLarge()) return full.Total() == 0;
        const PassingSets reachable(single, PassingSets::Table::Reachable);
        return !reachable.TooLarge() && reachable.Total() == 0;
    };
    LineFilters only;
    if (all.sum && (only = {}, only.sum = all.sum, failsAlone(only))) return DescribeFilters(only);
    if (all.odd && (only = {}, only.odd = all.odd, failsAlone(only))) return DescribeFilters(only);
    if (all.maxRun && (only = {}, only.maxRun = all.maxRun, failsAlone(only))) {
        return DescribeFilters(only);
    }
    if (all.anyExcluded) {
        only = {};
        only.excluded = all.excluded;
        only.anyExcluded = true;
        if (failsAlone(only)) return DescribeFilters(only);
    }
    return DescribeFilters(all);
}

// Whether at least half of 4096 lines drawn as usual pass the filters, from a generator of its
// own with a fixed state: the answer depends on the arguments alone, and the run's own
// generator is left untouched.
bool MostPassInTrial(const LineRules& rules, const NumberLists& lists) {
    constexpr int Trials = 4096;
    RandomGenerator g{};
    for (uint32_t i = 0; i < 256; ++i) g.mm[i] = (i + 1) * 0x9E3779B9u;
    g.randcnt = 256;
    SkipWords(g, 4096);
    NumberLists trial = lists;
    DrawnLine line;
    int passed = 0;
    for (int i = 0; i < Trials; ++i) {
        DrawUnfiltered(g, trial, rules, true, line);
        passed += PassesFilters(rules.filters, line.numbers.data(), rules.pickCount);
    }
    return 2 * passed >= Trials;
}

// Counts of the reachable states over some of the filters, from which enough of the lines
// drawn (in a trial from a generator of its own) pass the others: the first that half pass,
// or else the best that an eighth pass; or nothing. Filters that swell the states most are
// left out first, --sum last.
std::unique_ptr<PassingSets> CountedWithRecheck(const LineRules& rules) {
    const LineFilters& all = rules.filters;
    // Bits of what is left out: 1 --odd, 2 --max-run, 4 --sum.
    std::vector<LineFilters> fewer;
    int tried = 0;
    for (const int without : {1, 2, 3, 4, 5, 6}) {
        const int present = (all.odd ? 1 : 0) | (all.maxRun ? 2 : 0) | (all.sum ? 4 : 0);
        const int dropped = without & present;
        if (dropped == 0 || (tried >> dropped & 1) != 0) continue;
        tried |= 1 << dropped;
        LineFilters& filters = fewer.emplace_back(all);
        if ((dropped & 1) != 0) filters.odd.reset();
        if ((dropped & 2) != 0) filters.maxRun.reset();
        if ((dropped & 4) != 0) filters.sum.reset();
    }
    constexpr int Trials = 4096;
    std::unique_ptr<PassingSets> best;
    int bestPassed = Trials / 8 - 1;
    for (const LineFilters& filters : fewer) {
        LineRules counted = rules;
        counted.filters = filters;
        auto sets = std::make_unique<PassingSets>(counted, PassingSets::Table::Reachable);
        if (sets->TooLarge()) continue;
        if (sets->Total() == 0) return sets;  // then no line passes them all either
        RandomGenerator g{};
        for (uint32_t i = 0; i < 256; ++i) g.mm[i] = (i + 1) * 0x9E3779B9u;
        g.randcnt = 256;
        SkipWords(g, 4096);
        Number numbers[MaxNumber];
        int passed = 0;
        for (int i = 0; i < Trials; ++i) {
            const int cls = sets->DrawClass(g);
            sets->Unrank(cls, WideBelow(g, sets->ClassSize(cls)), numbers);
            passed += PassesFilters(all, numbers, rules.pickCount);
        }
        if (2 * passed >= Trials) return sets;
        if (passed > bestPassed) {
            bestPassed = passed;
            best = std::move(sets);
        }
    }
    return best;
}

// Counts too large even over the reachable states: the first filter (sum last) whose leaving
// out makes them fit, or else the one whose leaving out saves most.
std::string TooLargeFor(const LineRules& rules) {
    const LineFilters& all = rules.filters;
    std::vector<std::pair<const char*, LineFilters>> without;
    if (all.maxRun) (without.emplace_back("--max-run", all)).second.maxRun.reset();
    if (all.odd) (without.emplace_back("--odd", all)).second.odd.reset();
    if (all.anyExcluded)
        without.emplace_back("--exclude", LineFilters{all.sum, all.odd, all.maxRun});
    if (all.sum) (without.emplace_back("--sum", all)).second.sum.reset();
    const char* leave = "a filter";
    uint64_t least = UINT64_MAX;
    for (const auto& [name, filters] : without) {
        LineRules fewer = rules;
        fewer.filters = filters;
        const uint64_t bytes = PassingSets::ReachableBytes(fewer);
        if (bytes <= PassingSets::MaxReachableBytes) {
            leave = name;
            break;
        }
        if (bytes < least) {
            least = bytes;
            leave = name;
        }
    }
    return DescribeFilters(all) + " together need more than " +
           std::to_string(PassingSets::MaxReachableBytes >> 20) + " MiB of counts for " +
           DescribeLines(rules) + "; leave " + leave + " out";
}

}  // namespace

std::optional<std::string> OptionLines::Prepare(const LineRules& rules, const Options& options,
                                                const NumberLists& lists, bool sortOutput,
                                                int64_t lineCount, bool checkOnly) {
    rules_ = rules;
    sortOutput_ = sortOutput;
    if (auto wrong = AddFilters(options, rules_)) return wrong;
    WideCount passing = 0;  // lines that pass every filter, when sets_ count fewer
    if (rules_.filters.Any() || options.unique) {
        sets_ = std::make_unique<PassingSets>(rules_);
        if (sets_->TooLarge()) {
            if (!options.unique && MostPassInTrial(rules_, lists)) {
                // Drawing again until a line passes needs no counts.
                sets_.reset();
            } else {
                sets_ = std::make_unique<PassingSets>(rules_, PassingSets::Table::Reachable);
                if (sets_->TooLarge()) {
                    if (!(sets_ = CountedWithRecheck(rules_))) return TooLargeFor(rules_);
                    recheck_ = true;
                    // How many pass them all, counted a step at a time: a run where none does
                    // would draw again forever, and --unique refuses only lines that do not
                    // exist.
                    if (sets_->Total() != 0) passing = PassingSets::PassingTotal(rules_);
                }
            }
        }
        if (sets_ && (sets_->Total() == 0 || (recheck_ && passing == 0))) {
            // A line with the fixed numbers always exists, so only filters can empty the run.
            return "no line of " + DescribeLine(rules_) + " has " + Unmet(rules_);
        }
    }
    if (options.unique) {
        std::string what = DescribeLines(rules_);
        if (rules_.filters.Any()) what += " with " + DescribeFilters(rules_.filters);
        if (auto refusal = UniqueLines::Refusal(*sets_, lineCount, what, passing)) return refusal;
    }
    if (checkOnly) return std::nullopt;
    draw_ = std::make_unique<ConditionedDraw>(rules_, sets_.get(), sortOutput_, recheck_);
    if (options.unique)
        unique_ = std::make_unique<UniqueLines>(*sets_, *draw_, lineCount, recheck_);
    if (options.bonus) FillBonusPool(bonus_, options.bonus->count, options.bonus->pool);
    return std::nullopt;
}

std::array<double, MaxNumber + 1> OptionLines::MainNumberOdds() const {
    if (!sets_ || recheck_) return {};
    return sets_->InclusionProbabilities();
}

std::vector<double> OptionLines::MainPairOdds(uint64_t limit) const {
    if (!sets_ || sets_->Total() == 0 || sets_->Total() > limit) return {};
    // A line of class c comes with probability (size / space) / weights / size.
    double weights = 0;
    for (int c = 0; c < sets_->ClassCount(); ++c) {
        if (sets_->ClassSize(c) > 0) {
            weights += static_cast<double>(sets_->ClassSize(c)) /
                       static_cast<double>(sets_->ClassSpace(c));
        }
    }
    constexpr int Stride = MaxNumber + 1;
    std::vector<double> both(Stride * Stride, 0.0);
    Number line[MaxNumber];
    const int k = rules_.pickCount;
    for (int c = 0; c < sets_->ClassCount(); ++c) {
        const double each = 1.0 / (static_cast<double>(sets_->ClassSpace(c)) * weights);
        for (WideCount u = 0; u < sets_->ClassSize(c); ++u) {
            sets_->Unrank(c, u, line);
            for (int i = 0; i < k; ++i) {
                for (int j = i + 1; j < k; ++j) {
                    both[line[i] * Stride + line[j]] += each;
                    both[line[j] * Stride + line[i]] += each;
                }
            }
        }
    }
    return both;
}

void OptionLines::Next(RandomGenerator& g, NumberLists& lists, LineText& text) {
    if (unique_) {
        unique_->Draw(g, lists, line_);
    } else {
        draw_->Draw(g, lists, line_);
    }
    ComposeBonusLine(g, bonus_, sortOutput_, line_.text.view(), text);
}

}  // namespace combogen
