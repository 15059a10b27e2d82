// Files of past draws: one draw a line in combogen's own line format ("05 11 23 38 41 49",
// perhaps " + 07"), or the CSV files lottery operators and open-data sites publish: a header
// line, a date column, and the drawn numbers in columns of their own ("Ball 1", ..., "Bonus
// Ball") or in one column separated by blanks ("Winning Numbers"); ',', ';' or tab between
// fields, fields perhaps quoted, other columns left out.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "line_checks/game.h"

namespace combogen {

struct PastDraw {
    int64_t lineNumber = 0;
    std::string date;              // as written; empty in combogen's own format
    std::vector<uint8_t> numbers;  // main numbers, or all of them when the file does not say
    std::vector<uint8_t> bonus;    // those the file names bonus (" + ", a bonus column)
    bool shapeUnknown = false;     // the file does not say which numbers are bonus numbers
};

// Every draw of the file, in order. What is wrong ("'F' line 3: '81' is not a number from 1
// to 80", "'F' is not a file of draws: ..."), or nothing.
std::optional<std::string> ReadDrawFile(const std::string& name, std::vector<PastDraw>& draws);

// main and bonus of a draw for lines of pick numbers and bonusCount bonus numbers: a draw
// whose file does not say keeps its last bonusCount numbers as bonus when it has exactly
// pick + bonusCount of them. What is wrong, or nothing.
std::optional<std::string> SplitDraw(const PastDraw& draw, std::size_t pick, std::size_t bonusCount,
                                     std::vector<uint8_t>& main, std::vector<uint8_t>& bonus);

// main and bonus of a draw in a game named by the user: a draw without bonus numbers takes
// its first DRAW numbers as main and the next K as bonus numbers. Every draw has exactly that
// shape, its numbers within their pools, none twice in one pool. What is wrong, or nothing.
std::optional<std::string> SplitGameDraw(const PastDraw& draw, const PrizeGame& game,
                                         std::vector<uint8_t>& main, std::vector<uint8_t>& bonus);

}  // namespace combogen
