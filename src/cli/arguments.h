// The positional arguments of a run: their count decides the run's form, once, and each
// number is a row of one table (its field, its bounds given the numbers before it, its words).
#pragma once

#include <span>
#include <string>

#include "cli/fixed_run.h"
#include "cli/rejection.h"
#include "fixed/fixed_line.h"

namespace combogen {

// Reads the arguments into settings (its Form among them) and, with six or eight, the
// fixed-number line, in the run's order of checks. False is a silent stop; why, if given,
// then says which rule was broken.
bool ReadArguments(std::span<const std::string> args, RunSettings& settings,
                   FixedLineSummary& fixedLine, Rejection* why);

}  // namespace combogen
