#include "stats/report.h"

#include <cmath>

#include "stats/format.h"

namespace combogen {

namespace {

constexpr double Never = 1e-12;  // as the test takes a probability this close to 0 or 1

// A word as a POSIX shell would need it, so the report's command line can be pasted back.
std::string Quoted(const std::string& word) {
    if (!word.empty() &&
        word.find_first_of(" \t\r\n'\"\\$`*?[]#~;&|<>(){}!") == std::string::npos) {
        return word;
    }
    std::string quoted = "'";
    for (const char c : word) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string Joined(const std::vector<std::string>& words) {
    if (words.empty()) return "(none)";
    std::string joined;
    for (const auto& word : words) {
        if (!joined.empty()) joined += ' ';
        joined += Quoted(word);
    }
    return joined;
}

void AddCountTable(std::string& out, const std::string& eol, const NumberCounts& counts,
                   uint64_t lines, const NumberSpread& spread) {
    if (!spread.Known()) {
        out += "number      count   (expected counts unknown: " + std::string(spread.unknownWhy) +
               ")" + eol;
        for (int v = 1; v <= spread.Size; ++v) {
            out += Formatted("    %02d %10s", v, std::to_string(counts[v]).c_str()) + eol;
        }
        return;
    }
    out += "number      count     expected   difference   in standard deviations" + eol;
    const double l = static_cast<double>(lines);
    for (int v = 1; v <= spread.Size; ++v) {
        const double p = spread.Inclusion(v);
        const double count = static_cast<double>(counts[v]);
        const double difference = count - l * p;
        std::string note;
        if (p >= 1.0 - Never) {
            note = "in every line";
        } else if (p <= Never) {
            note = "never drawn";
        } else if (lines > 0) {
            note = Formatted("%+.2f", difference / std::sqrt(l * p * (1 - p)));
        }
        out += Formatted("    %02d %10s %12.2f %+12.2f   %s", v, std::to_string(counts[v]).c_str(),
                         l * p, difference, note.c_str()) +
               eol;
    }
}

void AddTest(std::string& out, const std::string& eol, const SpreadTest& test,
             const NumberSpread& spread) {
    if (!spread.Known()) {
        out += "chi-square: not computed; the expected counts are unknown: " +
               std::string(spread.unknownWhy) + eol;
        return;
    }
    if (test.degreesOfFreedom == 0) {
        out += "chi-square: nothing to test; no number's count can vary" + eol;
        return;
    }
    out += Formatted("chi-square %.2f with %d degrees of freedom, p-value %.4g", test.statistic,
                     test.degreesOfFreedom, test.pValue) +
           eol;
    if (test.approximate) {
        out += "(approximate: the covariances of the counts were estimated from each number's" +
               eol + "probability alone)" + eol;
    }
}

}  // namespace

int PossiblePairs(const NumberSpread& spread) {
    int pairs = 0;
    for (int v = 1; v <= spread.Size; ++v) {
        for (int w = v + 1; w <= spread.Size; ++w) {
            const bool possible = spread.PairsKnown()
                                      ? spread.PairInclusion(v, w) > Never
                                      : spread.Inclusion(v) > Never && spread.Inclusion(w) > Never;
            pairs += possible;
        }
    }
    return pairs;
}

std::string StatisticsReport(const RunDescription& run, const LineTally& tally,
                             const ExpectedSpread& spread) {
    const std::string& eol = run.lineEnd;
    std::string out = "combogen statistics" + eol + eol;
    out += "arguments: " + Joined(run.arguments) + eol;
    out += "options:   " + Joined(run.options) + eol;
    out += "lines:     " + std::to_string(tally.Lines()) + eol + eol;

    out +=
        Formatted("main numbers, %d a line from 1..%d", spread.main.Pick, spread.main.Size) + eol;
    AddCountTable(out, eol, tally.MainCounts(), tally.Lines(), spread.main);
    out += eol;
    if (run.prizeTable.empty()) {
        AddTest(out, eol, TestCounts(tally.MainCounts(), tally.Lines(), spread.main), spread.main);
    } else {
        for (std::size_t at = 0; at < run.prizeTable.size();) {
            const std::size_t end = run.prizeTable.find('\n', at);
            out.append(run.prizeTable, at, end - at).append(eol);
            at = end == std::string::npos ? end : end + 1;
        }
    }
    out += eol;

    const DistinctLines& distinct = tally.Distinct();
    if (distinct.Counted()) {
        out += "distinct lines: " + std::to_string(distinct.Count()) + " of " +
               std::to_string(tally.Lines()) + " (by their main numbers)" + eol;
    } else {
        out += "distinct lines: not counted; the count stops at " +
               std::to_string(distinct.Count()) + " different lines to bound its memory" + eol;
    }
    const int seen = tally.PairsSeen();
    if (spread.main.PairsKnown()) {
        const int possible = PossiblePairs(spread.main);
        out += Formatted("pairs of main numbers seen in a line: %d of %d possible (%.2f%%)", seen,
                         possible, possible > 0 ? 100.0 * seen / possible : 0.0) +
               eol;
    } else {
        // Two numbers that each can occur need not occur together once filters apply.
        out += Formatted(
                   "pairs of main numbers seen in a line: %d (how many can occur is not "
                   "known: the lines that pass the filters are too many to go through)",
                   seen) +
               eol;
    }

    if (spread.bonus.Size > 0) {
        out +=
            eol +
            Formatted("bonus numbers, %d a line from 1..%d", spread.bonus.Pick, spread.bonus.Size) +
            eol;
        AddCountTable(out, eol, tally.BonusCounts(), tally.Lines(), spread.bonus);
        out += eol;
        AddTest(out, eol, TestCounts(tally.BonusCounts(), tally.Lines(), spread.bonus),
                spread.bonus);
    }

    if (!run.prizeTable.empty()) return out;
    out += eol + "About the test: the counts are weighed against their spread in a correct run," +
           eol + "which knows that a line holds a fixed count of distinct numbers, so the counts" +
           eol + "are not independent; numbers in every line or in none are left out. The" + eol +
           "statistic is the counts' Mahalanobis distance from the expected counts; it follows" +
           eol + "chi-square closely once the expected counts are about 5 or more. A correct run" +
           eol + "gives a p-value below 0.01 in one run out of a hundred." + eol;
    return out;
}

}  // namespace combogen
