// printf-style formatting into a string, for the report and the chart.
#pragma once

#include <cstdint>
#include <string>

namespace combogen {

#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string
Formatted(const char* format, ...);

// A whole number with its digits grouped by threes: 1,000,000.
std::string Grouped(uint64_t value);

}  // namespace combogen
