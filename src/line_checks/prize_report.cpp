#include "line_checks/prize_report.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "combination/number_list.h"
#include "line_checks/report_text.h"
#include "text/number_lines.h"
#include "wheel/guarantee.h"

namespace combogen {

namespace {

// About six seconds on one core: 163 lines over 49 numbers in draws of 6 take 3.3e8 (a second).
constexpr uint64_t MostPrizeWork = uint64_t{1} << 31;

constexpr int64_t MostPrizeLines = 1000000;

std::string Wide(WideCount n) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(n % 10)));
        n /= 10;
    } while (n > 0);
    return digits;
}

// num / den with places decimals, rounded half up; exact integer arithmetic.
std::string Decimal(WideCount num, uint64_t den, int places) {
    WideCount scale = 1;
    for (int i = 0; i < places; ++i) scale *= 10;
    const WideCount scaled = (num * scale + den / 2) / den;
    std::string text = Wide(scaled / scale);
    if (places > 0) {
        const std::string fraction = Wide(scaled % scale);
        // Appended piece by piece: GCC 12 warns falsely on "." + std::string.
        text.append(1, '.')
            .append(static_cast<std::size_t>(places) - fraction.size(), '0')
            .append(fraction);
    }
    return text;
}

// The random lines' chance only: a closed form in floating point, shown to places decimals.
std::string Fixed(long double value, int places) {
    const long double scale = std::pow(10.0L, places);
    return Decimal(static_cast<uint64_t>(std::llround(value * scale)), static_cast<uint64_t>(scale),
                   places);
}

// "5" or, with a bonus, "5+1".
std::string TierName(const PrizeTable& table, int j, int i) {
    std::string name = std::to_string(j);
    if (table.bonusPick > 0) name.append(1, '+').append(std::to_string(i));
    return name;
}

// Bonus numbers of the same pool are numbers of the line the main draw did not take.
bool Unreachable(const PrizeTable& table, int j, int i) {
    return table.samePool && j + i > table.pick;
}

}  // namespace

std::string PrizeReport(const PrizeTable& table, const std::vector<uint8_t>& numbers,
                        const std::string& source) {
    const int k = table.pick, b = table.bonusPick;
    std::string out = "prizes of " + source + ": " +
                      Plural(static_cast<int64_t>(table.lines), "line", "lines") + " of " +
                      Plural(k, "number", "numbers") +
                      (b > 0 && !table.samePool ? " + " + std::to_string(b) + " bonus" : "") +
                      " over " + Plural(table.v, "number", "numbers") + "\n";
    out += "game: " + std::to_string(table.draw) + " drawn of 1.." + std::to_string(table.pool);
    if (table.samePool) {
        out += " + " + std::to_string(table.bonusDraw) + " more of the same numbers";
    } else if (table.bonusPool > 0) {
        out +=
            " + " + std::to_string(table.bonusDraw) + " of 1.." + std::to_string(table.bonusPool);
    }
    out += ", " + std::to_string(table.draws) + " draws, each counted\n";
    out += "match   draws with a line  chance %  lines expected  random lines: chance %\n";
    for (int j = k; j >= 0; --j) {
        for (int i = b; i >= 0; --i) {
            if ((j == 0 && i == 0) || Unreachable(table, j, i)) continue;
            const std::size_t t = table.Tier(j, i);
            out += Padded(TierName(table, j, i), 5) + Padded(Wide(table.drawsReaching[t]), 20) +
                   Padded(Decimal(table.drawsReaching[t] * 100, table.draws, 4), 10) +
                   Padded(Decimal(table.lineDraws[t], table.draws, 6), 16) +
                   Padded(Fixed(RandomLinesChance(table, j, i) * 100, 4), 24) + "\n";
        }
    }
    out +=
        "(chance: of a line with at least that many; lines expected: with exactly that many, "
        "the same for random lines, since a wheel changes the spread of wins, not their "
        "average)\n";
    const uint64_t bonusDraws = table.draws / table.mainDraws;
    for (auto row = table.byDrawn.rbegin(); row != table.byDrawn.rend(); ++row) {
        if (row->draws == 0) continue;  // fewer drawn among these than the pool leaves outside
        out.append("\n")
            .append(std::to_string(row->h))
            .append(" of the drawn numbers among these ");
        out.append(std::to_string(table.v)).append(": ").append(std::to_string(row->draws));
        out.append(" draws\n");
        if (row->h == 0 && b == 0) {
            out += "no line can hold any\n";
            continue;
        }
        out += "match  least  average  most\n";
        for (int j = std::min(k, row->h); j >= 0; --j) {
            for (int i = b; i >= 0; --i) {
                if ((j == 0 && i == 0) || Unreachable(table, j, i)) continue;
                const TierSpread& tier = row->tiers[table.Tier(j, i)];
                out += Padded(TierName(table, j, i), 5) + Padded(std::to_string(tier.least), 7) +
                       Padded(Decimal(tier.total, row->sets * bonusDraws, 4), 9) +
                       Padded(std::to_string(tier.most), 6) + "\n";
            }
        }
        if (row->h == 0) continue;
        if (row->floor == 0) {
            out += "no line is sure to hold any of them";
        } else {
            out += "always a line with at least " + std::to_string(row->floor);
        }
        std::vector<uint8_t> hole;
        for (const uint8_t x : row->hole) hole.push_back(numbers[x]);
        out += "; the first draw that gets no more: " + Labels(hole) + "\n";
    }
    return out;
}

std::optional<PrizeTable> TablePrizes(int pool, int draw, const std::vector<uint8_t>& numbers,
                                      const std::vector<WheelLine>& lines, const BonusGame& bonus,
                                      std::string& error) {
    const int v = static_cast<int>(numbers.size());
    const int pick = lines.empty() ? 0 : static_cast<int>(lines.front().size());
    const int bonusPick = bonus.samePool ? bonus.draw
                          : bonus.pool == 0 || bonus.lines.empty()
                              ? 0
                              : static_cast<int>(bonus.lines.front().size());
    // Bonus draws of a pool of their own split the lines alike whatever the numbers wheeled.
    const uint64_t kinds = bonus.samePool ? 0 : BonusKindCount(bonus, lines.size(), v);
    const auto work = [&](int over) {
        return PrizeWork(over, draw, pick, lines.size(),
                         bonus.samePool ? BonusKindCount(bonus, lines.size(), over) : kinds,
                         bonusPick);
    };
    if (const auto all = work(v); !all || *all > MostPrizeWork) {
        int most = 0;
        for (std::optional<uint64_t> next; (next = work(most + 1)) && *next <= MostPrizeWork;) {
            ++most;
        }
        error = "over " + std::to_string(v) + " numbers with " +
                Plural(static_cast<int64_t>(lines.size()), "line", "lines") +
                ": too many draws to count exactly in time; these lines can be tabled over at "
                "most " +
                std::to_string(most) + " numbers";
        return std::nullopt;
    }
    return ComputePrizes(pool, draw, v, pick, lines, bonus);
}

std::optional<std::string> PrizeReportFile(const std::string& name, const PrizeGame& game,
                                           const std::vector<int>& listed, std::string& error) {
    const int pool = game.pool, draw = game.draw;
    BonusGame bonus{game.bonusPool, game.bonusDraw, {}, game.samePool};
    bool bonusMissing = false;
    int bonusOutside = 0;
    std::vector<NumberLine> lines;
    std::array<bool, 81> used{};
    bool tooMany = false;
    auto failed = ReadNumberLines(name, [&](int64_t, const NumberLine& line) {
        if (static_cast<int64_t>(lines.size()) == MostPrizeLines) {
            tooMany = true;
            return;
        }
        for (const uint8_t x : line.main) used[x] = true;
        lines.push_back(NumberLine{line.main, {}});
        if (bonus.pool == 0 || bonus.samePool) return;
        bonusMissing = line.bonus.empty();
        for (const uint8_t x : line.bonus) bonusOutside = x > bonus.pool ? x : bonusOutside;
        bonus.lines.push_back(line.bonus);
    });
    if (!failed && bonusMissing) {
        failed = "'" + name + "' has no bonus part for the bonus numbers of --prizes";
    } else if (!failed && bonusOutside > 0) {
        failed = "'" + name + "' holds bonus number " + std::to_string(bonusOutside) +
                 ", outside the bonus pool 1.." + std::to_string(bonus.pool);
    }
    if (!failed && tooMany) {
        failed = "'" + name + "' holds more than " + std::to_string(MostPrizeLines) +
                 " lines, the most --prizes tables";
    }
    for (int x = pool + 1; !failed && x <= MaxNumber; ++x) {
        if (used[x]) {
            failed = "'" + name + "' holds " + std::to_string(x) + ", outside the pool 1.." +
                     std::to_string(pool);
        }
    }
    for (int x = 1; !failed && !listed.empty() && x <= MaxNumber; ++x) {
        if (used[x] && !std::binary_search(listed.begin(), listed.end(), x)) {
            failed = "'" + name + "' holds " + std::to_string(x) + ", not in --numbers";
        }
    }
    if (failed) {
        error = std::move(*failed);
        return std::nullopt;
    }
    std::vector<uint8_t> numbers;
    std::array<int, 81> index{};
    for (int x = 1; x <= MaxNumber; ++x) {
        const bool in =
            listed.empty() ? used[x] : std::binary_search(listed.begin(), listed.end(), x);
        if (!in) continue;
        index[x] = static_cast<int>(numbers.size());
        numbers.push_back(static_cast<uint8_t>(x));
    }
    std::vector<WheelLine> indexed;
    for (const NumberLine& line : lines) {
        WheelLine w;
        for (const uint8_t x : line.main) w.push_back(static_cast<uint8_t>(index[x]));
        indexed.push_back(std::move(w));
    }
    const auto table = TablePrizes(pool, draw, numbers, indexed, bonus, error);
    if (!table) {
        error.insert(0, "--prizes ");
        return std::nullopt;
    }
    return PrizeReport(*table, numbers, "file '" + name + "'");
}

}  // namespace combogen
