#include "line_checks/guarantee_report.h"

#include <algorithm>
#include <array>

#include "combination/number_list.h"
#include "line_checks/guarantee_parts.h"
#include "line_checks/report_text.h"
#include "text/number_lines.h"
#include "wheel/bounds.h"
#include "wheel/guarantee.h"

namespace combogen {

namespace {

// Beyond this the bit sets of the guarantee check grow past 10 MB.
constexpr int64_t MostGuaranteeLines = 1000000;

// About a second of the guarantee check on one core. A check that needs more (few lines over
// many numbers, whose unmet draws are visited nearly one by one) is refused.
constexpr uint64_t MostGuaranteeSteps = uint64_t{1} << 26;

}  // namespace

std::optional<std::string> CheckGuaranteeFile(const std::string& name, int t, int m,
                                              const std::vector<int>& listed, std::string& error) {
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
    for (int v = 1; v <= MaxNumber; ++v) {
        const bool in =
            listed.empty() ? used[v] : std::binary_search(listed.begin(), listed.end(), v);
        if (!in) continue;
        index[v] = static_cast<int>(numbers.size());
        numbers.push_back(static_cast<uint8_t>(v));
    }
    const int v = static_cast<int>(numbers.size());
    const std::string prize = std::to_string(t) + ":" + std::to_string(m);
    if (v < m) {
        error = "--guarantee " + prize + ": " +
                (listed.empty() ? "the lines use " : "--numbers lists ") +
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
    GuaranteeCheck check = CheckGuarantee(v, t, m, indexed, MostGuaranteeSteps);
    if (check.stopped) check = CheckGuaranteeByParts(v, t, m, indexed, MostGuaranteeSteps);
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
    // How few lines could do: the wheel's lower bound for lines of this file's length.
    const int k = std::min(static_cast<int>(lines.front().main.size()), v);
    if (t <= k) {
        const WheelBound bound = WheelLowerBound({v, k, t, m});
        out += "lower bound: no " + std::to_string(t) + " if " + std::to_string(m) + " over " +
               Plural(v, "number", "numbers") + " in fewer than " +
               Plural(bound.lines, "line", "lines") + " of " + std::to_string(k) + " (" +
               BoundName(bound.kind) + ")\n";
    }
    return out;
}

}  // namespace combogen
