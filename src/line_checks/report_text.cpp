#include "line_checks/report_text.h"

#include "combination/number_list.h"

namespace combogen {

std::string Labels(const std::vector<uint8_t>& numbers) {
    std::string text;
    for (const uint8_t v : numbers) {
        if (!text.empty()) text += ' ';
        text += static_cast<char>('0' + v / 10);
        text += static_cast<char>('0' + v % 10);
    }
    return text;
}

std::string LineText(const NumberLine& line) {
    return line.bonus.empty() ? Labels(line.main) : Labels(line.main) + " + " + Labels(line.bonus);
}

std::string Padded(const std::string& text, std::size_t width) {
    return std::string(text.size() < width ? width - text.size() : 0, ' ') + text;
}

std::string MatchTable(int top, int bonusTop, bool withBonus,
                       const std::function<int64_t(int m, int b)>& count) {
    std::string out = "matched     lines";
    if (withBonus) {
        for (int b = 0; b <= bonusTop; ++b) {
            // Appended piece by piece: GCC 12 warns falsely on "+" + std::string.
            std::string heading(1, '+');
            heading.append(std::to_string(b)).append(" bonus");
            out += Padded(heading, 10);
        }
    }
    out += "\n";
    for (int m = top; m >= 0; --m) {
        int64_t row = 0;
        for (int b = 0; b <= MaxNumber; ++b) row += count(m, b);
        out += Padded(std::to_string(m), 7) + Padded(std::to_string(row), 10);
        if (withBonus)
            for (int b = 0; b <= bonusTop; ++b) out += Padded(std::to_string(count(m, b)), 10);
        out += "\n";
    }
    return out;
}

}  // namespace combogen
