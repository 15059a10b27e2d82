// The wheel search against the best wheels known, as a user runs it: the default effort, every
// processor, no hint of the record. Printed are the lines found, the ratio to the record, the
// seconds taken and an independent check of the guarantee, set by set, by group of cases:
// constructions (exactly the record, each under 5 s), searches (median 1.000, worst 1.05),
// hard records (worst 1.10); every case under 60 s, the median case under 10 s. Usage:
// combogen_wheel_benchmarks [SEED [EFFORT [CASE]]] (CASE, such as 15/6/5/6, runs that case
// alone); exits 1 when a wheel fails its check or a target is missed.
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

enum Group { Construction, Search, Hard, Other };

struct Case {
    WheelGoal goal;
    int best;  // the smallest wheel known; 0: only the lower bound, left out of the targets
    Group group;
    const char* source;  // where that figure comes from
};

const Case kCases[] = {
    {{12, 6, 5, 5}, 132, Construction, "Steiner system S(5,6,12), optimal"},
    {{17, 5, 3, 3}, 68, Construction, "inversive plane of order 4, S(3,5,17), optimal"},
    {{22, 6, 3, 3}, 77, Construction, "Steiner system S(3,6,22), optimal"},
    {{23, 6, 3, 3}, 104, Construction, "La Jolla, C(23,6,3) = 77 + 27"},
    {{21, 5, 2, 2}, 21, Construction, "projective plane of order 4, optimal"},
    {{59, 6, 2, 6}, 27, Construction, "groups of 14, 14, 14, 9, 8 (Cushing and Stewart)"},
    {{11, 5, 4, 4}, 66, Construction, "Steiner system S(4,5,11), optimal"},
    {{15, 3, 2, 2}, 35, Construction, "Steiner triple system of 15 points, optimal"},
    {{13, 6, 4, 4}, 66, Search, "La Jolla, C(13,6,4)"},
    {{13, 6, 4, 5}, 21, Search, "coveringrepository.com"},
    {{16, 5, 3, 3}, 65, Search, "La Jolla, C(16,5,3)"},
    {{10, 6, 3, 3}, 10, Search, "La Jolla Covering Repository, C(10,6,3), optimal"},
    {{10, 6, 4, 5}, 7, Search, "coveringrepository.com"},
    {{15, 6, 3, 4}, 14, Search, "coveringrepository.com"},
    {{14, 4, 3, 3}, 91, Search, "Steiner quadruple system of 14 points, optimal"},
    {{15, 6, 4, 4}, 117, Hard, "La Jolla, C(15,6,4)"},
    {{15, 6, 5, 6}, 142, Hard, "coveringrepository.com"},
    {{16, 5, 4, 5}, 132, Hard, "coveringrepository.com"},
    {{49, 6, 3, 6}, 163, Hard, "smallest known, Wolfram Demonstrations, A Canadian Lottery Wheel"},
    {{59, 3, 2, 2}, 571, Other, "Fort and Hedlund (1958): the Schoenheim bound, optimal"},
    {{32, 4, 3, 3}, 1240, Other, "Steiner quadruple system of 32 points, optimal"},
    {{49, 6, 2, 6}, 19, Other, "Cushing and Stewart, Lottery designs: L(49,6,6,2)"},
    {{59, 6, 3, 3}, 0, Other, "Schoenheim bound only"},
};

double Median(std::vector<double> values) {
    if (values.empty()) return 0;
    std::sort(values.begin(), values.end());
    const size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

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
    const char* only = argc > 3 ? argv[3] : nullptr;
    // "b": the best column is the lower bound, no wheel being known.
    std::printf("%-22s %7s %8s %6s %8s %-9s %s\n", "case (v/k/t if m)", "lines", "best", "ratio",
                "seconds", "verified", "method");
    std::vector<double> ratios[4], seconds;
    bool ok = true;
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
        const auto start = std::chrono::steady_clock::now();
        const combogen::WheelFound found = combogen::FindWheel(search, g);
        const double took =
            std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        const bool verified = found.covers && Verify(c.goal, found.lines);
        const int64_t best = c.best > 0 ? c.best : combogen::WheelLowerBound(c.goal).lines;
        const double ratio = static_cast<double>(found.lines.size()) / static_cast<double>(best);
        if (c.best > 0) ratios[c.group].push_back(ratio);
        seconds.push_back(took);
        ok = ok && verified && took < 60 && (c.group != Construction || (ratio == 1 && took < 5));
        char name[40];
        std::snprintf(name, sizeof name, "%d/%d/%d if %d", c.goal.v, c.goal.k, c.goal.t, c.goal.m);
        std::printf("%-22s %7zu %7lld%s %6.3f %8.2f %-9s %s\n", name, found.lines.size(),
                    static_cast<long long>(best), c.best > 0 ? " " : "b", ratio, took,
                    verified ? "yes" : "NO", found.method.c_str());
        std::fflush(stdout);
    }
    const auto worst = [](const std::vector<double>& v) {
        return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
    };
    std::printf("constructions: worst %.3f (target 1.000, each under 5 s)\n",
                worst(ratios[Construction]));
    std::printf("searches: median %.3f (target 1.000), worst %.3f (target at most 1.05)\n",
                Median(ratios[Search]), worst(ratios[Search]));
    std::printf("hard records: worst %.3f (target at most 1.10)\n", worst(ratios[Hard]));
    std::printf("seconds: median %.2f (target under 10), most %.2f (target under 60)\n",
                Median(seconds), worst(seconds));
    if (only != nullptr) return ok ? 0 : 1;
    ok = ok && Median(ratios[Search]) <= 1.0 && worst(ratios[Search]) <= 1.05 &&
         worst(ratios[Hard]) <= 1.10 && Median(seconds) < 10;
    return ok ? 0 : 1;
}
