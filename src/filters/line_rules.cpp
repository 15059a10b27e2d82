#include "filters/line_rules.h"

#include "random/wide_draw.h"

namespace combogen {

bool PassesFilters(const LineFilters& filters, const Number* numbers, int k) {
    if (filters.anyExcluded) {
        for (int i = 0; i < k; ++i) {
            if (filters.excluded[numbers[i]]) return false;
        }
    }
    int sum = 0;
    int odd = 0;
    for (int i = 0; i < k; ++i) {
        sum += numbers[i];
        odd += numbers[i] & 1;
    }
    if (filters.sum && (sum < filters.sum->min || sum > filters.sum->max)) return false;
    if (filters.odd && (odd < filters.odd->min || odd > filters.odd->max)) return false;
    if (filters.maxRun && *filters.maxRun < k) {
        WideCount present = 0;  // bit v-1 of the 80-bit set
        for (int i = 0; i < k; ++i) present |= WideCount{1} << (numbers[i] - 1);
        // A bit left after and-ing maxRun + 1 shifted copies starts a longer run.
        WideCount longer = present;
        for (int shift = 1; shift <= *filters.maxRun && longer != 0; ++shift) {
            longer &= present >> shift;
        }
        if (longer != 0) return false;
    }
    return true;
}

std::optional<std::string> ExcludeNumbers(const std::vector<int>& numbers, const LineRules& rules,
                                          LineFilters& filters) {
    for (const int v : numbers) {
        for (int f = 0; f < rules.fixedCount; ++f) {
            if (rules.fixed[f] == v) {
                return "--exclude " + std::to_string(v) + " is also a fixed number";
            }
        }
        if (v >= 1 && v <= rules.poolSize) {
            filters.excluded[v] = true;
            filters.anyExcluded = true;
        }
    }
    return std::nullopt;
}

std::string DescribeFilters(const LineFilters& filters) {
    std::string text;
    const auto add = [&text](const std::string& part) {
        if (!text.empty()) text += " and ";
        text += part;
    };
    if (filters.sum) {
        add("--sum " + std::to_string(filters.sum->min) + ":" + std::to_string(filters.sum->max));
    }
    if (filters.odd) {
        add("--odd " + std::to_string(filters.odd->min) + ":" + std::to_string(filters.odd->max));
    }
    if (filters.maxRun) add("--max-run " + std::to_string(*filters.maxRun));
    if (filters.anyExcluded) {
        std::string list;
        for (int v = 1; v <= MaxNumber; ++v) {
            if (!filters.excluded[v]) continue;
            if (!list.empty()) list += ',';
            list += std::to_string(v);
        }
        add("--exclude " + list);
    }
    return text;
}

}  // namespace combogen
