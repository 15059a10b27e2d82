// Turning the fixed-number line into the list of distinct fixed numbers. Any character that
// is not a decimal digit separates numbers: "3, 17; 42" and "3-17-42" mean the same.
#pragma once

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

// The largest of the first fixedCount entries; 0 for none.
Number LargestFixed(const NumberList& fixed, int fixedCount);

}  // namespace combogen
