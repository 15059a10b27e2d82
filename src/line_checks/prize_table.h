// Exact prize tables of a set of lines: for every draw of a game (D of 1..POOL, all equally
// likely), how many lines hold j of the drawn numbers. The draws are taken by h, the count of
// drawn numbers among the v numbers the lines use: each h-set of those is visited once, with
// the lines as bit sets, and stands for C(POOL - v, D - h) draws alike.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "wheel/goal.h"

namespace combogen {

// Sums over every draw can pass 2^64 (a million lines times 2^61 draws).
__extension__ typedef unsigned __int128 WideCount;

struct TierSpread {
    uint64_t least = 0;  // the fewest lines holding exactly j, over the h-sets
    uint64_t most = 0;
    uint64_t total = 0;  // summed over the h-sets
};

struct DrawnAmong {
    int h = 0;
    uint64_t sets = 0;               // C(v, h)
    uint64_t draws = 0;              // sets * C(POOL - v, D - h)
    std::vector<TierSpread> tiers;   // [j], j = 0..pick
    std::vector<uint64_t> reaching;  // [j]: the h-sets where some line holds at least j
    int floor = 0;                   // the least, over the h-sets, of the most a line holds
    std::vector<uint8_t> hole;       // the first h-set (indices) that gets only floor
};

struct PrizeTable {
    int pool = 0, draw = 0, v = 0, pick = 0;
    uint64_t lines = 0;
    uint64_t draws = 0;                   // C(POOL, D)
    std::vector<DrawnAmong> byDrawn;      // h = 0..min(v, D)
    std::vector<uint64_t> drawsReaching;  // [j]: the draws where some line holds at least j
    std::vector<WideCount> lineDraws;     // [j]: lines holding exactly j, summed over the draws
};

// The work of a table (h-sets times 64-line words times tiers), or nothing above 2^62.
std::optional<uint64_t> PrizeWork(int v, int draw, int pick, uint64_t lines);

// The table of lines (indices 0..v-1, pick numbers each) in a game of D drawn of 1..pool.
// Requires pick <= v <= pool <= 80, D <= pool, C(pool, D) < 2^62 and PrizeWork(...).
PrizeTable ComputePrizes(int pool, int draw, int v, int pick, std::span<const WheelLine> lines);

// The chance that a random line of pick numbers holds at least j of a draw, as the closed
// form sum over i >= j of C(pick, i) C(pool - pick, D - i), counted in draws.
uint64_t RandomLineReaching(int pool, int draw, int pick, int j);

// The chance that some of as many random lines as table has, each drawn on its own, holds at
// least j: 1 - (1 - p)^lines, in floating point, p from RandomLineReaching.
long double RandomLinesChance(const PrizeTable& table, int j);

}  // namespace combogen
