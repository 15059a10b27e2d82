// --check DRAW FILE and --guarantee T:M [--numbers LIST] FILE: a file of lines against a draw
// or a guarantee. Each names one file, FILE, and only reads it.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "cli/options.h"

namespace combogen {

// args are the positional arguments (FILE alone). The report for standard output, or nothing
// with error saying what is wrong (a malformed line with its number): status 2.
std::optional<std::string> CheckLines(std::span<const std::string> args, const Options& options,
                                      std::string& error);

}  // namespace combogen
