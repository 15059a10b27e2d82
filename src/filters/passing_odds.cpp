// The share of the passing lines that hold each number, for reports.
#include "filters/passing_sets.h"

namespace combogen {

std::array<double, MaxNumber + 1> PassingSets::InclusionProbabilities() const {
    std::array<double, MaxNumber + 1> p{};
    if (tooLarge_ || Total() == 0) return p;
    const LineRules& rules = layout_.rules;
    if (reachable_) {
        std::vector<double> weight(classCount_, 1.0);
        if (rules.form == FixedForm::Some) {
            for (int cls = 0; cls < classCount_; ++cls) {
                weight[cls] = 1.0 / static_cast<double>(classSpace_[cls]);
            }
        }
        return reachable_->Inclusion(weight);
    }
    const int n = rules.poolSize;
    // after[index]: the weight of the passing lines that complete a state, each weighted by its
    // probability under the unfiltered drawing (relative).
    std::vector<double> after(layer_), before(layer_);
    double total = 0;
    for (std::size_t index = 0; index < layer_; ++index) {
        const CountState s = Decode(index);
        if (!layout_.Accepted(s)) continue;
        after[index] = rules.form == FixedForm::Some
                           ? 1.0 / static_cast<double>(classSpace_[s.f - rules.fixedMin])
                           : 1.0;
        total += static_cast<double>(At(n, index)) * after[index];
    }
    for (int step = n; step >= 1; --step) {
        const int v = layout_.order[step];
        if (step == layout_.checkStep) {
            for (std::size_t index = 0; index < layer_; ++index) {
                if (layout_.DiesAt(step, Decode(index).c)) after[index] = 0;
            }
        }
        double taking = 0;
        for (std::size_t index = 0; index < layer_; ++index) {
            const CountState s = Decode(index);
            double weight = layout_.CanLeave(v) ? after[Index(s.c, s.f, s.a, s.b, 0)] : 0.0;
            if (CanTake(v, s)) {
                const double taken = after[Index(layout_.Taken(v, s))];
                weight += taken;
                taking += static_cast<double>(At(step - 1, index)) * taken;
            }
            before[index] = weight;
        }
        p[v] = taking / total;
        after.swap(before);
    }
    return p;
}

}  // namespace combogen
