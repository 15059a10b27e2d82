// The filter engine on small games (pool up to 12), with both of its tables (every state, and
// only the states that can still reach a passing line): the passing lines each counts are the
// ones a brute-force pass over every line finds, class by class; Unrank(Rank(x)) is x; every
// line it unranks passes every rule; no reachable table beyond its cap is made. Then the recheck:
// the reachable counts over all filters but one (chosen by the input) match brute force for
// those filters, and the lines drawn from them and checked against the rest pass every rule.
// Input: pool, pick, form, FixedMin, FixedMax, a bit set of fixed numbers, a bit set of
// left-out numbers, and one byte each (0 meaning no filter) for --sum's MIN and width, --odd's
// MIN and width and --max-run; then which filter the recheck leaves out of its counts.
#include <cstdint>
#include <cstdlib>
#include <map>
#include <vector>

#include "filters/conditioned_draw.h"
#include "filters/passing_sets.h"

namespace {

using namespace combogen;

constexpr int MaxPool = 12;
constexpr int Stride = 37;  // of the passing lines, every 37th is ranked and unranked

void Require(bool condition) {
    if (!condition) std::abort();
}

uint8_t Byte(const uint8_t* data, std::size_t size, std::size_t i) {
    return i < size ? data[i] : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    LineRules rules;
    rules.poolSize = 1 + Byte(data, size, 0) % MaxPool;
    const int n = rules.poolSize;
    rules.pickCount = 1 + Byte(data, size, 1) % n;
    const int k = rules.pickCount;
    rules.form = static_cast<FixedForm>(Byte(data, size, 2) % 3);
    const unsigned fixedBits = Byte(data, size, 5) | (Byte(data, size, 6) << 8);
    const unsigned leftBits = Byte(data, size, 7) | (Byte(data, size, 8) << 8);
    if (rules.form != FixedForm::None) {
        for (int v = 1; v <= n; ++v) {
            if ((fixedBits >> (v - 1)) & 1)
                rules.fixed[rules.fixedCount++] = static_cast<Number>(v);
        }
    }
    const int f = rules.fixedCount;
    // The run's checks: all fixed numbers fit a line; FixedMin <= FixedMax < k, both reachable.
    if (rules.form == FixedForm::All && f > k) return 0;
    if (rules.form == FixedForm::Some) {
        rules.fixedMin = Byte(data, size, 3) % k;
        rules.fixedMax = rules.fixedMin + Byte(data, size, 4) % (k - rules.fixedMin);
        if (rules.fixedMax > f || k - rules.fixedMin > n - f) return 0;
    }
    LineFilters& filters = rules.filters;
    for (int v = 1; v <= n; ++v) {
        bool fixed = false;
        for (int i = 0; i < f; ++i) fixed = fixed || rules.fixed[i] == v;
        if (!fixed && ((leftBits >> (v - 1)) & 1)) filters.excluded[v] = filters.anyExcluded = true;
    }
    if (Byte(data, size, 9) != 0) {
        // Sums up to 78, the most a line of 1..12 can have: a table no larger than it need be.
        const int min = Byte(data, size, 9) % 79;
        filters.sum = CountRange{min, min + Byte(data, size, 10) % (79 - min)};
    }
    if (Byte(data, size, 11) != 0) {
        const int min = Byte(data, size, 11) % (k + 1);
        filters.odd = CountRange{min, min + Byte(data, size, 12) % (k + 1 - min)};
    }
    if (Byte(data, size, 13) != 0) filters.maxRun = 1 + Byte(data, size, 13) % k;

    // Tables of more than 2,048 counts take too long for a million runs; smaller games still
    // meet every filter and form.
    const uint64_t table = uint64_t(n + 1) * (k + 1) * (rules.fixedMax + 1) *
                           (filters.sum ? filters.sum->max + 1 : 1) *
                           (filters.odd && filters.maxRun ? k + 1 : 1) *
                           (filters.maxRun ? *filters.maxRun + 1 : 1);
    if (table > (uint64_t{1} << 11)) return 0;

    // Every line of k numbers, by its class (its count of fixed numbers less FixedMin): those
    // that pass the rules, and those that pass the rules with one filter left out.
    LineRules counted = rules;
    const int dropped = Byte(data, size, 14) % 3;
    if (dropped == 0) counted.filters.sum.reset();
    if (dropped == 1) counted.filters.odd.reset();
    if (dropped == 2) counted.filters.maxRun.reset();
    const bool dropsOne = (dropped == 0 && filters.sum) || (dropped == 1 && filters.odd) ||
                          (dropped == 2 && filters.maxRun);
    std::map<int, WideCount> expected, expectedCounted;
    std::vector<std::vector<Number>> lines;  // a spread of the passing lines, for Rank
    std::vector<Number> line(k);
    bool isFixed[MaxPool + 1] = {};
    for (int i = 0; i < f; ++i) isFixed[rules.fixed[i]] = true;
    // The sets of k bits in ascending order of their masks (Gosper's step).
    for (unsigned mask = (1u << k) - 1; mask < (1u << n);) {
        int at = 0, fixedIn = 0;
        bool left = false;
        for (unsigned bits = mask; bits != 0; bits &= bits - 1) {
            const int v = __builtin_ctz(bits) + 1;
            line[at++] = static_cast<Number>(v);
            fixedIn += isFixed[v];
            left = left || filters.excluded[v];
        }
        const unsigned low = mask & -mask, carried = mask + low;
        mask = carried | (((carried ^ mask) >> 2) / low);
        if (left) continue;
        if (rules.form == FixedForm::All && fixedIn != f) continue;
        if (rules.form == FixedForm::Some &&
            (fixedIn < rules.fixedMin || fixedIn > rules.fixedMax)) {
            continue;
        }
        const int cls = rules.form == FixedForm::Some ? fixedIn - rules.fixedMin : 0;
        // A line that passes every filter passes the fewer ones.
        if (!PassesFilters(counted.filters, line.data(), k)) continue;
        ++expectedCounted[cls];
        if (dropsOne && !PassesFilters(filters, line.data(), k)) continue;
        // Every line is counted; a spread of them is ranked, to keep the target fast.
        if (expected[cls]++ % Stride == 0) lines.push_back(line);
    }

    // The checks of one table against the brute-force counts of its rules.
    const auto checkSets = [&](const PassingSets& sets, const LineFilters& rule,
                               std::map<int, WideCount>& counts, bool ranks) {
        Require(!sets.TooLarge());
        WideCount total = 0;
        for (int cls = 0; cls < sets.ClassCount(); ++cls) {
            Require(sets.ClassSize(cls) == counts[cls]);
            total += sets.ClassSize(cls);
            // Every unranked line passes every rule: a spread of ranks and the last one.
            const auto checkRank = [&](WideCount u) {
                sets.Unrank(cls, u, line.data());
                int fixedIn = 0;
                for (int i = 0; i < k; ++i) {
                    Require(line[i] >= 1 && line[i] <= n && !rule.excluded[line[i]]);
                    Require(i == 0 || line[i - 1] < line[i]);
                    fixedIn += isFixed[line[i]];
                }
                Require(PassesFilters(rule, line.data(), k));
                if (rules.form == FixedForm::All) Require(fixedIn == f);
                if (rules.form == FixedForm::Some) Require(fixedIn == rules.fixedMin + cls);
            };
            const WideCount count = sets.ClassSize(cls);
            for (WideCount u = 0; u < count; u += Stride) checkRank(u);
            if (count > 0) checkRank(count - 1);
        }
        Require(total == sets.Total());
        if (!ranks) return;
        for (const std::vector<Number>& passing : lines) {
            int rankedClass = -1;
            WideCount rank = 0;
            sets.Rank(passing.data(), rankedClass, rank);
            Require(rankedClass >= 0 && rankedClass < sets.ClassCount());
            Require(rank < sets.ClassSize(rankedClass));
            std::vector<Number> back(k);
            sets.Unrank(rankedClass, rank, back.data());
            Require(back == passing);
        }
    };

    checkSets(PassingSets(rules), filters, expected, true);
    // The reachable table: the same counts, and never beyond its cap (a small game never
    // comes near it).
    Require(PassingSets::ReachableBytes(rules) <= PassingSets::MaxReachableBytes);
    checkSets(PassingSets(rules, PassingSets::Table::Reachable), filters, expected, true);

    // The recheck: counts of fewer filters, every line drawn from them checked against all.
    const PassingSets fewer(counted, PassingSets::Table::Reachable);
    checkSets(fewer, counted.filters, expectedCounted, false);
    WideCount passing = 0;
    for (const auto& [cls, count] : expected) passing += count;
    // Without a filter the run draws as usual, not from counts; where few counted lines pass,
    // the draws take too long for a million runs.
    if (passing == 0 || !filters.Any() || 16 * passing < fewer.Total()) return 0;
    const ConditionedDraw draw(rules, &fewer, true, true);
    RandomGenerator g{};
    for (uint32_t i = 0; i < 256; ++i) g.mm[i] = (i + 1) * 0x9E3779B9u + Byte(data, size, 15);
    g.randcnt = 256;
    NumberLists lists;
    DrawnLine drawn;
    for (int i = 0; i < 4; ++i) {
        draw.Draw(g, lists, drawn);
        Require(drawn.ranked && PassesFilters(filters, drawn.numbers.data(), k));
        int fixedIn = 0;
        for (int j = 0; j < k; ++j) {
            Require(drawn.numbers[j] >= 1 && drawn.numbers[j] <= n);
            Require(!filters.excluded[drawn.numbers[j]]);
            fixedIn += isFixed[drawn.numbers[j]];
        }
        if (rules.form == FixedForm::All) Require(fixedIn == f);
        if (rules.form == FixedForm::Some) Require(fixedIn == rules.fixedMin + drawn.cls);
    }
    return 0;
}
