#include "wheel/coverage_order.h"

#include <algorithm>
#include <queue>
#include <utility>

#include "combination/number_list.h"
#include "wheel/search/sets.h"

namespace combogen {

namespace {

using wheel_search::Choose;
using wheel_search::ForEachSubset;

// The most m-sets marked, a bit each (4 MiB), and the most sets weighed in all (about a
// second); past that, the lines left are placed by the gains last weighed.
constexpr uint64_t kMarkedSets = uint64_t{1} << 25;
constexpr uint64_t kWeighedSets = uint64_t{1} << 27;

class Marks {
public:
    Marks(int v, int t, int m) : v_(v), t_(t), m_(m), met_((Choose(v, m) + 63) / 64, 0) {}

    // How many m-sets line meets that are not marked yet; marks them when mark is set.
    uint64_t Meet(const WheelLine& line, bool mark) {
        uint8_t in[MaxNumber], out[MaxNumber];
        const int nIn = static_cast<int>(line.size());
        std::copy(line.begin(), line.end(), in);
        int nOut = 0;
        for (int x = 0, i = 0; x < v_; ++x) {
            if (i < nIn && in[i] == x)
                ++i;
            else
                out[nOut++] = static_cast<uint8_t>(x);
        }
        uint64_t fresh = 0;
        for (int i = t_; i <= std::min(nIn, m_); ++i) {
            ForEachSubset(in, nIn, i, [&](const uint8_t* a) {
                ForEachSubset(out, nOut, m_ - i, [&](const uint8_t* b) {
                    uint8_t s[MaxNumber];
                    std::merge(a, a + i, b, b + (m_ - i), s);
                    uint64_t r = 0;
                    for (int j = 0; j < m_; ++j) r += Choose(s[j], j + 1);
                    uint64_t& word = met_[r / 64];
                    const uint64_t bit = uint64_t{1} << (r % 64);
                    if (word & bit) return;
                    ++fresh;
                    if (mark) word |= bit;
                });
            });
        }
        return fresh;
    }

private:
    int v_, t_, m_;
    std::vector<uint64_t> met_;  // by colex rank
};

}  // namespace

std::vector<WheelLine> OrderByCoverage(int v, int t, int m, std::vector<WheelLine> lines) {
    if (lines.size() < 2) return lines;
    const int k = static_cast<int>(lines.front().size());
    const auto perLineOf = [&](int drawn) {
        uint64_t sets = 0;
        for (int i = t; i <= std::min(k, drawn); ++i)
            sets += Choose(k, i) * Choose(v - k, drawn - i);
        return sets;
    };
    if (Choose(v, m) > kMarkedSets || perLineOf(m) * 3 * lines.size() > kWeighedSets) m = t;
    const uint64_t perLine = perLineOf(m);
    Marks marks(v, t, m);
    // Lazy greedy: a line's gain only falls as lines are placed, so a stale gain bounds it,
    // and a line whose fresh gain still leads is the one to place.
    using Entry = std::pair<uint64_t, size_t>;  // gain, and the place in lines
    const auto below = [](const Entry& a, const Entry& b) {
        return a.first != b.first ? a.first < b.first : a.second > b.second;
    };
    std::priority_queue<Entry, std::vector<Entry>, decltype(below)> queue(below);
    for (size_t i = 0; i < lines.size(); ++i) queue.push({UINT64_MAX, i});
    std::vector<WheelLine> ordered;
    ordered.reserve(lines.size());
    uint64_t weighed = 0;
    while (!queue.empty()) {
        Entry top = queue.top();
        queue.pop();
        if (weighed < kWeighedSets) {
            top.first = marks.Meet(lines[top.second], false);
            weighed += perLine;
            if (!queue.empty() && below(top, queue.top())) {
                queue.push(top);
                continue;
            }
        }
        marks.Meet(lines[top.second], true);
        ordered.push_back(std::move(lines[top.second]));
    }
    return ordered;
}

}  // namespace combogen
