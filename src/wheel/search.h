// The wheel search: the fewest lines it can find for a goal, within a budget of steps.
#pragma once

#include <cstdint>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "random/generator.h"
#include "wheel/goal.h"

namespace combogen {

struct WheelSearch {
    WheelGoal goal;
    // The search's budget in steps (never in seconds), so that a seed gives the same wheel on
    // every platform. 0 asks for the default effort for the goal's size.
    int64_t effort = 0;
    // The threads the search may use; 0: one for each processor the run may use. The wheel
    // found is the same for any number.
    int threads = 0;
    // The most lines the caller can pay for; 0: no such limit. Where the search finds no wheel
    // of at most this many lines that meets the goal, it gives the lines of that many that
    // meet the most m-sets it can find (covers false, unmet the m-sets they leave).
    int64_t budget = 0;
    // The lines a wheel may use (the run's filters); empty: every k-set may be used. Called
    // from several threads at once.
    std::function<bool(std::span<const uint8_t> line)> allowed;
    // Called now and then during a long search with the best wheel's size so far, the m-sets
    // the current attempt still leaves unmet, and the share (0 to 1) of the most steps the
    // search may take that it has taken; never changes the outcome.
    std::function<void(int64_t lines, int64_t uncovered, double done)> progress;
};

struct WheelFound {
    std::vector<WheelLine> lines;  // distinct lines; a wheel that meets the goal when covers
    bool covers = false;           // false: no wheel of allowed lines was found that meets it
    int64_t steps = 0;             // effort spent
    std::string method;            // how it was made: a known design's name, or "search"
    int64_t unmet = 0;             // with a budget and covers false: the m-sets left unmet
};

// The effort FindWheel spends when asked for 0: enough steps for a near-best wheel of this size.
int64_t DefaultWheelEffort(const WheelGoal& goal);

// The smallest wheel the search finds within its effort. Every random decision comes from
// generator (RandomBelow / NextWord), so the same generator state gives the same wheel.
WheelFound FindWheel(const WheelSearch& search, RandomGenerator& generator);

}  // namespace combogen
