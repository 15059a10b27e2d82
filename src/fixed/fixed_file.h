// Reading the fixed-number file: its first non-empty line, summed up as it streams past.
#pragma once

#include <optional>
#include <string>

#include "fixed/fixed_line.h"

namespace combogen {

// The first non-empty line of the file, as a summary; an empty one when there is none.
// Nothing when the file cannot be opened or read. Reads in constant memory, however long the
// line is.
std::optional<FixedLineSummary> ReadFixedNumberFile(const std::string& name);

}  // namespace combogen
