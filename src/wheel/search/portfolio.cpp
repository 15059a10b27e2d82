#include "wheel/search/portfolio.h"

#include <algorithm>
#include <array>

#include "platform/processors.h"
#include "wheel/search/engine.h"

#if COMBOGEN_THREADS
#include <system_error>
#include <thread>
#endif

namespace combogen::wheel_search {

namespace {

// A generator of its own for a walk: its table and registers drawn from g, then one round, so
// that the walks' streams share nothing but their origin.
RandomGenerator DerivedGenerator(RandomGenerator& g) {
    RandomGenerator walk{};
    for (uint32_t& word : walk.mm) word = NextWord(g);
    walk.aa = NextWord(g);
    walk.bb = NextWord(g);
    walk.cc = NextWord(g);
    walk.randcnt = 256;
    GenerateRound(walk);
    return walk;
}

}  // namespace

bool Better(const WheelFound& a, const WheelFound& b) {
    if (a.covers != b.covers) return a.covers;
    if (a.covers) return a.lines.size() < b.lines.size();
    if (a.lines.empty() || b.lines.empty()) return b.lines.empty() && !a.lines.empty();
    return a.unmet < b.unmet;
}

WheelFound RunPortfolio(const WheelSearch& search, int m, std::span<const WheelLine> start,
                        RandomGenerator& g) {
    std::array<RandomGenerator, kWalks> generators;
    for (RandomGenerator& walk : generators) walk = DerivedGenerator(g);
    int threads = search.threads > 0 ? search.threads : UsableProcessorCount();
    threads = std::clamp(threads, 1, kWalks);
#if !COMBOGEN_THREADS
    threads = 1;
#endif
    // Walks side by side: only the first reports, as the others may run on other threads.
    // Walks one after another: each reports, its share of the work after the walks before it.
    std::array<WheelSearch, kWalks> searches;
    for (int i = 0; i < kWalks; ++i) {
        searches[i] = search;
        if (!search.progress || (threads > 1 && i > 0)) {
            searches[i].progress = nullptr;
        } else if (threads == 1) {
            searches[i].progress = [&search, i](int64_t lines, int64_t uncovered, double done) {
                search.progress(lines, uncovered, (i + done) / kWalks);
            };
        }
    }
    std::array<WheelFound, kWalks> found;
    const auto walk = [&](int i) {
        Engine engine(searches[i], generators[i], m);
        found[i] = engine.Run(i == 0 ? start : std::span<const WheelLine>());
    };
#if COMBOGEN_THREADS
    std::array<std::thread, kWalks> others;
    int started = 0;
    for (int i = 1; i < threads; ++i) {
        try {
            others[i] = std::thread(walk, i);
            started = i;
        } catch (const std::system_error&) {
            break;  // no thread to be had: the rest run here, with the same results
        }
    }
    walk(0);
    for (int i = started + 1; i < kWalks; ++i) walk(i);
    for (int i = 1; i <= started; ++i) others[i].join();
#else
    for (int i = 0; i < kWalks; ++i) walk(i);
#endif
    int best = 0;
    for (int i = 1; i < kWalks; ++i)
        if (Better(found[i], found[best])) best = i;
    WheelFound result = std::move(found[best]);
    for (int i = 0; i < kWalks; ++i)
        if (i != best) result.steps += found[i].steps;
    return result;
}

}  // namespace combogen::wheel_search
