// The wheel search against the best wheels known: each case asks, as a user would, for at most
// the record's lines (the lower bound where no record is listed), so that a first search that
// falls short goes on to the second; printed are the fewest lines reached with the default
// effort, the ratio to the record, the seconds taken and an independent check of the
// guarantee, set by set. Usage: combogen_wheel_benchmarks [SEED [EFFORT [CASE]]] (CASE, such
// as 15/6/5/6, runs that case alone); exits 1 when a wheel fails its check or the ratios miss
// their targets.
#include <algorithm>
#include <array>
#include <bit>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "random/seeding.h"
#include "wheel/bounds.h"
#include "wheel/search.h"

namespace {

using combogen::WheelGoal;

struct Case {
    WheelGoal goal;
    int best;  // the smallest wheel known; 0: only the lower bound, left out of the targets
    const char* source;  // where that figure comes from
};

const Case kCases[] = {
    {{10, 6, 3, 3}, 10, "La Jolla Covering Repository, C(10,6,3), optimal"},
    {{10, 6, 4, 5}, 7, "coveringrepository.com"},
    {{13, 6, 4, 4}, 66, "La Jolla, C(13,6,4)"},
    {{16, 5, 3, 3}, 65, "La Jolla, C(16,5,3)"},
    {{13, 6, 4, 5}, 21, "coveringrepository.com"},
    {{15, 6, 3, 4}, 14, "coveringrepository.com"},
    {{15, 6, 4, 4}, 117, "La Jolla, C(15,6,4)"},
    {{15, 6, 5, 6}, 142, "coveringrepository.com"},
    {{12, 6, 5, 5}, 132, "Steiner system S(5,6,12), optimal"},
    {{11, 5, 4, 4}, 66, "Steiner system S(4,5,11), optimal"},
    {{15, 3, 2, 2}, 35, "Steiner triple system of 15 points, optimal"},
    {{14, 4, 3, 3}, 91, "Steiner quadruple system of 14 points, optimal"},
    {{21, 5, 2, 2}, 21, "projective plane of order 4, optimal"},
    {{59, 3, 2, 2}, 572, "Fort and Hedlund (1958), C(v,3,2) exactly"},
    {{32, 4, 3, 3}, 1240, "Steiner quadruple system of 32 points (Hanani), optimal"},
    {{59, 6, 2, 6}, 30, "five C(12,6,2) / C(11,6,2) coverings of 6 lines (upper bound)"},
    {{49, 6, 2, 6}, 19, "Cushing and Stewart, Lottery designs: L(49,6,6,2)"},
    {{49, 6, 3, 6}, 163, "smallest known, Wolfram Demonstrations, A Canadian Lottery Wheel"},
    {{59, 6, 3, 3}, 0, "Schoenheim bound only"},
};

// Whether every m-set meets some line in t or more numbers, by brute force over the m-sets.
bool Verify(const WheelGoal& goal, const std::vector<combogen::WheelLine>& lines) {
    std::vector<std::array<uint64_t, 2>> bits;
    for (const auto& line : lines) {
        std::array<uint64_t, 2> b{};
        for (const uint8_t x : line) b[x / 64] |= uint64_t{1} << (x % 64);
        bits.push_back(b);
    }
    std::vector<int> s(goal.m);
    for (int i = 0; i < goal.m; ++i) s[i] = i;
    for (;;) {
        std::array<uint64_t, 2> d{};
        for (const int x : s) d[x / 64] |= uint64_t{1} << (x % 64);
        bool met = false;
        for (const auto& b : bits) {
            if (std::popcount(b[0] & d[0]) + std::popcount(b[1] & d[1]) >= goal.t) {
                met = true;
                break;
            }
        }
        if (!met) return false;
        int i = goal.m - 1;
        while (i >= 0 && s[i] == goal.v - goal.m + i) --i;
        if (i < 0) return true;
        ++s[i];
        for (int j = i + 1; j < goal.m; ++j) s[j] = s[j - 1] + 1;
    }
}

}  // namespace

int main(int argc, char** argv) {
    const uint32_t seed = argc > 1 ? static_cast<uint32_t>(std::strtoul(argv[1], nullptr, 10)) : 1;
    const int64_t effort = argc > 2 ? std::strtoll(argv[2], nullptr, 10) : 0;
    // "b": the best column is the lower bound, no wheel being known.
    std::printf("%-22s %7s %8s %6s %8s %s\n", "case (v/k/t if m)", "lines", "best", "ratio",
                "seconds", "verified");
    std::vector<double> ratios;
    bool ok = true;
    const char* only = argc > 3 ? argv[3] : nullptr;
    for (const Case& c : kCases) {
        char key[40];
        std::snprintf(key, sizeof key, "%d/%d/%d/%d", c.goal.v, c.goal.k, c.goal.t, c.goal.m);
        if (only != nullptr && std::strcmp(only, key) != 0) continue;
        combogen::RandomGenerator g;
        std::array<uint8_t, combogen::SeedImageSize> image;
        combogen::FillFromFallback(image, seed);
        combogen::LaySeedImage(g, image);
        combogen::WheelSearch search;
        search.goal = c.goal;
        search.effort = effort;
        // The lines asked for: the record, or the bound.
        search.lines = c.best > 0 ? c.best : combogen::WheelLowerBound(c.goal).lines;
        const auto start = std::chrono::steady_clock::now();
        const combogen::WheelFound found = combogen::FindWheel(search, g);
        const double seconds =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const bool verified = found.covers && Verify(c.goal, found.lines);
        ok = ok && verified;
        const int64_t best = c.best > 0 ? c.best : combogen::WheelLowerBound(c.goal).lines;
        const double ratio = static_cast<double>(found.lines.size()) / static_cast<double>(best);
        if (c.best > 0) ratios.push_back(ratio);
        char name[40];
        std::snprintf(name, sizeof name, "%d/%d/%d if %d", c.goal.v, c.goal.k, c.goal.t, c.goal.m);
        std::printf("%-22s %7zu %7lld%s %6.3f %8.2f %s\n", name, found.lines.size(),
                    static_cast<long long>(best), c.best > 0 ? " " : "b", ratio, seconds,
                    verified ? "yes" : "NO");
        std::fflush(stdout);
    }
    if (ratios.empty()) return ok ? 0 : 1;
    std::sort(ratios.begin(), ratios.end());
    const size_t n = ratios.size();
    const double median = n % 2 ? ratios[n / 2] : (ratios[n / 2 - 1] + ratios[n / 2]) / 2;
    std::printf("median ratio %.3f (target at most 1.05), worst %.3f (target at most 1.15)\n",
                median, ratios.back());
    return ok && median <= 1.05 && ratios.back() <= 1.15 ? 0 : 1;
}
