#include "cli/option_lines.h"

#include "filters/draw_choice.h"

namespace combogen {

LineRules RulesOf(const RunSettings& settings, const NumberLists& lists) {
    LineRules rules;
    rules.poolSize = settings.PoolSize;
    rules.pickCount = settings.PickCount;
    rules.form = settings.Form;
    rules.fixed = lists.fixed;
    rules.fixedCount = lists.FixedCount;
    rules.fixedMin = settings.FixedMin;
    rules.fixedMax = settings.FixedMax;
    return rules;
}

std::optional<std::string> AddFilters(const Options& options, LineRules& rules) {
    rules.filters = options.filters;
    return ExcludeNumbers(options.exclude, rules, rules.filters);
}

std::optional<Rejection> OptionLines::Prepare(const LineRules& rules, const Options& options,
                                              const NumberLists& lists, bool sortOutput,
                                              int64_t lineCount, bool checkOnly) {
    rules_ = rules;
    sortOutput_ = sortOutput;
    if (auto wrong = AddFilters(options, rules_)) {
        return Rejection(Field::Options, std::move(*wrong), "--exclude");
    }
    DrawChoice choice;
    if (rules_.filters.Any() || options.unique) {
        if (auto impossible = ChooseDraw(rules_, lists, options.unique, choice)) {
            return Rejection(Field::Options, std::move(*impossible),
                             choice.about != nullptr ? choice.about : "");
        }
        sets_ = std::move(choice.sets);
        recheck_ = choice.recheck;
    }
    if (options.unique) {
        std::string what = DescribeLines(rules_);
        if (rules_.filters.Any()) what += " with " + DescribeFilters(rules_.filters);
        if (auto refusal = UniqueLines::Refusal(*sets_, lineCount, what, choice.passing)) {
            return Rejection(Field::Options, std::move(*refusal), "--unique");
        }
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
