// What a line's main numbers must satisfy: the run's form (with all, some or no fixed
// numbers) and the filters on sum, odd count, runs of consecutive numbers and left-out numbers.
#pragma once

#include <array>
#include <optional>
#include <string>
#include <vector>

#include "combination/draw.h"
#include "combination/number_list.h"

namespace combogen {

struct CountRange {
    int min = 0;
    int max = 0;
};

struct LineFilters {
    std::optional<CountRange> sum;  // of the main numbers
    std::optional<CountRange> odd;  // how many main numbers are odd
    std::optional<int> maxRun;      // longest run of consecutive numbers
    std::array<bool, MaxNumber + 1> excluded{};
    bool anyExcluded = false;  // true whenever excluded holds a number

    bool Any() const;
    // Whether a filter limits which numbers go together in a line (any but left-out numbers).
    bool LimitsLines() const;
};

struct LineRules {
    int poolSize = 0;   // n
    int pickCount = 0;  // k
    FixedForm form = FixedForm::None;
    NumberList fixed{};  // distinct, within 1..n
    int fixedCount = 0;
    int fixedMin = 0;  // FixedForm::Some only
    int fixedMax = 0;
    LineFilters filters;
};

// True when the k numbers (distinct, any order) pass every filter.
bool PassesFilters(const LineFilters& filters, const Number* numbers, int k);

// Marks the --exclude numbers (each in 1..MaxNumber) as left out. Numbers above the pool never
// appear anyway and are ignored, so one list serves several games. Returns an error text when a
// number is also fixed, or nothing.
std::optional<std::string> ExcludeNumbers(const std::vector<int>& numbers, const LineRules& rules,
                                          LineFilters& filters);

// "6 from 1..49", with the fixed numbers' part when there is one.
std::string DescribeLine(const LineRules& rules);
// "lines of 6 from 1..49", likewise.
std::string DescribeLines(const LineRules& rules);

// The filters in the words of the command line, as "--sum 21:21 and --odd 3:3".
std::string DescribeFilters(const LineFilters& filters);

}  // namespace combogen
