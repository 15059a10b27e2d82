#include "line_checks/report_text.h"

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

std::string Plural(int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace combogen
