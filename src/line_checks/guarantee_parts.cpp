#include "line_checks/guarantee_parts.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace combogen {

namespace {

__extension__ typedef unsigned __int128 Wide;

int Root(std::vector<int>& parent, int x) {
    while (parent[static_cast<std::size_t>(x)] != x) {
        x = parent[static_cast<std::size_t>(x)] =
            parent[static_cast<std::size_t>(parent[static_cast<std::size_t>(x)])];
    }
    return x;
}

struct Part {
    std::vector<uint8_t> numbers;  // ascending, of 0..v-1
    std::vector<WheelLine> lines;  // over the part's own indices
    // [k]: the unmet k-sets of the part's numbers, and the first of them (own indices).
    std::vector<uint64_t> unmet;
    std::vector<std::vector<uint8_t>> example;
};

}  // namespace

GuaranteeCheck CheckGuaranteeByParts(int v, int t, int m, std::span<const WheelLine> lines,
                                     uint64_t mostSteps) {
    GuaranteeCheck result;
    result.draws = DrawCount(v, m).value_or(0);
    std::vector<int> parent(static_cast<std::size_t>(v));
    std::iota(parent.begin(), parent.end(), 0);
    for (const WheelLine& line : lines) {
        for (const uint8_t x : line)
            parent[static_cast<std::size_t>(Root(parent, x))] = Root(parent, line.front());
    }
    // One part per group of numbers joined by lines; numbers in no line make the last part.
    std::vector<bool> inLine(static_cast<std::size_t>(v), false);
    for (const WheelLine& line : lines) {
        for (const uint8_t x : line) inLine[x] = true;
    }
    std::vector<Part> parts;
    std::vector<int> partOf(static_cast<std::size_t>(v), -1), place(static_cast<std::size_t>(v));
    Part free;
    for (int x = 0; x < v; ++x) {
        const auto i = static_cast<std::size_t>(x);
        if (!inLine[i]) {
            free.numbers.push_back(static_cast<uint8_t>(x));
            continue;
        }
        const auto root = static_cast<std::size_t>(Root(parent, x));
        if (partOf[root] < 0) {
            partOf[root] = static_cast<int>(parts.size());
            parts.emplace_back();
        }
        Part& part = parts[static_cast<std::size_t>(partOf[root])];
        place[i] = static_cast<int>(part.numbers.size());
        part.numbers.push_back(static_cast<uint8_t>(x));
    }
    for (const WheelLine& line : lines) {
        if (line.empty()) continue;
        Part& part = parts[static_cast<std::size_t>(
            partOf[static_cast<std::size_t>(Root(parent, line.front()))])];
        WheelLine& own = part.lines.emplace_back();
        for (const uint8_t x : line) own.push_back(static_cast<uint8_t>(place[x]));
    }
    if (!free.numbers.empty()) parts.push_back(std::move(free));
    if (parts.size() < 2) {
        result.stopped = true;
        return result;
    }
    // Each part's unmet k-sets, k = 0..m.
    uint64_t stepsLeft = mostSteps;
    for (Part& part : parts) {
        const int size = static_cast<int>(part.numbers.size());
        for (int k = 0; k <= std::min(m, size); ++k) {
            std::vector<uint8_t> first(static_cast<std::size_t>(k));
            std::iota(first.begin(), first.end(), uint8_t{0});
            if (k < t || part.lines.empty()) {
                part.unmet.push_back(DrawCount(size, k).value_or(0));
                part.example.push_back(first);
                continue;
            }
            const GuaranteeCheck check = CheckGuarantee(size, t, k, part.lines, stepsLeft);
            if (check.stopped) {
                result.stopped = true;
                return result;
            }
            part.unmet.push_back(check.draws - check.metDraws);
            part.example.push_back(check.unmet);
            stepsLeft -= std::min(stepsLeft - 1, check.steps);
        }
    }
    // reach[p][d]: the unmet d-sets of the first p parts' numbers.
    std::vector<std::vector<Wide>> reach(parts.size() + 1,
                                         std::vector<Wide>(static_cast<std::size_t>(m) + 1, 0));
    reach[0][0] = 1;
    for (std::size_t p = 0; p < parts.size(); ++p) {
        for (int d = 0; d <= m; ++d) {
            if (reach[p][static_cast<std::size_t>(d)] == 0) continue;
            for (std::size_t k = 0; k < parts[p].unmet.size() && d + static_cast<int>(k) <= m;
                 ++k) {
                reach[p + 1][static_cast<std::size_t>(d) + k] +=
                    reach[p][static_cast<std::size_t>(d)] * parts[p].unmet[k];
            }
        }
    }
    const Wide unmet = reach[parts.size()][static_cast<std::size_t>(m)];
    result.metDraws = result.draws - static_cast<uint64_t>(unmet);
    result.met = unmet == 0;
    if (result.met) return result;
    // An unmet draw: back from the last part, a size for each part that the others complete.
    int d = m;
    for (std::size_t p = parts.size(); p-- > 0;) {
        for (std::size_t k = 0; k < parts[p].unmet.size(); ++k) {
            if (static_cast<int>(k) > d || parts[p].unmet[k] == 0 ||
                reach[p][static_cast<std::size_t>(d) - k] == 0) {
                continue;
            }
            for (const uint8_t i : parts[p].example[k]) result.unmet.push_back(parts[p].numbers[i]);
            d -= static_cast<int>(k);
            break;
        }
    }
    std::sort(result.unmet.begin(), result.unmet.end());
    return result;
}

}  // namespace combogen
