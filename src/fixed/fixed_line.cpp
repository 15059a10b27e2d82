#include "fixed/fixed_line.h"

#include <algorithm>

#include "failure/failure.h"
#include "failure/report.h"
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

void ScanFixedLine(FixedLineSummary& line, std::string_view piece) {
    for (const char c : piece) {
        if (!IsDigit(c)) {
            if (line.InRun) EndFixedLine(line);
            continue;
        }
        line.InRun = true;
        // Leading zeros keep the value at 0, as the conversion allows them.
        if (!line.RunTooLarge) {
            const int64_t value = int64_t{line.RunValue} * 10 + (c - '0');
            line.RunTooLarge = value > INT32_MAX;
            line.RunValue = static_cast<int32_t>(value);
        }
        // The report is cut after ReportCapacity characters, so no more of the text can show.
        if (!line.ConvertFailed && line.RunText.size() < ReportCapacity) line.RunText += c;
    }
}

void EndFixedLine(FixedLineSummary& line) {
    if (!line.InRun) return;
    if (line.RunTooLarge && !line.ConvertFailed) {
        line.ConvertFailed = true;
        line.FailedText = std::move(line.RunText);
    }
    if (line.RunCount < NumberCapacity) line.Values[line.RunCount] = line.RunValue;
    ++line.RunCount;
    line.InRun = line.RunTooLarge = false;
    line.RunValue = 0;
    line.RunText.clear();
}

int64_t TakeNumbers(const FixedLineSummary& line, NumberList& buffer) {
    if (line.ConvertFailed) RaiseConvertError(line.FailedText);
    const int stored = static_cast<int>(std::min<int64_t>(line.RunCount, NumberCapacity));
    for (int i = 0; i < stored; ++i) buffer[i] = static_cast<Number>(line.Values[i]);
    return line.RunCount;
}

int32_t LargestFixedValue(const FixedLineSummary& line) {
    const int stored = static_cast<int>(std::min<int64_t>(line.RunCount, NumberCapacity));
    return stored == 0 ? 0 : *std::max_element(line.Values.begin(), line.Values.begin() + stored);
}

}  // namespace combogen
