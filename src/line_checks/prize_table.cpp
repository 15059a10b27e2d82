#include "line_checks/prize_table.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "wheel/guarantee.h"

namespace combogen {

namespace {

uint64_t Choose(int n, int r) { return DrawCount(n, r).value_or(0); }

// Bits set, inline: built for any x86-64, std::popcount is a library call, and the table
// counts bits a few times for each of millions of sets.
inline int Bits(uint64_t x) {
    x -= (x >> 1) & 0x5555555555555555u;
    x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
    x = (x + (x >> 4)) & 0x0f0f0f0f0f0f0f0fu;
    return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

// Depth-first over the h-sets in lexicographic order. ge(d, j) holds the lines that meet the
// d numbers chosen so far in at least j of them: adding x gives
// ge'(j) = ge(j) | (ge(j - 1) & with[x]), as in the guarantee check.
class Tabler {
public:
    Tabler(PrizeTable& table, std::span<const WheelLine> lines)
        : t_(table),
          k_(table.pick),
          words_((lines.size() + 63) / 64),
          most_(std::min(table.v, table.draw)) {
        with_.assign(static_cast<std::size_t>(table.v) * words_, 0);
        for (std::size_t i = 0; i < lines.size(); ++i) {
            for (const uint8_t x : lines[i]) with_[x * words_ + i / 64] |= uint64_t{1} << (i % 64);
        }
        // Room for ge(d, k + 1), always empty, so that "exactly j" is ge(j) & ~ge(j + 1).
        levels_.assign(static_cast<std::size_t>(most_ + 1) * (k_ + 2) * words_, 0);
        for (int d = 0; d <= most_; ++d) {
            uint64_t* all = Ge(d, 0);
            for (std::size_t w = 0; w < words_; ++w) {
                const std::size_t left = lines.size() - w * 64;
                all[w] = left >= 64 ? ~uint64_t{0} : (uint64_t{1} << left) - 1;
            }
        }
        for (int h = 0; h <= most_; ++h) {
            DrawnAmong& row = t_.byDrawn.emplace_back();
            row.h = h;
            row.sets = Choose(table.v, h);
            row.draws = row.sets * Choose(table.pool - table.v, table.draw - h);
            row.tiers.assign(static_cast<std::size_t>(k_) + 1, {~uint64_t{0}, 0, 0});
            row.reaching.assign(static_cast<std::size_t>(k_) + 1, 0);
            row.floor = k_ + 1;
        }
    }

    void Run() {
        Record(0);
        Visit(0, 0);
    }

private:
    uint64_t* Ge(int depth, int j) {
        return levels_.data() + (static_cast<std::size_t>(depth) * (k_ + 2) + j) * words_;
    }

    void Record(int depth) {
        DrawnAmong& row = t_.byDrawn[static_cast<std::size_t>(depth)];
        const int top = std::min(depth, k_);
        int best = 0;
        uint64_t above = 0;  // lines holding more than j
        for (int j = top; j >= 0; --j) {
            const uint64_t* ge = Ge(depth, j);
            uint64_t count = 0;
            for (std::size_t w = 0; w < words_; ++w) count += static_cast<uint64_t>(Bits(ge[w]));
            if (count > 0 && best == 0) best = j;
            TierSpread& tier = row.tiers[static_cast<std::size_t>(j)];
            const uint64_t exactly = count - above;
            tier.least = std::min(tier.least, exactly);
            tier.most = std::max(tier.most, exactly);
            tier.total += exactly;
            above = count;
        }
        // Tiers above the depth hold no line here.
        for (int j = top + 1; j <= k_; ++j) row.tiers[static_cast<std::size_t>(j)].least = 0;
        for (int j = 0; j <= best; ++j) ++row.reaching[static_cast<std::size_t>(j)];
        if (best < row.floor) {
            row.floor = best;
            row.hole.assign(chosen_.begin(), chosen_.begin() + depth);
        }
    }

    void Visit(int depth, int start) {
        const int top = std::min(k_, depth + 1);
        for (int x = start; x < t_.v; ++x) {
            chosen_[static_cast<std::size_t>(depth)] = static_cast<uint8_t>(x);
            const uint64_t* with = with_.data() + x * words_;
            for (int j = top; j >= 1; --j) {
                const uint64_t* below = Ge(depth, j - 1);
                const uint64_t* same = Ge(depth, j);
                uint64_t* next = Ge(depth + 1, j);
                for (std::size_t w = 0; w < words_; ++w) next[w] = same[w] | (below[w] & with[w]);
            }
            Record(depth + 1);
            if (depth + 1 < most_) Visit(depth + 1, x + 1);
        }
    }

    PrizeTable& t_;
    int k_;
    std::size_t words_;
    int most_;
    std::vector<uint64_t> with_;    // [x]: the lines holding x
    std::vector<uint64_t> levels_;  // [depth][j]: the lines meeting the set in >= j numbers
    std::array<uint8_t, 80> chosen_{};
};

}  // namespace

std::optional<uint64_t> PrizeWork(int v, int draw, int pick, uint64_t lines) {
    uint64_t sets = 0;
    for (int h = 0; h <= std::min(v, draw); ++h) {
        const auto count = DrawCount(v, h);
        if (!count || sets > MaxCheckedDraws - *count) return std::nullopt;
        sets += *count;
    }
    const uint64_t perSet = ((lines + 63) / 64) * static_cast<uint64_t>(pick + 1);
    if (perSet > 0 && sets > MaxCheckedDraws / perSet) return std::nullopt;
    return sets * std::max<uint64_t>(perSet, 1);
}

PrizeTable ComputePrizes(int pool, int draw, int v, int pick, std::span<const WheelLine> lines) {
    PrizeTable table;
    table.pool = pool;
    table.draw = draw;
    table.v = v;
    table.pick = pick;
    table.lines = lines.size();
    table.draws = Choose(pool, draw);
    Tabler(table, lines).Run();
    table.drawsReaching.assign(static_cast<std::size_t>(pick) + 1, 0);
    table.lineDraws.assign(static_cast<std::size_t>(pick) + 1, 0);
    for (const DrawnAmong& row : table.byDrawn) {
        const uint64_t each = Choose(pool - v, draw - row.h);  // the draws an h-set stands for
        for (int j = 0; j <= pick; ++j) {
            const auto i = static_cast<std::size_t>(j);
            table.drawsReaching[i] += row.reaching[i] * each;
            table.lineDraws[i] += static_cast<WideCount>(row.tiers[i].total) * each;
        }
    }
    return table;
}

uint64_t RandomLineReaching(int pool, int draw, int pick, int j) {
    uint64_t draws = 0;
    for (int i = j; i <= std::min(pick, draw); ++i) {
        draws += Choose(pick, i) * Choose(pool - pick, draw - i);
    }
    return draws;
}

long double RandomLinesChance(const PrizeTable& table, int j) {
    const uint64_t one = RandomLineReaching(table.pool, table.draw, table.pick, j);
    return 1.0L - std::pow(1.0L - static_cast<long double>(one) / table.draws,
                           static_cast<long double>(table.lines));
}

}  // namespace combogen
