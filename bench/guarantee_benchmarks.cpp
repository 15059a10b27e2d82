// The exhaustive check of a wheel's guarantee, on wheels built by hand so that the figure does
// not move with the search: 59 numbers, "2 if 6", all 45,057,474 six-sets.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "wheel/guarantee.h"

namespace combogen {
namespace {

// Five groups of 12 (the last of 11); six drawn numbers put two in one group, and the six
// unions of two of a group's four triples hold every pair of the group: 30 lines.
std::vector<WheelLine> GroupWheel() {
    std::vector<WheelLine> lines;
    for (int group = 0; group < 5; ++group) {
        std::vector<std::vector<uint8_t>> triples(4);
        for (int i = 0; i < 12 && group * 12 + i < 59; ++i) {
            triples[i / 3].push_back(static_cast<uint8_t>(group * 12 + i));
        }
        for (int a = 0; a < 4; ++a) {
            for (int b = a + 1; b < 4; ++b) {
                WheelLine line = triples[a];
                line.insert(line.end(), triples[b].begin(), triples[b].end());
                for (uint8_t x = 0; line.size() < 6; ++x) {
                    if (std::find(line.begin(), line.end(), x) == line.end()) line.push_back(x);
                }
                std::sort(line.begin(), line.end());
                lines.push_back(line);
            }
        }
    }
    return lines;
}

void BM_Check59TwoIfSix(benchmark::State& state) {
    const std::vector<WheelLine> lines = GroupWheel();
    for (auto _ : state) {
        const GuaranteeCheck check = CheckGuarantee(59, 2, 6, lines);
        if (!check.met) state.SkipWithError("the wheel does not give 2 if 6");
        benchmark::DoNotOptimize(check.metDraws);
    }
}
BENCHMARK(BM_Check59TwoIfSix)->Unit(benchmark::kMillisecond);

// Short of a line: the check counts every set and finds the first unmet one.
void BM_Check59TwoIfSixUnmet(benchmark::State& state) {
    std::vector<WheelLine> lines = GroupWheel();
    lines.pop_back();
    for (auto _ : state) {
        const GuaranteeCheck check = CheckGuarantee(59, 2, 6, lines);
        if (check.met) state.SkipWithError("a line short should leave a draw unmet");
        benchmark::DoNotOptimize(check.metDraws);
    }
}
BENCHMARK(BM_Check59TwoIfSixUnmet)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace combogen
