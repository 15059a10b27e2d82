// The checks of a whole command line, options included, without seeding or writing anything:
// what a page or a front end asks while the user is still typing.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "cli/rejection.h"

namespace combogen {

// The first rule the command line breaks, with the words --explain would print after
// "combogen: ", or nothing when the run would go ahead as far as the checks tell. A bad option
// or option value, and a seed file that cannot be used, concern Field::Options.
std::optional<Rejection> CheckCommandLine(std::span<const std::string> args);

}  // namespace combogen
