// A file of lines against a file of past draws (--check DRAWS-FILE FILE): each draw's best
// line and its lines by numbers matched, the totals over every draw, and the lines that won
// most.
#pragma once

#include <optional>
#include <string>

#include "line_checks/game.h"

namespace combogen {

// The report, or nothing with error saying what is wrong (a malformed draw or line with its
// line number). drawsName came as --check's value: when no such file can be opened, the
// error is notADraw, what is wrong with the value as a draw. game, when given, says which
// numbers of a draw are main and which bonus; otherwise the file and the lines do.
std::optional<std::string> CheckPastDraws(const std::string& drawsName,
                                          const std::string& linesName, const std::string& notADraw,
                                          const std::optional<PrizeGame>& game, std::string& error);

}  // namespace combogen
