#include "text/number_lines.h"

#include <array>

#include "platform/file_system.h"
#include "text/text_file.h"

namespace combogen {

namespace {

// Longer than any line combogen writes (80 numbers, " + " and 80 more) with room for blanks.
constexpr std::size_t LongestLine = 1024;

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// 'text' and what is wrong with it; appended piece by piece, which keeps GCC 12's -Wrestrict
// from a false alarm on "'" + std::string(...).
std::string Quoted(std::string_view text, std::string_view wrong) {
    std::string message(1, '\'');
    message.append(text).append(1, '\'').append(wrong);
    return message;
}

}  // namespace

std::optional<std::string> ParseNumberLine(std::string_view text, NumberLine& line) {
    line.main.clear();
    line.bonus.clear();
    std::array<bool, 81> seen{};
    bool inBonus = false;
    for (std::size_t i = 0; i < text.size();) {
        const char c = text[i];
        if (IsBlank(c)) {
            ++i;
        } else if (c == '+') {
            if (inBonus) return std::string("a second '+'");
            if (line.main.empty()) return std::string("'+' before any number");
            inBonus = true;
            seen = {};
            ++i;
        } else if (c >= '0' && c <= '9') {
            std::size_t end = i;
            while (end < text.size() && text[end] >= '0' && text[end] <= '9') ++end;
            const std::string_view digits = text.substr(i, end - i);
            const int value = digits.size() > 2 ? 0 : std::stoi(std::string(digits));
            if (value < 1 || value > 80) {
                return Quoted(digits, " is not a number from 1 to 80");
            }
            if (end < text.size() && !IsBlank(text[end]) && text[end] != '+') {
                return Quoted(text.substr(i, end - i + 1), " is not a number");
            }
            if (seen[value]) {
                std::string twice = std::to_string(value);
                return twice.append(inBonus ? " appears twice in the bonus" : " appears twice");
            }
            seen[value] = true;
            (inBonus ? line.bonus : line.main).push_back(static_cast<uint8_t>(value));
            i = end;
        } else {
            return Quoted(text.substr(i, 1), " is not a number");
        }
    }
    if (inBonus && line.bonus.empty()) return std::string("'+' without bonus numbers");
    return std::nullopt;
}

std::optional<std::string> ReadNumberLines(
    const std::string& name, const std::function<void(int64_t number, const NumberLine&)>& each) {
    InputTextFile file;
    file.anyLineEnd = true;
    OpenInput(file, name);
    if (const int32_t code = TakeIoError(); code != 0) {
        return "cannot open '" + name + "': " + SystemErrorText(code);
    }
    std::optional<std::string> wrong;
    NumberLine line;
    std::size_t mainCount = 0, bonusCount = 0;
    bool first = true;
    std::string text;
    for (int64_t number = 1; !wrong && !AtEndOfFile(file); ++number) {
        const bool tooLong = !ReadBoundedLine(file, LongestLine, text);
        const auto at = [&](const std::string& what) {
            return "'" + name + "' line " + std::to_string(number) + ": " + what;
        };
        if (tooLong) {
            wrong = at("longer than " + std::to_string(LongestLine) + " characters");
        } else if (text.find_first_not_of(" \t") == std::string::npos) {
            continue;
        } else if (auto bad = ParseNumberLine(text, line)) {
            wrong = at(*bad);
        } else if (first) {
            mainCount = line.main.size();
            bonusCount = line.bonus.size();
            first = false;
            each(number, line);
        } else if (line.main.size() != mainCount || line.bonus.size() != bonusCount) {
            const auto shape = [](std::size_t main, std::size_t bonus) {
                return std::to_string(main) + (main == 1 ? " number" : " numbers") +
                       (bonus > 0 ? " + " + std::to_string(bonus) : std::string());
            };
            wrong = at(shape(line.main.size(), line.bonus.size()) + " where the first line has " +
                       shape(mainCount, bonusCount));
        } else {
            each(number, line);
        }
    }
    const int32_t code = TakeIoError();
    CloseInput(file);
    TakeIoError();  // a file only read loses nothing when its closing fails
    if (code != 0) return "cannot read '" + name + "': " + SystemErrorText(code);
    if (wrong) return wrong;
    if (first) return "'" + name + "' holds no lines";
    return std::nullopt;
}

}  // namespace combogen
