#include "filters/line_rules.h"

#include <algorithm>

#include "fixed/fixed_line.h"

namespace combogen {

bool PassesFilters(const LineFilters& filters, const Number* numbers, int k) {
    uint64_t present[2] = {};  // bit v-1 of the 80-bit set
    int sum = 0;
    int odd = 0;
    bool excluded = false;
    for (int i = 0; i < k; ++i) {
        const int v = numbers[i];
        sum += v;
        odd += v & 1;
        excluded |= filters.excluded[v];
        present[(v - 1) >> 6] |= uint64_t{1} << ((v - 1) & 63);
    }
    if (excluded) return false;
    if (filters.sum && (sum < filters.sum->min || sum > filters.sum->max)) return false;
    if (filters.odd && (odd < filters.odd->min || odd > filters.odd->max)) return false;
    if (filters.maxRun) {
        int run = 0;
        for (int v = 0; v < MaxNumber; ++v) {
            run = (present[v >> 6] >> (v & 63) & 1) != 0 ? run + 1 : 0;
            if (run > *filters.maxRun) return false;
        }
    }
    return true;
}

std::optional<std::string> ParseExcludeList(const std::string& text, const LineRules& rules,
                                            LineFilters& filters) {
    const std::string cleaned = CleanFixedLine(text);
    NumberList numbers{};
    int count = 0;
    try {
        count = ParseNumbers(cleaned, numbers);
    } catch (const std::exception&) {
        return "--exclude number in '" + text + "' is above 80";
    }
    if (count == 0) return "--exclude needs at least one number, as in --exclude 13,4";
    if (count > NumberCapacity) return "--exclude lists more than 80 numbers";
    // ParseNumbers keeps values modulo 256; compare the digit runs' full values.
    std::size_t start = 0;
    for (int i = 0; i < count; ++i) {
        std::size_t end = cleaned.find(' ', start);
        if (end == std::string::npos) end = cleaned.size();
        const std::string digits = cleaned.substr(start, end - start);
        start = end + 1;
        const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size());
        const std::string value = digits.substr(first);
        if (value.empty() || value.size() > 2 || std::stoi(value) > MaxNumber) {
            return "--exclude number " + digits + " is outside 1..80";
        }
        const int v = std::stoi(value);
        for (int f = 0; f < rules.fixedCount; ++f) {
            if (rules.fixed[f] == v) {
                return "--exclude number " + digits + " is also a fixed number";
            }
        }
        if (v <= rules.poolSize) {
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
