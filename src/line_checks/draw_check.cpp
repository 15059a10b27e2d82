#include "line_checks/draw_check.h"

#include <algorithm>
#include <array>
#include <vector>

#include "line_checks/report_text.h"

namespace combogen {

namespace {

int Common(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int count = 0;
    for (const uint8_t x : a) count += std::find(b.begin(), b.end(), x) != b.end();
    return count;
}

}  // namespace

std::optional<std::string> CheckDraw(const std::string& name, const NumberLine& draw,
                                     std::string& error) {
    constexpr std::size_t MostShown = 10;
    // counts[main][bonus]; a line without a bonus part matches the draw's bonus numbers with
    // its main numbers, as where the bonus comes from the same pool.
    std::array<std::array<int64_t, 81>, 81> counts{};
    int64_t lines = 0;
    std::size_t mainCount = 0, bonusCount = 0;
    std::pair<int, int> best{-1, -1};
    std::vector<std::string> bestLines;
    int64_t bestTotal = 0;
    auto failed = ReadNumberLines(name, [&](int64_t number, const NumberLine& line) {
        const int main = Common(line.main, draw.main);
        const int bonus = Common(line.bonus.empty() ? line.main : line.bonus, draw.bonus);
        ++counts[main][bonus];
        ++lines;
        mainCount = line.main.size();
        bonusCount = line.bonus.size();
        const std::pair<int, int> score{main, bonus};
        if (score > best) {
            best = score;
            bestLines.clear();
            bestTotal = 0;
        }
        if (score == best) {
            ++bestTotal;
            if (bestLines.size() < MostShown) {
                bestLines.push_back("  line " + std::to_string(number) + ": " + LineText(line));
            }
        }
    });
    if (failed) {
        error = std::move(*failed);
        return std::nullopt;
    }
    // Lines without a bonus part play one pool: a bonus number that is also a main number
    // would be drawn twice, and counted twice.
    for (const uint8_t x : draw.bonus) {
        if (bonusCount == 0 &&
            std::find(draw.main.begin(), draw.main.end(), x) != draw.main.end()) {
            error = "--check '" + LineText(draw) + "': " + std::to_string(x) +
                    " is both a main and a bonus number, and the lines of '" + name +
                    "' have no bonus part (one pool)";
            return std::nullopt;
        }
    }
    const int top = static_cast<int>(std::min(mainCount, draw.main.size()));
    const int bonusTop = draw.bonus.empty()
                             ? 0
                             : static_cast<int>(std::min(bonusCount > 0 ? bonusCount : mainCount,
                                                         draw.bonus.size()));
    std::string out = "draw " + LineText(draw) + "\n";
    out += "file '" + name + "': " + Plural(lines, "line", "lines") + " of " +
           Plural(static_cast<int64_t>(mainCount), "number", "numbers") +
           (bonusCount > 0 ? " + " + std::to_string(bonusCount) + " bonus" : "") + "\n";
    out += MatchTable(top, bonusTop, !draw.bonus.empty(),
                      [&](int m, int b) { return static_cast<int64_t>(counts[m][b]); });
    out += "best: " + Plural(best.first, "number", "numbers");
    if (!draw.bonus.empty()) out += " + " + std::to_string(best.second) + " bonus";
    out += ", " + Plural(bestTotal, "line", "lines") + "\n";
    for (const std::string& line : bestLines) out += line + "\n";
    if (bestTotal > static_cast<int64_t>(bestLines.size())) {
        out += "  and " + std::to_string(bestTotal - static_cast<int64_t>(bestLines.size())) +
               " more\n";
    }
    return out;
}

}  // namespace combogen
