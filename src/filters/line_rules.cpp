#include "filters/line_rules.h"

#include "filters/filter.h"

namespace combogen {

bool LineFilters::Any() const {
    for (const Filter* filter : Filters()) {
        if (filter->on(*this)) return true;
    }
    return false;
}

bool LineFilters::LimitsLines() const {
    for (const Filter* filter : Filters()) {
        if (filter->kind != Filter::Kind::Barred && filter->on(*this)) return true;
    }
    return false;
}

bool PassesFilters(const LineFilters& filters, const Number* numbers, int k) {
    for (const Filter* filter : Filters()) {
        if (filter->on(filters) && !filter->passes(filters, numbers, k)) return false;
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

std::string DescribeLine(const LineRules& rules) {
    std::string text =
        std::to_string(rules.pickCount) + " from 1.." + std::to_string(rules.poolSize);
    if (rules.form == FixedForm::All && rules.fixedCount > 0) {
        text += " holding all " + std::to_string(rules.fixedCount) + " fixed numbers";
    } else if (rules.form == FixedForm::Some) {
        text += " holding " + std::to_string(rules.fixedMin) + " to " +
                std::to_string(rules.fixedMax) + " fixed numbers";
    }
    return text;
}

std::string DescribeLines(const LineRules& rules) { return "lines of " + DescribeLine(rules); }

std::string DescribeFilters(const LineFilters& filters) {
    std::string text;
    for (const Filter* filter : Filters()) {
        if (!filter->on(filters)) continue;
        if (!text.empty()) text += " and ";
        text += Describe(*filter, filters);
    }
    return text;
}

}  // namespace combogen
