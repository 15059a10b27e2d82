// Exact prize tables of a set of lines: for every draw of a game (D of 1..POOL, all equally
// likely, and perhaps K bonus numbers of a separate pool 1..N), how many lines hold j of the
// drawn numbers (and i of the bonus numbers). The draws are taken by h, the count of drawn
// numbers among the v numbers the lines use: each h-set of those is visited once, with the
// lines as bit sets, and stands for C(POOL - v, D - h) draws alike. Bonus draws that split the
// lines alike by their bonus matches are taken once, with their count.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "wheel/goal.h"

namespace combogen {

// Sums over every draw can pass 2^64 (a million lines times 2^61 draws).
__extension__ typedef unsigned __int128 WideCount;

// K bonus numbers drawn of 1..N, and each line's bonus numbers (1..N, as many each); or, with
// samePool, K more numbers of the main pool drawn after the main ones, matched with the lines'
// main numbers (pool 0, no lines).
struct BonusGame {
    int pool = 0;  // N; 0: no bonus of a pool of its own
    int draw = 0;  // K
    std::vector<std::vector<uint8_t>> lines;
    bool samePool = false;
};

// The bonus draws grouped by how they split the lines: masks[i] the lines with exactly i
// bonus numbers drawn, reach[i] those with at least i, weight the bonus draws alike.
struct BonusKind {
    uint64_t weight = 0;
    std::vector<std::vector<uint64_t>> exactly, reach;
};

// Without a bonus: one kind, every line with 0 bonus numbers.
std::vector<BonusKind> BonusKinds(const BonusGame& bonus, std::size_t lines);

// How many bonus draws an h-set of v numbers is taken with at most: one kind for each split of
// the lines, or, with bonus numbers of the same pool, one for each set of up to K of the v.
uint64_t BonusKindCount(const BonusGame& bonus, std::size_t lines, int v);

struct TierSpread {
    uint64_t least = 0;  // the fewest lines in the tier, over the draws
    uint64_t most = 0;
    WideCount total = 0;  // summed over the h-sets and bonus draws
};

// Tiers are [j * (b + 1) + i]: j main numbers (0..pick) and i bonus numbers (0..b, the
// lines' bonus count), exactly for the counts of lines, at least for reaching.
struct DrawnAmong {
    int h = 0;
    uint64_t sets = 0;               // C(v, h)
    uint64_t draws = 0;              // sets * C(POOL - v, D - h) * the bonus draws
    std::vector<TierSpread> tiers;   // the lines in the tier
    std::vector<uint64_t> reaching;  // the (h-set, bonus draw) pairs with a line reaching it
    int floor = 0;                   // the least, over the h-sets, of the most a line holds
    std::vector<uint8_t> hole;       // the first h-set (indices) that gets only floor
};

struct PrizeTable {
    int pool = 0, draw = 0, v = 0, pick = 0;
    int bonusPool = 0, bonusDraw = 0, bonusPick = 0;  // b = bonusPick
    bool samePool = false;  // the bonus numbers come of 1..pool too; bonusPick = bonusDraw
    uint64_t lines = 0;
    uint64_t mainDraws = 0;                // C(POOL, D)
    uint64_t draws = 0;                    // times C(N, K)
    std::vector<DrawnAmong> byDrawn;       // h = 0..min(v, D)
    std::vector<WideCount> drawsReaching;  // [tier]: the draws where some line reaches it
    std::vector<WideCount> lineDraws;      // [tier]: lines in it, summed over the draws

    std::size_t Tier(int j, int i) const {
        return static_cast<std::size_t>(j * (bonusPick + 1) + i);
    }
};

// The work of a table (h-sets times bonus kinds times 64-line words times tiers), or nothing
// above 2^62.
std::optional<uint64_t> PrizeWork(int v, int draw, int pick, uint64_t lines, uint64_t kinds,
                                  int bonusPick);

// The table of lines (indices 0..v-1, pick numbers each) in a game of D drawn of 1..pool and
// bonus. Requires pick <= v <= pool <= 80, D <= pool, C(pool, D) C(N, K) < 2^62 and PrizeWork.
PrizeTable ComputePrizes(int pool, int draw, int v, int pick, std::span<const WheelLine> lines,
                         const BonusGame& bonus = {});

// The draws in which a random line of pick numbers holds at least j of D of 1..pool, as the
// closed form: the sum over i >= j of C(pick, i) C(pool - pick, D - i).
uint64_t RandomLineReaching(int pool, int draw, int pick, int j);

// The chance that some of as many random lines as table has, each drawn on its own, holds at
// least j numbers and i bonus numbers: 1 - (1 - p)^lines, in floating point, p a closed form.
long double RandomLinesChance(const PrizeTable& table, int j, int i);

}  // namespace combogen
