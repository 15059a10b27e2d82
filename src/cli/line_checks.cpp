#include "cli/line_checks.h"

#include <algorithm>
#include <array>
#include <vector>

#include "wheel/guarantee.h"

namespace combogen {

namespace {

// Beyond this the bit sets of the guarantee check grow past 10 MB.
constexpr int64_t MostGuaranteeLines = 1000000;

// About a second of the guarantee check on one core. A check that needs more (few lines over
// many numbers, whose unmet draws are visited nearly one by one) is refused.
constexpr uint64_t MostGuaranteeSteps = uint64_t{1} << 26;

std::string Labels(const std::vector<uint8_t>& numbers) {
    std::string text;
    for (const uint8_t v : numbers) {
        if (!text.empty()) text += ' ';
        text += static_cast<char>('0' + v / 10);
        text += static_cast<char>('0' + v % 10);
    }
    return text;
}

std::string LineText(const NumberLine& line) {
    return line.bonus.empty() ? Labels(line.main) : Labels(line.main) + " + " + Labels(line.bonus);
}

std::string Padded(const std::string& text, std::size_t width) {
    return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
}

int Common(const std::vector<uint8_t>& a, const std::vector<uint8_t>& b) {
    int count = 0;
    for (const uint8_t x : a) count += std::find(b.begin(), b.end(), x) != b.end();
    return count;
}

std::string Plural(int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

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
    out += "matched     lines";
    if (!draw.bonus.empty()) {
        for (int b = 0; b <= bonusTop; ++b) {
            // Appended piece by piece: GCC 12 warns falsely on "+" + std::string.
            std::string heading(1, '+');
            heading.append(std::to_string(b)).append(" bonus");
            out += Padded(heading, 10);
        }
    }
    out += "\n";
    for (int m = top; m >= 0; --m) {
        int64_t row = 0;
        for (int b = 0; b <= 80; ++b) row += counts[m][b];
        out += Padded(std::to_string(m), 7) + Padded(std::to_string(row), 10);
        if (!draw.bonus.empty()) {
            for (int b = 0; b <= bonusTop; ++b) out += Padded(std::to_string(counts[m][b]), 10);
        }
        out += "\n";
    }
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

std::optional<std::string> CheckPrize(const std::string& name, const Options& options,
                                      std::string& error) {
    const int t = options.guarantee->t, m = options.guarantee->m;
    std::vector<NumberLine> lines;
    bool tooMany = false;
    std::array<bool, 81> used{};
    auto failed = ReadNumberLines(name, [&](int64_t, const NumberLine& line) {
        if (static_cast<int64_t>(lines.size()) == MostGuaranteeLines) {
            tooMany = true;
            return;
        }
        for (const uint8_t v : line.main) used[v] = true;
        lines.push_back(NumberLine{line.main, {}});
    });
    if (!failed && tooMany) {
        failed = "'" + name + "' holds more than " + std::to_string(MostGuaranteeLines) +
                 " lines, the most --guarantee checks";
    }
    if (failed) {
        error = std::move(*failed);
        return std::nullopt;
    }
    // The numbers wheeled and their indices.
    std::vector<uint8_t> numbers;
    std::array<int, 81> index{};
    index.fill(-1);
    for (int v = 1; v <= 80; ++v) {
        const bool in = options.numbers.empty()
                            ? used[v]
                            : std::binary_search(options.numbers.begin(), options.numbers.end(), v);
        if (!in) continue;
        index[v] = static_cast<int>(numbers.size());
        numbers.push_back(static_cast<uint8_t>(v));
    }
    const int v = static_cast<int>(numbers.size());
    const std::string prize = std::to_string(t) + ":" + std::to_string(m);
    if (v < m) {
        error = "--guarantee " + prize + ": " +
                (options.numbers.empty() ? "the lines use " : "--numbers lists ") +
                Plural(v, "number", "numbers") + ", fewer than M";
        return std::nullopt;
    }
    if (!DrawCount(v, m)) {
        error = "--guarantee " + prize + " over " + std::to_string(v) +
                " numbers: more than 2^62 draws to check";
        return std::nullopt;
    }
    std::vector<WheelLine> indexed;
    for (const NumberLine& line : lines) {
        WheelLine w;
        for (const uint8_t x : line.main) {
            if (index[x] >= 0) w.push_back(static_cast<uint8_t>(index[x]));
        }
        indexed.push_back(std::move(w));
    }
    const GuaranteeCheck check = CheckGuarantee(v, t, m, indexed, MostGuaranteeSteps);
    if (check.stopped) {
        int most = m;
        for (std::optional<uint64_t> steps;
             (steps = MostCheckSteps(most + 1, m)) && *steps <= MostGuaranteeSteps;) {
            ++most;
        }
        error = "--guarantee " + prize + " over " + std::to_string(v) +
                " numbers: these lines leave too many draws to count in time; any file is "
                "checked over at most " +
                std::to_string(most) + " numbers";
        return std::nullopt;
    }
    const std::string ofThem = std::to_string(m) + " of these numbers";
    std::string out = "guarantee " + std::to_string(t) + " if " + std::to_string(m) + " over " +
                      Plural(v, "number", "numbers") + ": " + Labels(numbers) + "\n";
    out += "file '" + name + "': " + Plural(static_cast<int64_t>(lines.size()), "line", "lines") +
           "\n";
    const std::string counted =
        std::to_string(check.metDraws) + " of " + std::to_string(check.draws) + " draws";
    if (check.met) {
        out += "met: whenever " + ofThem + " are drawn, a line holds at least " +
               std::to_string(t) + " of them (" + counted + ")\n";
    } else {
        // Rounded down, so that a share short of all never shows as 100.00.
        const uint64_t hundredths = std::min<uint64_t>(
            static_cast<uint64_t>(static_cast<long double>(check.metDraws) * 10000 / check.draws),
            9999);
        std::string share = std::to_string(hundredths / 100) + ".";
        share += static_cast<char>('0' + hundredths % 100 / 10);
        share += static_cast<char>('0' + hundredths % 10);
        out += "not met: " + counted + " (" + share + " %) leave at least " + std::to_string(t) +
               " in a line\n";
        std::vector<uint8_t> example;
        for (const uint8_t i : check.unmet) example.push_back(numbers[i]);
        out += "unmet, for example: " + Labels(example) + "\n";
    }
    return out;
}

}  // namespace

std::optional<std::string> CheckLines(std::span<const std::string> args, const Options& options,
                                      std::string& error) {
    const char* option = options.checkDraw ? "--check" : "--guarantee";
    if (args.size() != 1) {
        error = std::string(option) + " takes one FILE of lines after its value, got " +
                Plural(static_cast<int64_t>(args.size()), "argument", "arguments");
        return std::nullopt;
    }
    return options.checkDraw ? CheckDraw(args[0], *options.checkDraw, error)
                             : CheckPrize(args[0], options, error);
}

}  // namespace combogen
