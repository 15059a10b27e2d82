// The costs that make up a line: the generator, the bounded draw, the shuffle, the three ways of
// drawing and the line format. Every benchmark starts from the same seeded state, so runs are
// comparable; the per-line figures of the whole process come from run-benchmarks.sh.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cstdint>
#include <span>

#include "combination/draw.h"
#include "combination/pool.h"
#include "random/generator.h"
#include "random/indexed_round.h"
#include "random/seeding.h"

namespace combogen {
namespace {

RandomGenerator SeededGenerator() {
    RandomGenerator g;
    SeedGenerator(g, [](std::span<uint8_t> bytes) {
        for (std::size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
        return true;
    });
    return g;
}

// The lists of a run over 1..poolSize with the given fixed numbers kept out of the pool.
NumberLists ListsFor(int poolSize, std::initializer_list<Number> fixed) {
    NumberLists lists;
    for (const Number v : fixed) lists.fixed[lists.FixedCount++] = v;
    lists.PoolLength = BuildPool(lists.pool, lists.fixed, lists.FixedCount, poolSize);
    return lists;
}

void BM_GenerateRound(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    for (auto _ : state) {
        GenerateRound(g);
        benchmark::DoNotOptimize(g.randrsl);
    }
    state.SetItemsProcessed(state.iterations() * 256);  // outputs
}
BENCHMARK(BM_GenerateRound);

// The rounds as the second thread of a run computes them: outputs handed on, the index table.
void BM_GenerateIndexedRound(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    EntryIndexes indexes = IndexesOf(g);
    uint32_t out[256];
    for (auto _ : state) {
        uint32_t* o = out;
        GenerateIndexedRound(g, indexes, [&o](uint32_t output) { *o++ = output; });
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations() * 256);  // outputs
}
BENCHMARK(BM_GenerateIndexedRound);

void BM_NextWord(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    for (auto _ : state) benchmark::DoNotOptimize(NextWord(g));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_NextWord);

void BM_RandomBelow(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    uint16_t n = 49;
    benchmark::DoNotOptimize(n);
    for (auto _ : state) benchmark::DoNotOptimize(RandomBelow(g, n));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RandomBelow);

void BM_Shuffle(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    const int length = static_cast<int>(state.range(0));
    NumberList list{};
    FillPool(list, length);
    for (auto _ : state) {
        Shuffle(g, list, length);
        benchmark::DoNotOptimize(list);
    }
    state.SetItemsProcessed(state.iterations() * (length - 1));  // draws
}
BENCHMARK(BM_Shuffle)->Arg(49)->Arg(80);

// Arguments: pool size, pick count, sorted (1) or not (0).
void BM_DrawPlain(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    NumberLists lists = ListsFor(static_cast<int>(state.range(0)), {});
    const int k = static_cast<int>(state.range(1));
    const bool sorted = state.range(2) == 1;
    for (auto _ : state) benchmark::DoNotOptimize(DrawPlain(g, lists, k, sorted));
    state.SetItemsProcessed(state.iterations());  // lines
}
BENCHMARK(BM_DrawPlain)->Args({49, 6, 1})->Args({49, 6, 0})->Args({80, 20, 0})->Args({80, 80, 1});

// The same lines a round at a time, as a five-argument run draws them.
void BM_DrawPlainLines(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    NumberLists lists = ListsFor(static_cast<int>(state.range(0)), {});
    const int k = static_cast<int>(state.range(1));
    const bool sorted = state.range(2) == 1;
    PlainLines lines;
    int64_t count = 0;
    for (auto _ : state) {
        DrawPlainLines(g, lists, k, sorted, lines);
        benchmark::DoNotOptimize(lines.chars);
        count += lines.count;
    }
    state.SetItemsProcessed(count);  // lines
}
BENCHMARK(BM_DrawPlainLines)
    ->Args({49, 6, 1})
    ->Args({49, 6, 0})
    ->Args({80, 20, 0})
    ->Args({80, 80, 1});

// The first thread's share of a run with rounds ahead: lines from rounds already made.
void BM_DrawPlainLinesFrom(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    NumberLists lists = ListsFor(static_cast<int>(state.range(0)), {});
    const int k = static_cast<int>(state.range(1));
    const bool sorted = state.range(2) == 1;
    static uint32_t rounds[64][256];
    for (auto& round : rounds) {
        GenerateRound(g);
        std::copy(g.randrsl, g.randrsl + 256, round);
    }
    PlainLines lines;
    int64_t count = 0;
    size_t next = 0;
    for (auto _ : state) {
        DrawPlainLinesFrom(rounds[next++ % 64], lists, k, sorted, lines);
        benchmark::DoNotOptimize(lines.chars);
        count += lines.count;
    }
    state.SetItemsProcessed(count);  // lines
}
BENCHMARK(BM_DrawPlainLinesFrom)->Args({49, 6, 1});

void BM_DrawWithAllFixed(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    NumberLists lists = ListsFor(static_cast<int>(state.range(0)), {7, 23});
    const int k = static_cast<int>(state.range(1));
    const bool sorted = state.range(2) == 1;
    for (auto _ : state) benchmark::DoNotOptimize(DrawWithAllFixed(g, lists, k, sorted));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawWithAllFixed)->Args({49, 6, 1})->Args({49, 6, 0});

void BM_DrawWithSomeFixed(benchmark::State& state) {
    RandomGenerator g = SeededGenerator();
    NumberLists lists = ListsFor(static_cast<int>(state.range(0)), {3, 9, 27, 33, 41});
    const int k = static_cast<int>(state.range(1));
    const bool sorted = state.range(2) == 1;
    for (auto _ : state) benchmark::DoNotOptimize(DrawWithSomeFixed(g, lists, k, 1, 3, sorted));
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_DrawWithSomeFixed)->Args({49, 6, 1})->Args({49, 6, 0});

void BM_FormatCombination(benchmark::State& state) {
    const int k = static_cast<int>(state.range(0));
    NumberList list{};
    FillPool(list, 80);
    for (auto _ : state) {
        benchmark::DoNotOptimize(list);
        benchmark::DoNotOptimize(FormatCombination(list, k));
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatCombination)->Arg(6)->Arg(20)->Arg(80);

}  // namespace
}  // namespace combogen
