#include "cli/wheel_run.h"

#include <algorithm>
#include <limits>

#include "cli/option_lines.h"
#include "combination/pool.h"
#include "failure/failure.h"
#include "filters/filter.h"
#include "platform/clock.h"
#include "platform/process.h"
#include "platform/terminal.h"
#include "random/wide_draw.h"
#include "text/integer_text.h"
#include "wheel/bounds.h"
#include "wheel/coverage_order.h"
#include "wheel/guarantee.h"

namespace combogen {

namespace {

// "87.30 %", rounded down, so that a share short of all never reads 100.00 %.
std::string ShareText(uint64_t part, uint64_t whole) {
    const auto hundredths = static_cast<uint64_t>(static_cast<WideCount>(part) * 10000 / whole);
    const std::string cents = std::to_string(100 + hundredths % 100).substr(1);
    return std::to_string(hundredths / 100) + "." + cents + " %";
}

std::string BoundText(const WheelBound& bound) {
    return "a lower bound is " + std::to_string(bound.lines) + " (" + BoundName(bound.kind) + ")";
}

// On a terminal, after the first second, one line rewritten now and then; erased at the end.
class Progress {
public:
    Progress() : shown_(StandardErrorIsTerminal()), start_(shown_ ? SteadyMilliseconds() : 0) {}
    ~Progress() {
        if (width_ == 0) return;
        std::string blank(width_ + 2, ' ');
        blank.front() = blank.back() = '\r';
        WriteStandardError(blank);
    }
    void Show(int64_t lines, int64_t uncovered) {
        if (!shown_) return;
        const int64_t now = SteadyMilliseconds();
        if (now - start_ < 1000 || now - last_ < 250) return;
        last_ = now;
        std::string text = "combogen: wheel search, " + Plural(lines, "line", "lines") +
                           " so far, " + Plural(uncovered, "draw", "draws") + " still unmet";
        const std::size_t length = text.size();
        if (length < width_) text.append(width_ - length, ' ');
        width_ = std::max(width_, length);
        text.insert(text.begin(), '\r');
        WriteStandardError(text);
    }

private:
    bool shown_;
    int64_t start_;
    int64_t last_ = std::numeric_limits<int64_t>::min() / 2;
    std::size_t width_ = 0;
};

[[noreturn]] __attribute__((noinline)) void WheelFault(const std::string& what) {
    throw Exception("the wheel found fails its check: " + what, __builtin_return_address(0));
}

}  // namespace

std::optional<Rejection> WheelRun::Prepare(const RunSettings& settings, const NumberLists& lists,
                                           const Options& options) {
    settings_ = settings;
    options_ = &options;
    const int t = options.wheel->t, m = options.wheel->m;
    const std::string prize = "--wheel " + std::to_string(t) + ":" + std::to_string(m);
    if (settings.Form == FixedForm::Some) {
        return Rejection(Field::Options,
                         "--wheel takes five or six arguments: key numbers come from FIXED-FILE, "
                         "every line holding all of them",
                         "--wheel");
    }
    keys_.assign(lists.fixed.begin(), lists.fixed.begin() + lists.FixedCount);
    LineRules rules;
    rules.poolSize = settings.PoolSize;
    rules.fixed = lists.fixed;
    rules.fixedCount = lists.FixedCount;
    if (auto wrong = AddFilters(options, rules)) {
        return Rejection(Field::Options, std::move(*wrong), "--exclude");
    }
    filters_ = rules.filters;

    const auto isKey = [&](int v) {
        return std::find(keys_.begin(), keys_.end(), v) != keys_.end();
    };
    for (const int v : options.numbers) {
        if (v > settings.PoolSize) {
            return Rejection(Field::Options,
                             "--numbers " + std::to_string(v) + " is not in the pool 1.." +
                                 std::to_string(settings.PoolSize),
                             "--numbers");
        }
        if (isKey(v)) {
            return Rejection(Field::Options,
                             "--numbers " + std::to_string(v) +
                                 " is a key number, in every line already; list only the numbers "
                                 "to wheel",
                             "--numbers");
        }
        if (filters_.excluded[v]) {
            return Rejection(Field::Options,
                             "--exclude " + std::to_string(v) + " is also in --numbers",
                             "--exclude");
        }
    }
    wheeled_.clear();
    for (int v = 1; v <= settings.PoolSize; ++v) {
        const bool listed = options.numbers.empty() ? !isKey(v) && !filters_.excluded[v]
                                                    : std::binary_search(options.numbers.begin(),
                                                                         options.numbers.end(), v);
        if (listed) wheeled_.push_back(static_cast<Number>(v));
    }
    const int f = static_cast<int>(keys_.size());
    const int k = settings.PickCount - f;
    const int v = static_cast<int>(wheeled_.size());
    const std::string lineSize = f == 0 ? "PICK " + std::to_string(k)
                                        : "the " + std::to_string(k) +
                                              " numbers a line holds besides its " +
                                              Plural(f, "key number", "key numbers");
    if (m > k) return Rejection(Field::Options, prize + ": M is more than " + lineSize, "--wheel");
    if (k > v) {
        return Rejection(Field::Options,
                         lineSize + (f == 0 ? " is" : " are") + " more than the " +
                             Plural(v, "number", "numbers") + " to wheel",
                         "--numbers");
    }
    if (!DrawCount(v, m)) {
        return Rejection(
            Field::Options,
            prize + " over " + std::to_string(v) + " numbers: more than 2^62 draws to check",
            "--wheel");
    }
    goal_ = WheelGoal{v, k, t, m};
    const WheelBound bound = WheelLowerBound(goal_);
    if (bound.lines > settings.LineCount && !options.budget) {
        return Rejection(Field::LineCount,
                         "no wheel of at most " + Plural(settings.LineCount, "line", "lines") +
                             " gives " + std::to_string(t) + " if " + std::to_string(m) + " over " +
                             std::to_string(v) + " numbers: " + BoundText(bound));
    }
    return std::nullopt;
}

std::optional<Rejection> WheelRun::Find(RandomGenerator& g) {
    WheelSearch search;
    search.goal = goal_;
    if (options_->effort) {
        const int64_t base = DefaultWheelEffort(goal_);
        const int64_t percent = *options_->effort;
        search.effort = base > std::numeric_limits<int64_t>::max() / percent
                            ? std::numeric_limits<int64_t>::max()
                            : std::max<int64_t>(1, base * percent / 100);
    }
    const bool filtered = filters_.LimitsLines();
    if (filtered) {
        // The filters that are on, found once: the search asks about many lines.
        search.allowed = [this, check = FilterCheck(filters_)](std::span<const uint8_t> line) {
            NumberList numbers{};
            int count = 0;
            for (const Number key : keys_) numbers[count++] = key;
            for (const uint8_t i : line) numbers[count++] = wheeled_[i];
            return check.Passes(numbers.data(), count);
        };
    }
    Progress progress;
    search.progress = [&progress](int64_t lines, int64_t uncovered, double done) {
        progress.Show(lines, uncovered);
        ShowSearchProgress(lines, uncovered, done);
    };
    if (options_->budget) search.budget = settings_.LineCount;
    WheelFound found = FindWheel(search, g);
    const std::string goal = std::to_string(goal_.t) + " if " + std::to_string(goal_.m) + " over " +
                             Plural(goal_.v, "number", "numbers");
    const bool partial = !found.covers && options_->budget && !found.lines.empty();
    if (!found.covers && !partial) {
        if (!filtered) WheelFault("the search found no wheel for " + goal);
        return Rejection(Field::Options, "no wheel of lines passing " + DescribeFilters(filters_) +
                                             " gives " + goal);
    }
    const auto size = static_cast<int64_t>(found.lines.size());
    if (size > settings_.LineCount && !options_->budget) {
        return Rejection(
            Field::LineCount,
            "the fewest lines found for " + goal + " is " + std::to_string(size) + ", more than " +
                std::to_string(settings_.LineCount) + "; " + BoundText(WheelLowerBound(goal_)) +
                " (--effort may find fewer; --budget writes the lines that meet the most draws)");
    }

    // Before anything is written: distinct lines of k wheeled numbers that pass the filters,
    // and the guarantee over every m-set.
    // Element by element: GCC 12 warns falsely on the library's memcmp for vectors of bytes.
    std::sort(found.lines.begin(), found.lines.end(), [](const WheelLine& a, const WheelLine& b) {
        for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
            if (a[i] != b[i]) return a[i] < b[i];
        }
        return a.size() < b.size();
    });
    for (std::size_t i = 0; i < found.lines.size(); ++i) {
        const WheelLine& line = found.lines[i];
        if (static_cast<int>(line.size()) != goal_.k || !std::is_sorted(line.begin(), line.end()) ||
            std::adjacent_find(line.begin(), line.end()) != line.end() ||
            (!line.empty() && line.back() >= goal_.v)) {
            WheelFault("a line is not " + std::to_string(goal_.k) + " distinct wheeled numbers");
        }
        if (i > 0 && found.lines[i - 1] == line) WheelFault("a line repeats");
        if (search.allowed && !search.allowed(line)) WheelFault("a line fails the filters");
    }
    // Lines within a budget are not a wheel: their share is counted below, once they are cut.
    const GuaranteeCheck whole =
        partial ? GuaranteeCheck{} : CheckGuarantee(goal_.v, goal_.t, goal_.m, found.lines);
    if (!partial && !whole.met) {
        WheelFault(std::to_string(whole.draws - whole.metDraws) + " of " +
                   std::to_string(whole.draws) + " draws unmet for " + goal);
    }
    // Each first N lines meet as many draws as the order can make them; a budget keeps the
    // first LINES of a wheel that is longer.
    lines_ = OrderByCoverage(goal_.v, goal_.t, goal_.m, std::move(found.lines));
    if (static_cast<int64_t>(lines_.size()) > settings_.LineCount)
        lines_.resize(static_cast<std::size_t>(settings_.LineCount));
    if (partial || static_cast<int64_t>(lines_.size()) < size) {
        const GuaranteeCheck check = CheckGuarantee(goal_.v, goal_.t, goal_.m, lines_);
        WriteStandardError(
            "combogen: " + Plural(static_cast<int64_t>(lines_.size()), "line gives", "lines give") +
            " " + std::to_string(goal_.t) + " if " + std::to_string(goal_.m) + " for " +
            ShareText(check.metDraws, check.draws) + " of the draws with " +
            std::to_string(goal_.m) + " among your " + Plural(goal_.v, "number", "numbers") + " (" +
            std::to_string(check.metDraws) + " of " + std::to_string(check.draws) + ")\n");
        return std::nullopt;
    }
    // How good the wheel is: with --explain, or to a person at a terminal.
    if (options_->explain || StandardErrorIsTerminal()) {
        const WheelBound bound = WheelLowerBound(goal_);
        WriteStandardError("combogen: wheel of " + Plural(size, "line", "lines") + " for " + goal +
                           " (" + found.method + "); " + BoundText(bound) +
                           (size <= bound.lines ? ": optimal\n" : ": not proven optimal\n"));
    }
    return std::nullopt;
}

RunSettings WheelRun::Written() const {
    RunSettings written = settings_;
    written.LineCount = static_cast<int32_t>(lines_.size());
    return written;
}

void WheelRun::Write(RandomGenerator& g, OutputTextFile& output, LineTally* tally) {
    const Options& options = *options_;
    if (options.bonus) FillBonusPool(bonus_, options.bonus->count, options.bonus->pool);
    NumberList numbers{};
    LineText text;
    for (const WheelLine& line : lines_) {
        int count = 0;
        for (const Number key : keys_) numbers[count++] = key;
        for (const uint8_t i : line) numbers[count++] = wheeled_[i];
        if (settings_.SortOutput) {
            SortAscending(numbers, count);
        } else {
            Shuffle(g, numbers, count);
        }
        const CombinationText main = FormatCombination(numbers, count);
        ComposeBonusLine(g, bonus_, settings_.SortOutput, main.view(), text);
        WriteText(output, text.view());
        WriteLineEnd(output, options.lineFeedOnly);
        CheckIo();
        if (tally != nullptr) tally->Add(numbers.data(), count, bonus_.pool.data(), bonus_.count);
    }
}

}  // namespace combogen
