// Turning the fixed-number line into the list of distinct fixed numbers. Any character that
// is not a decimal digit separates numbers: "3, 17; 42" and "3-17-42" mean the same.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "combination/number_list.h"

namespace combogen {

// Digits and single blanks only, with no blank at either end; empty when the line has no digit.
std::string CleanFixedLine(std::string_view line);

// Stores each digit run of the cleaned line, modulo 256, in order; repeats are kept. Returns
// how many runs there are, which may exceed NumberCapacity: only the first NumberCapacity are
// stored. A run above 2147483647 raises EConvertError.
int ParseNumbers(std::string_view cleaned, NumberList& buffer);

// Copies the distinct values of the first count entries (count <= NumberCapacity) into fixed,
// in order of first occurrence. Returns how many there are.
int RemoveDuplicates(const NumberList& buffer, int count, NumberList& fixed);

// What a run needs of a fixed-number line, taken from it piece by piece as it is read, so that
// a line of any length needs no more memory than this: the same outcome as cleaning and
// parsing the whole line.
struct FixedLineSummary {
    int64_t RunCount = 0;  // digit runs: a line of gigabytes may hold more than an int counts
    std::array<int32_t, NumberCapacity> Values{};  // the first runs' full values
    bool ConvertFailed = false;
    std::string FailedText;  // the first run above 2147483647, as far as a report can show it

    // The digit run being read.
    bool InRun = false;
    bool RunTooLarge = false;
    int32_t RunValue = 0;
    std::string RunText;  // kept only while no run has failed, and cut like FailedText
};

// Adds the next piece of the line.
void ScanFixedLine(FixedLineSummary& line, std::string_view piece);

// Closes the last digit run; call once, after the last piece.
void EndFixedLine(FixedLineSummary& line);

// As ParseNumbers for the whole line: stores the first runs modulo 256, returns how many runs
// there are, and raises EConvertError, with the first failing run's text, if a run is above
// 2147483647.
int64_t TakeNumbers(const FixedLineSummary& line, NumberList& buffer);

// The largest full value among the stored runs; 0 for none.
int32_t LargestFixedValue(const FixedLineSummary& line);

}  // namespace combogen
