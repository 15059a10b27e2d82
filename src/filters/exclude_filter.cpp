// --exclude LIST: numbers no line holds.
#include "filters/filter.h"

namespace combogen {

namespace {

bool Passes(const LineFilters& f, const Number* numbers, int k) {
    for (int i = 0; i < k; ++i) {
        if (f.excluded[numbers[i]]) return false;
    }
    return true;
}

std::string Value(const LineFilters& f) {
    std::string list;
    for (int v = 1; v <= MaxNumber; ++v) {
        if (!f.excluded[v]) continue;
        if (!list.empty()) list += ',';
        list += std::to_string(v);
    }
    return list;
}

}  // namespace

extern const Filter ExcludeFilter{
    .word = "--exclude",
    .kind = Filter::Kind::Barred,
    .recheckOrder = -1,
    .adviceOrder = 2,
    .on = [](const LineFilters& f) { return f.anyExcluded; },
    .leaveOut =
        [](LineFilters& f) {
            f.excluded = {};
            f.anyExcluded = false;
        },
    .copy =
        [](const LineFilters& from, LineFilters& to) {
            to.excluded = from.excluded;
            to.anyExcluded = from.anyExcluded;
        },
    .value = Value,
    .passes = Passes,
    // Numbers above the pool are never marked, so a marked number always bars some lines.
    .meetsAll = [](const LineFilters&, int, int) { return false; },
    .barred = [](const LineFilters& f, int v) { return f.excluded[v]; },
};

}  // namespace combogen
