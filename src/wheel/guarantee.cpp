#include "wheel/guarantee.h"

#include <algorithm>
#include <array>

#include "combination/binomial.h"

namespace combogen {

std::optional<uint64_t> DrawCount(int n, int r) {
    const WideCount count = Binomial(n, r);
    if (count > MaxCheckedDraws) return std::nullopt;
    return static_cast<uint64_t>(count);
}

namespace {

// Depth-first over the m-sets in lexicographic order. At depth d, met[j] (j = 1..t) holds the
// lines that meet the d numbers chosen so far in at least j of them: adding x gives
// met'[j] = met[j] | (met[j-1] & with[x]). Once met[t] has a line, every completion is met and
// is counted without a visit; once no line reaches t - (numbers still to choose), none is.
class Checker {
public:
    Checker(int v, int t, int m, std::span<const WheelLine> lines, uint64_t mostSteps)
        : v_(v), t_(t), m_(m), words_((lines.size() + 63) / 64), stepsLeft_(mostSteps) {
        with_.assign(static_cast<std::size_t>(v) * words_, 0);
        lastInLine_ = -1;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            for (const uint8_t x : lines[i]) {
                with_[x * words_ + i / 64] |= uint64_t{1} << (i % 64);
                lastInLine_ = std::max<int>(lastInLine_, x);
            }
        }
        limited_ = mostSteps > 0;
        levels_.assign(static_cast<std::size_t>(m + 1) * (t + 1) * words_, 0);
        // Every line meets the empty set in at least 0 numbers.
        for (int d = 0; d <= m; ++d) {
            uint64_t* all = Met(d, 0);
            for (std::size_t w = 0; w < words_; ++w) {
                const std::size_t left = lines.size() - w * 64;
                all[w] = left >= 64 ? ~uint64_t{0} : (uint64_t{1} << left) - 1;
            }
        }
        for (int n = 0; n <= v; ++n) {
            for (int r = 0; r <= m; ++r) binomial_[n][r] = DrawCount(n, r).value_or(0);
        }
    }

    GuaranteeCheck Run() {
        result_.draws = binomial_[v_][m_];
        Visit(0, 0);
        result_.met = result_.metDraws == result_.draws;
        return result_;
    }

    uint64_t StepsLeft() const { return stepsLeft_; }

private:
    uint64_t* Met(int depth, int j) {
        return levels_.data() + (static_cast<std::size_t>(depth) * (t_ + 1) + j) * words_;
    }

    void Unmet(int depth, int last) {
        if (!result_.unmet.empty()) return;
        result_.unmet.assign(chosen_.begin(), chosen_.begin() + depth);
        for (int x = last + 1; static_cast<int>(result_.unmet.size()) < m_; ++x) {
            result_.unmet.push_back(static_cast<uint8_t>(x));
        }
    }

    void Visit(int depth, int start) {
        const int left = m_ - depth - 1;  // numbers to choose after this one
        const int top = std::min(t_, depth + 1);
        for (int x = start; x <= v_ - 1 - left; ++x) {
            if (limited_ && stepsLeft_-- == 0) {
                result_.stopped = true;
                return;
            }
            chosen_[depth] = static_cast<uint8_t>(x);
            const uint64_t* with = with_.data() + x * words_;  // no lines: no words at all
            bool reached[81] = {};
            for (int j = top; j >= 1; --j) {
                const uint64_t* below = Met(depth, j - 1);
                const uint64_t* same = Met(depth, j);
                uint64_t* next = Met(depth + 1, j);
                uint64_t any = 0;
                for (std::size_t w = 0; w < words_; ++w) {
                    next[w] = (j <= depth ? same[w] : 0) | (below[w] & with[w]);
                    any |= next[w];
                }
                reached[j] = any != 0;
            }
            if (reached[t_]) {
                result_.metDraws += binomial_[v_ - 1 - x][left];
            } else if (left == 0 || (t_ - left >= 1 && !reached[t_ - left]) || x >= lastInLine_) {
                // No completion meets: the numbers after x are in no line, or too few remain.
                Unmet(depth + 1, x);
            } else {
                Visit(depth + 1, x + 1);
                if (result_.stopped) return;
            }
        }
    }

    int v_, t_, m_;
    std::size_t words_;
    int lastInLine_;  // the greatest number some line holds
    bool limited_ = false;
    uint64_t stepsLeft_;
    std::vector<uint64_t> with_;    // [x]: the lines holding x
    std::vector<uint64_t> levels_;  // [depth][j]: the lines meeting the prefix in >= j numbers
    std::array<std::array<uint64_t, 81>, 81> binomial_{};
    std::array<uint8_t, MaxNumber> chosen_{};
    GuaranteeCheck result_;
};

}  // namespace

GuaranteeCheck CheckGuarantee(int v, int t, int m, std::span<const WheelLine> lines,
                              uint64_t mostSteps) {
    Checker checker(v, t, m, lines, mostSteps);
    GuaranteeCheck check = checker.Run();
    check.steps = mostSteps - checker.StepsLeft();
    return check;
}

std::optional<uint64_t> MostCheckSteps(int v, int m) {
    uint64_t steps = 0;
    for (int d = 1; d <= m; ++d) {
        const auto count = DrawCount(v, d);
        if (!count || steps > MaxCheckedDraws - *count) return std::nullopt;
        steps += *count;
    }
    return steps;
}

}  // namespace combogen
