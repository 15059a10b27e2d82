// Reading files of lines as combogen writes them ("05 11 23 38 41 49", perhaps " + 07"), CR LF,
// LF or a lone CR ending a line, for the checks of a file against a draw or a guarantee.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace combogen {

struct NumberLine {
    std::vector<uint8_t> main;   // as written, each in 1..80, distinct
    std::vector<uint8_t> bonus;  // after " + "; empty when there is none
};

// One line's text without its line end: numbers of one or two digits separated by blanks or
// tabs, perhaps a "+" and the bonus numbers. What is wrong, or nothing.
std::optional<std::string> ParseNumberLine(std::string_view text, NumberLine& line);

// Every line of the file in order, with its line number from 1; lines of blanks alone are
// skipped. Each line must hold as many numbers, and bonus numbers, as the first. What is wrong
// ("cannot open ...", "'FILE' line 3: ..."), or nothing.
std::optional<std::string> ReadNumberLines(
    const std::string& name, const std::function<void(int64_t number, const NumberLine&)>& each);

}  // namespace combogen
