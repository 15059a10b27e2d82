// Exact prize tables (--prizes): 6 of 49 over a 163-line wheel's size and over 1,000 lines,
// a Keno-sized game, and 6 of 49 with a bonus ball of the same pool. The lines come from a fixed
// sequence, so that the figures do not move with the wheel search; the time depends on the count of
// lines and numbers, not on which.
#include <benchmark/benchmark.h>

#include <algorithm>

#include "line_checks/prize_table.h"

namespace combogen {
namespace {

// count lines of k numbers of 0..v-1 from a fixed linear congruential sequence; the first v
// lines between them hold every number, so that all v are wheeled.
std::vector<WheelLine> FixedLines(int count, int k, int v) {
    std::vector<WheelLine> lines;
    uint64_t state = 12345;
    for (int i = 0; i < count; ++i) {
        WheelLine line{static_cast<uint8_t>(i % v)};
        while (static_cast<int>(line.size()) < k) {
            state = state * 6364136223846793005u + 1442695040888963407u;
            const auto x = static_cast<uint8_t>((state >> 33) % static_cast<uint64_t>(v));
            if (std::find(line.begin(), line.end(), x) == line.end()) line.push_back(x);
        }
        std::sort(line.begin(), line.end());
        lines.push_back(line);
    }
    return lines;
}

void Table(benchmark::State& state, int pool, int draw, int v, int k, int count,
           const BonusGame& bonus = {}) {
    const std::vector<WheelLine> lines = FixedLines(count, k, v);
    for (auto _ : state) {
        const PrizeTable table = ComputePrizes(pool, draw, v, k, lines, bonus);
        benchmark::DoNotOptimize(table.drawsReaching.data());
    }
}

void BM_Prizes49Of6Lines163(benchmark::State& state) { Table(state, 49, 6, 49, 6, 163); }
BENCHMARK(BM_Prizes49Of6Lines163)->Unit(benchmark::kMillisecond);

void BM_Prizes49Of6Lines1000(benchmark::State& state) { Table(state, 49, 6, 49, 6, 1000); }
BENCHMARK(BM_Prizes49Of6Lines1000)->Unit(benchmark::kMillisecond);

// Keno: 20 of 80 drawn, 20 lines of 10 over 20 numbers.
void BM_PrizesKeno20Of80Over20(benchmark::State& state) { Table(state, 80, 20, 20, 10, 20); }
BENCHMARK(BM_PrizesKeno20Of80Over20)->Unit(benchmark::kMillisecond);

// UK Lotto's shape: 6 of 49 and one bonus ball of the 43 left, 100 lines over 31 numbers.
void BM_Prizes49Of6Plus1Over31(benchmark::State& state) {
    Table(state, 49, 6, 31, 6, 100, BonusGame{0, 1, {}, true});
}
BENCHMARK(BM_Prizes49Of6Plus1Over31)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace combogen
