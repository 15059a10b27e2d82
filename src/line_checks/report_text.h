// The pieces the reports on files of lines are written from: numbers as two digits, counts
// with their noun, right-aligned columns.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "text/integer_text.h"
#include "text/number_lines.h"

namespace combogen {

// "01 05 49": each number as two digits, one blank between.
std::string Labels(const std::vector<uint8_t>& numbers);

// A line as combogen writes it, " + " and the bonus numbers when it has them.
std::string LineText(const NumberLine& line);

// text right-aligned in width characters (never cut).
std::string Padded(const std::string& text, std::size_t width);

// The table of lines by numbers matched, top down to 0, with a column for each count of bonus
// numbers up to bonusTop where withBonus: its heading and rows. count(m, b): the lines holding
// m of the main numbers and b of the bonus numbers, b from 0 to 80.
std::string MatchTable(int top, int bonusTop, bool withBonus,
                       const std::function<int64_t(int m, int b)>& count);

}  // namespace combogen
