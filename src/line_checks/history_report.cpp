#include "line_checks/history_report.h"

#include <algorithm>
#include <array>
#include <vector>

#include "line_checks/draw_file.h"
#include "line_checks/report_text.h"
#include "text/number_lines.h"

namespace combogen {

namespace {

// Draws times lines: a few seconds of counting.
constexpr uint64_t MostChecks = uint64_t{1} << 30;
constexpr std::size_t MostShown = 10;

int Common(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int count = 0;
    for (const uint8_t x : a) count += std::find(b.begin(), b.end(), x) != b.end();
    return count;
}

std::string Score(std::pair<int, int> score, bool bonus) {
    std::string text = Plural(score.first, "number", "numbers");
    if (bonus) text += " + " + std::to_string(score.second) + " bonus";
    return text;
}

struct LineRecord {
    std::pair<int, int> best{-1, -1};
    int64_t times = 0;  // draws in which the line got its best
};

}  // namespace

std::optional<std::string> CheckPastDraws(const std::string& drawsName,
                                          const std::string& linesName, const std::string& notADraw,
                                          const std::optional<PrizeGame>& game,
                                          std::string& error) {
    std::vector<NumberLine> lines;
    std::vector<int64_t> numbers;  // the lines' line numbers in their file
    std::vector<PastDraw> draws;
    auto failed = ReadDrawFile(drawsName, draws);
    if (failed && failed->rfind("cannot open '", 0) == 0) {
        failed = notADraw + ", and no file of draws of that name can be opened";
    }
    if (!failed) {
        failed = ReadNumberLines(linesName, [&](int64_t number, const NumberLine& line) {
            lines.push_back(line);
            numbers.push_back(number);
        });
    }
    if (!failed && lines.size() * draws.size() > MostChecks) {
        failed = "--check: " + std::to_string(draws.size()) + " draws times " +
                 std::to_string(lines.size()) + " lines is more than the " +
                 std::to_string(MostChecks) + " a check counts";
    }
    if (failed) {
        error = std::move(*failed);
        return std::nullopt;
    }
    const std::size_t pick = lines.front().main.size(), bonusCount = lines.front().bonus.size();
    const bool separatePool = game && game->bonusPool > 0;
    std::vector<LineRecord> records(lines.size());
    // totals[main][bonus] over every draw.
    std::array<std::array<int64_t, 81>, 81> totals{};
    int top = 0, bonusTop = 0;
    bool anyBonus = false;
    std::string out = "draws '" + drawsName +
                      "': " + Plural(static_cast<int64_t>(draws.size()), "draw", "draws") +
                      "; file '" + linesName +
                      "': " + Plural(static_cast<int64_t>(lines.size()), "line", "lines") + " of " +
                      Plural(static_cast<int64_t>(pick), "number", "numbers") +
                      (bonusCount > 0 ? " + " + std::to_string(bonusCount) + " bonus" : "") + "\n";
    for (const PastDraw& draw : draws) {
        NumberLine drawn;
        if (auto wrong = game ? SplitGameDraw(draw, *game, drawn.main, drawn.bonus)
                              : SplitDraw(draw, pick, bonusCount, drawn.main, drawn.bonus)) {
            error = "'" + drawsName + "' line " + std::to_string(draw.lineNumber) + ": " + *wrong;
            return std::nullopt;
        }
        anyBonus = anyBonus || !drawn.bonus.empty();
        top = std::max(top, static_cast<int>(std::min(pick, drawn.main.size())));
        std::vector<int64_t> byMain(pick + 1, 0);
        std::pair<int, int> best{-1, -1};
        std::size_t bestLine = 0;
        for (std::size_t i = 0; i < lines.size(); ++i) {
            std::pair<int, int> score{
                Common(lines[i].main, drawn.main),
                Common(lines[i].bonus.empty() ? lines[i].main : lines[i].bonus, drawn.bonus)};
            // A line without bonus numbers holds none of a bonus pool of its own.
            if (separatePool && lines[i].bonus.empty()) score.second = 0;
            ++byMain[static_cast<std::size_t>(score.first)];
            ++totals[static_cast<std::size_t>(score.first)][static_cast<std::size_t>(score.second)];
            bonusTop = std::max(bonusTop, score.second);
            if (score > best) {
                best = score;
                bestLine = i;
            }
            LineRecord& record = records[i];
            if (score > record.best) record = {score, 0};
            if (score == record.best) ++record.times;
        }
        out += "line " + std::to_string(draw.lineNumber) +
               (draw.date.empty() ? "" : ", " + draw.date) + ": " + LineText(drawn) + "\n";
        out += "  best " + Score(best, !drawn.bonus.empty()) + ", line " +
               std::to_string(numbers[bestLine]) + ": " + LineText(lines[bestLine]) +
               "; lines by numbers matched, " + std::to_string(pick) + " down to 0:";
        for (std::size_t m = pick + 1; m-- > 0;)
            out.append(1, ' ').append(std::to_string(byMain[m]));
        out += "\n";
    }
    out += "totals over every draw\n";
    out += MatchTable(top, bonusTop, anyBonus, [&](int m, int b) {
        return static_cast<int64_t>(
            totals[static_cast<std::size_t>(m)][static_cast<std::size_t>(b)]);
    });
    // The lines that won most: the best score, then how often they got it, then file order.
    std::vector<std::size_t> order(lines.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
        if (records[a].best != records[b].best) return records[a].best > records[b].best;
        return records[a].times > records[b].times;
    });
    out += "lines that won most\n";
    for (std::size_t i = 0; i < std::min(MostShown, order.size()); ++i) {
        const LineRecord& record = records[order[i]];
        out += "  line " + std::to_string(numbers[order[i]]) + ": " + LineText(lines[order[i]]) +
               ", best " + Score(record.best, anyBonus) + " in " +
               Plural(record.times, "draw", "draws") + "\n";
    }
    return out;
}

}  // namespace combogen
