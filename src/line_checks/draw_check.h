// A file of lines against one draw (--check): the lines by numbers matched, and by bonus
// numbers matched, and the best of them.
#pragma once

#include <optional>
#include <string>

#include "text/number_lines.h"

namespace combogen {

// The report on the lines of the file name against draw, or nothing with error saying what is
// wrong (a malformed line with its number).
std::optional<std::string> CheckDraw(const std::string& name, const NumberLine& draw,
                                     std::string& error);

}  // namespace combogen
