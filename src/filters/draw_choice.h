// The choice among the ways of drawing a line under the filters (and for --unique): the full
// table of passing lines, the reachable counts, counts of some filters with the others
// rechecked, or the usual drawing done again until a line passes.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "filters/passing_sets.h"

namespace combogen {

struct DrawChoice {
    std::unique_ptr<PassingSets> sets;  // null: drawn as usual and again until a line passes
    bool recheck = false;               // sets count fewer filters than the run has
    WideCount passing = 0;              // with recheck, the lines that pass every filter
    const char* about = nullptr;        // the option a refusal concerns first, as "--sum"
};

// The way to draw the lines of rules (with lists as the run has them); unique: every line must
// be counted. Returns what makes the run impossible (no line passes, counts too large even over
// the states that can reach a passing line), or nothing.
std::optional<std::string> ChooseDraw(const LineRules& rules, const NumberLists& lists, bool unique,
                                      DrawChoice& choice);

}  // namespace combogen
