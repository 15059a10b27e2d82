#include "line_checks/prize_table.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <map>

#include "combination/number_list.h"
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
    Tabler(PrizeTable& table, std::span<const WheelLine> lines, std::vector<BonusKind> kinds)
        : t_(table),
          k_(table.pick),
          b_(table.bonusPick),
          words_((lines.size() + 63) / 64),
          most_(std::min(table.v, table.draw)),
          kinds_(std::move(kinds)) {
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
        const std::size_t tiers = static_cast<std::size_t>((k_ + 1) * (b_ + 1));
        for (int h = 0; h <= most_; ++h) {
            DrawnAmong& row = t_.byDrawn.emplace_back();
            row.h = h;
            row.sets = Choose(table.v, h);
            row.draws = row.sets * Choose(table.pool - table.v, table.draw - h) *
                        (table.draws / table.mainDraws);
            row.tiers.assign(tiers, {~uint64_t{0}, 0, 0});
            row.reaching.assign(tiers, 0);
            row.floor = k_ + 1;
        }
        exactly_.assign(words_, 0);
        same_.exactly.resize(static_cast<std::size_t>(b_ + 1));
        same_.reach.resize(static_cast<std::size_t>(b_ + 1));
        reach_.assign(words_, 0);
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
        const int best = b_ == 0 ? RecordMain(row, depth, top) : RecordWithBonus(row, depth, top);
        // Tiers above the depth hold no line here.
        for (int j = top + 1; j <= k_; ++j) {
            for (int i = 0; i <= b_; ++i) row.tiers[t_.Tier(j, i)].least = 0;
        }
        if (best < row.floor) {
            row.floor = best;
            row.hole.assign(chosen_.begin(), chosen_.begin() + depth);
        }
    }

    // Without a bonus, the lines holding exactly j are the difference of two counts. Both
    // return the most numbers a line holds.
    int RecordMain(DrawnAmong& row, int depth, int top) {
        int best = -1;
        uint64_t above = 0;  // lines holding more than j
        for (int j = top; j >= 0; --j) {
            const uint64_t* ge = Ge(depth, j);
            uint64_t count = 0;
            for (std::size_t w = 0; w < words_; ++w) count += static_cast<uint64_t>(Bits(ge[w]));
            TierSpread& tier = row.tiers[static_cast<std::size_t>(j)];
            const uint64_t exactly = count - above;
            tier.least = std::min(tier.least, exactly);
            tier.most = std::max(tier.most, exactly);
            tier.total += exactly;
            if (count > 0) {
                ++row.reaching[static_cast<std::size_t>(j)];
                best = std::max(best, j);
            }
            above = count;
        }
        return std::max(best, 0);
    }

    int RecordWithBonus(DrawnAmong& row, int depth, int top) {
        int best = 0;
        for (int j = top; j >= 0 && best == 0; --j) {
            const uint64_t* ge = Ge(depth, j);
            for (std::size_t w = 0; w < words_; ++w) best = ge[w] != 0 ? j : best;
        }
        if (!t_.samePool) {
            for (const BonusKind& kind : kinds_) Account(row, depth, top, kind);
            return best;
        }
        // The bonus numbers fall on wheeled numbers the main draw left (G, g of them) or
        // outside: C(rest, K - g) draws alike for each G, rest the numbers outside left over.
        const int rest = t_.pool - t_.v - (t_.draw - depth);
        if (rest < 0) return best;
        std::array<bool, MaxNumber> drawn{};
        for (int d = 0; d < depth; ++d) drawn[chosen_[static_cast<std::size_t>(d)]] = true;
        free_.clear();
        for (int x = 0; x < t_.v; ++x) {
            if (!drawn[static_cast<std::size_t>(x)]) free_.push_back(static_cast<uint8_t>(x));
        }
        // stack_[g][i]: the lines holding exactly i of the first g bonus numbers chosen.
        const std::size_t layer = static_cast<std::size_t>(b_ + 1) * words_;
        const std::size_t most = std::min(static_cast<std::size_t>(b_), free_.size());
        stack_.assign((most + 1) * layer, 0);
        std::copy(Ge(depth, 0), Ge(depth, 0) + words_, stack_.begin());
        SameBonus(row, depth, top, rest, 0, 0);
        return best;
    }

    void SameBonus(DrawnAmong& row, int depth, int top, int rest, int g, std::size_t from) {
        const std::size_t layer = static_cast<std::size_t>(b_ + 1) * words_;
        const uint64_t* masks = stack_.data() + static_cast<std::size_t>(g) * layer;
        same_.weight = Choose(rest, b_ - g);
        if (same_.weight > 0) {
            std::fill(reach_.begin(), reach_.end(), 0);
            for (std::size_t i = static_cast<std::size_t>(b_ + 1); i-- > 0;) {
                same_.exactly[i].assign(masks + i * words_, masks + (i + 1) * words_);
                for (std::size_t w = 0; w < words_; ++w) reach_[w] |= masks[i * words_ + w];
                same_.reach[i].assign(reach_.begin(), reach_.end());
            }
            Account(row, depth, top, same_);
        }
        if (g == b_) return;
        uint64_t* next = stack_.data() + static_cast<std::size_t>(g + 1) * layer;
        for (std::size_t f = from; f < free_.size(); ++f) {
            const uint64_t* with = with_.data() + free_[f] * words_;
            for (std::size_t w = 0; w < words_; ++w) {
                next[w] = masks[w] & ~with[w];
                for (std::size_t i = 1; i <= static_cast<std::size_t>(g + 1); ++i) {
                    next[i * words_ + w] = (masks[i * words_ + w] & ~with[w]) |
                                           (masks[(i - 1) * words_ + w] & with[w]);
                }
            }
            SameBonus(row, depth, top, rest, g + 1, f + 1);
        }
    }

    // The lines of each tier for one kind of bonus draw, taken weight times.
    void Account(DrawnAmong& row, int depth, int top, const BonusKind& kind) {
        for (int j = 0; j <= top; ++j) {
            const uint64_t* ge = Ge(depth, j);
            const uint64_t* above = Ge(depth, j + 1);
            for (std::size_t w = 0; w < words_; ++w) exactly_[w] = ge[w] & ~above[w];
            for (int i = 0; i <= b_; ++i) {
                const auto& mask = kind.exactly[static_cast<std::size_t>(i)];
                const auto& reach = kind.reach[static_cast<std::size_t>(i)];
                uint64_t count = 0, any = 0;
                for (std::size_t w = 0; w < words_; ++w) {
                    count += static_cast<uint64_t>(Bits(exactly_[w] & mask[w]));
                    any |= ge[w] & reach[w];
                }
                TierSpread& tier = row.tiers[t_.Tier(j, i)];
                tier.least = std::min(tier.least, count);
                tier.most = std::max(tier.most, count);
                tier.total += WideCount{count} * kind.weight;
                if (any != 0) row.reaching[t_.Tier(j, i)] += kind.weight;
            }
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
    int k_, b_;
    std::size_t words_;
    int most_;
    std::vector<BonusKind> kinds_;
    std::vector<uint64_t> with_;    // [x]: the lines holding x
    std::vector<uint64_t> levels_;  // [depth][j]: the lines meeting the set in >= j numbers
    std::vector<uint64_t> exactly_;
    std::array<uint8_t, MaxNumber> chosen_{};
    // Bonus numbers of the main pool: the wheeled numbers not drawn, the masks by bonus
    // numbers held, and the kind of bonus draw in hand.
    std::vector<uint8_t> free_;
    std::vector<uint64_t> stack_, reach_;
    BonusKind same_;
};

// Every bonus draw of K of 1..N in turn, with the lines' bonus matches as masks.
void SplitBonusDraws(const BonusGame& bonus, std::size_t words,
                     std::map<std::vector<uint64_t>, uint64_t>& splits) {
    std::vector<int> drawn(static_cast<std::size_t>(bonus.draw));
    for (std::size_t i = 0; i < drawn.size(); ++i) drawn[i] = static_cast<int>(i) + 1;
    const std::size_t b = bonus.lines.empty() ? 0 : bonus.lines.front().size();
    while (true) {
        std::vector<uint64_t> masks((b + 1) * words, 0);
        for (std::size_t line = 0; line < bonus.lines.size(); ++line) {
            std::size_t matched = 0;
            for (const uint8_t x : bonus.lines[line]) {
                matched += std::find(drawn.begin(), drawn.end(), x) != drawn.end();
            }
            masks[matched * words + line / 64] |= uint64_t{1} << (line % 64);
        }
        ++splits[masks];
        int at = bonus.draw - 1;  // the next draw in lexicographic order
        while (at >= 0 && drawn[static_cast<std::size_t>(at)] == bonus.pool - bonus.draw + at + 1) {
            --at;
        }
        if (at < 0) return;
        ++drawn[static_cast<std::size_t>(at)];
        for (int i = at + 1; i < bonus.draw; ++i) {
            drawn[static_cast<std::size_t>(i)] = drawn[static_cast<std::size_t>(i - 1)] + 1;
        }
    }
}

}  // namespace

std::vector<BonusKind> BonusKinds(const BonusGame& bonus, std::size_t lines) {
    const std::size_t words = (lines + 63) / 64;
    std::map<std::vector<uint64_t>, uint64_t> splits;
    if (bonus.pool == 0) {
        std::vector<uint64_t> all(words, 0);
        for (std::size_t i = 0; i < lines; ++i) all[i / 64] |= uint64_t{1} << (i % 64);
        splits[all] = 1;
    } else {
        SplitBonusDraws(bonus, words, splits);
    }
    std::vector<BonusKind> kinds;
    for (const auto& [masks, weight] : splits) {
        BonusKind& kind = kinds.emplace_back();
        kind.weight = weight;
        const std::size_t tiers = masks.size() / std::max<std::size_t>(words, 1);
        std::vector<uint64_t> reach(words, 0);
        kind.exactly.resize(tiers);
        kind.reach.resize(tiers);
        for (std::size_t i = tiers; i-- > 0;) {
            kind.exactly[i].assign(masks.begin() + static_cast<std::ptrdiff_t>(i * words),
                                   masks.begin() + static_cast<std::ptrdiff_t>((i + 1) * words));
            for (std::size_t w = 0; w < words; ++w) reach[w] |= kind.exactly[i][w];
            kind.reach[i] = reach;
        }
    }
    return kinds;
}

uint64_t BonusKindCount(const BonusGame& bonus, std::size_t lines, int v) {
    if (!bonus.samePool) return BonusKinds(bonus, lines).size();
    // Held below 2^32, above any work allowed, so that the work's product cannot overflow.
    constexpr uint64_t Most = uint64_t{1} << 32;
    uint64_t sets = 0;
    for (int g = 0; g <= std::min(bonus.draw, v) && sets < Most; ++g) {
        sets += DrawCount(v, g).value_or(Most);
    }
    return std::min(sets, Most);
}

std::optional<uint64_t> PrizeWork(int v, int draw, int pick, uint64_t lines, uint64_t kinds,
                                  int bonusPick) {
    uint64_t sets = 0;
    for (int h = 0; h <= std::min(v, draw); ++h) {
        const auto count = DrawCount(v, h);
        if (!count || sets > MaxCheckedDraws - *count) return std::nullopt;
        sets += *count;
    }
    const uint64_t perSet = std::max<uint64_t>((lines + 63) / 64, 1) *
                            static_cast<uint64_t>((pick + 1) * (bonusPick + 1)) *
                            std::max<uint64_t>(kinds, 1);
    if (sets > MaxCheckedDraws / perSet) return std::nullopt;
    return sets * perSet;
}

PrizeTable ComputePrizes(int pool, int draw, int v, int pick, std::span<const WheelLine> lines,
                         const BonusGame& bonus) {
    PrizeTable table;
    table.pool = pool;
    table.draw = draw;
    table.v = v;
    table.pick = pick;
    table.bonusPool = bonus.pool;
    table.bonusDraw = bonus.draw;
    table.bonusPick =
        bonus.pool == 0 || bonus.lines.empty() ? 0 : static_cast<int>(bonus.lines.front().size());
    table.samePool = bonus.samePool;
    if (bonus.samePool) {
        table.bonusPool = pool;
        table.bonusPick = bonus.draw;
    }
    table.lines = lines.size();
    table.mainDraws = Choose(pool, draw);
    table.draws = table.mainDraws * (bonus.samePool    ? Choose(pool - draw, bonus.draw)
                                     : bonus.pool == 0 ? 1
                                                       : Choose(bonus.pool, bonus.draw));
    Tabler(table, lines, BonusKinds(bonus, lines.size())).Run();
    const std::size_t tiers = static_cast<std::size_t>((pick + 1) * (table.bonusPick + 1));
    table.drawsReaching.assign(tiers, 0);
    table.lineDraws.assign(tiers, 0);
    for (const DrawnAmong& row : table.byDrawn) {
        const uint64_t each = Choose(pool - v, draw - row.h);  // the draws an h-set stands for
        for (std::size_t t = 0; t < tiers; ++t) {
            table.drawsReaching[t] += WideCount{row.reaching[t]} * each;
            table.lineDraws[t] += row.tiers[t].total * each;
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

long double RandomLinesChance(const PrizeTable& table, int j, int i) {
    long double one =
        static_cast<long double>(RandomLineReaching(table.pool, table.draw, table.pick, j)) /
        table.mainDraws;
    if (table.samePool) {
        // a of the line's numbers among the main draw, c among the bonus numbers.
        const int k = table.pick, n = table.pool, d = table.draw, b = table.bonusDraw;
        long double draws = 0;
        for (int a = j; a <= std::min(k, d); ++a) {
            for (int c = i; c <= std::min(k - a, b); ++c) {
                draws += static_cast<long double>(Choose(k, a)) * Choose(n - k, d - a) *
                         Choose(k - a, c) * Choose(n - d - (k - a), b - c);
            }
        }
        one = draws / static_cast<long double>(table.draws);
    } else if (table.bonusPool > 0) {
        one *= static_cast<long double>(
                   RandomLineReaching(table.bonusPool, table.bonusDraw, table.bonusPick, i)) /
               Choose(table.bonusPool, table.bonusDraw);
    }
    return 1.0L - std::pow(1.0L - one, static_cast<long double>(table.lines));
}

}  // namespace combogen
