// Whether a file of lines gives "t if m" (--guarantee): the lines read, the wheeled numbers
// found, every m-set counted by the exhaustive check, and the verdict written out.
#pragma once

#include <optional>
#include <string>
#include <vector>

namespace combogen {

// The report for the lines of the file name, over numbers (ascending; empty: the numbers the
// lines use), or nothing with error saying what is wrong.
std::optional<std::string> CheckGuaranteeFile(const std::string& name, int t, int m,
                                              const std::vector<int>& numbers, std::string& error);

}  // namespace combogen
