#include "fixed/fixed_line.h"

#include <algorithm>

#include "text/integer_text.h"

namespace combogen {

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

std::string CleanFixedLine(std::string_view line) {
    std::string cleaned;
    cleaned.reserve(line.size());
    for (const char c : line) {
        if (IsDigit(c)) {
            cleaned += c;
        } else if (!cleaned.empty() && cleaned.back() != ' ') {
            cleaned += ' ';
        }
    }
    if (!cleaned.empty() && cleaned.back() == ' ') cleaned.pop_back();
    return cleaned;
}

int ParseNumbers(std::string_view cleaned, NumberList& buffer) {
    int count = 0;
    std::size_t start = 0;
    while (start < cleaned.size()) {
        std::size_t end = cleaned.find(' ', start);
        if (end == std::string_view::npos) end = cleaned.size();
        const int32_t value = StrToInt(cleaned.substr(start, end - start));
        if (count < NumberCapacity) buffer[count] = static_cast<Number>(value);
        ++count;
        start = end + 1;
    }
    return count;
}

int RemoveDuplicates(const NumberList& buffer, int count, NumberList& fixed) {
    int fixedCount = 0;
    for (int i = 0; i < count; ++i) {
        const auto kept = fixed.begin() + fixedCount;
        if (std::find(fixed.begin(), kept, buffer[i]) == kept) fixed[fixedCount++] = buffer[i];
    }
    return fixedCount;
}

Number LargestFixed(const NumberList& fixed, int fixedCount) {
    Number largest = 0;
    for (int i = 0; i < fixedCount; ++i) largest = std::max(largest, fixed[i]);
    return largest;
}

}  // namespace combogen
