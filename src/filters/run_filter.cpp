// --max-run R: no run of more than R consecutive main numbers.
#include "filters/filter.h"
#include "random/wide_draw.h"

namespace combogen {

namespace {

bool Passes(const LineFilters& f, const Number* numbers, int k) {
    const int longest = *f.maxRun;
    if (longest >= k) return true;
    WideCount present = 0;  // bit v-1 of the set of up to MaxNumber bits
    for (int i = 0; i < k; ++i) present |= WideCount{1} << (numbers[i] - 1);
    // A bit left after and-ing longest + 1 shifted copies starts a longer run.
    WideCount longer = present;
    for (int shift = 1; shift <= longest && longer != 0; ++shift) longer &= present >> shift;
    return longer == 0;
}

}  // namespace

extern const Filter RunFilter{
    .word = "--max-run",
    .kind = Filter::Kind::Run,
    .recheckOrder = 1,
    .adviceOrder = 0,
    .on = IsSet<&LineFilters::maxRun>,
    .leaveOut = Unset<&LineFilters::maxRun>,
    .copy = CopySetting<&LineFilters::maxRun>,
    .value = [](const LineFilters& f) { return std::to_string(*f.maxRun); },
    .passes = Passes,
    .meetsAll = [](const LineFilters& f, int, int k) { return *f.maxRun >= k; },
    .longest = [](const LineFilters& f) { return *f.maxRun; },
};

}  // namespace combogen
