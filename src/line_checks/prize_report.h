// The prize table of a file of lines (--prizes), and of a wheel's lines for its statistics.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "line_checks/game.h"
#include "line_checks/prize_table.h"

namespace combogen {

// The table's text. numbers are the wheeled numbers (index i stands for numbers[i]); source
// names the lines ("file 'w.txt'", "the wheel").
std::string PrizeReport(const PrizeTable& table, const std::vector<uint8_t>& numbers,
                        const std::string& source);

// The table of lines over numbers in a game of draw of 1..pool, or nothing with error saying
// why it is not computed ("over 80 numbers with 20 lines: too many draws ..., at most 30").
std::optional<PrizeTable> TablePrizes(int pool, int draw, const std::vector<uint8_t>& numbers,
                                      const std::vector<WheelLine>& lines, const BonusGame& bonus,
                                      std::string& error);

// The report for the lines of the file name in game, over listed (empty: the numbers the
// lines use), or nothing with error saying what is wrong.
std::optional<std::string> PrizeReportFile(const std::string& name, const PrizeGame& game,
                                           const std::vector<int>& listed, std::string& error);

}  // namespace combogen
