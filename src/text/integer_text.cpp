#include "text/integer_text.h"

#include "failure/failure.h"

namespace combogen {

namespace {

// The value of digit c, or -1 when c is not a digit of the base.
int DigitValue(char c, bool hex) {
    if (c >= '0' && c <= '9') return c - '0';
    if (hex && c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (hex && c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

}  // namespace

std::optional<int32_t> TryStrToInt(std::string_view text) {
    std::size_t i = 0;
    while (i < text.size() && text[i] == ' ') ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';

    const std::string_view rest = text.substr(i);
    const bool hex = rest.starts_with('$') || rest.starts_with('x') || rest.starts_with('X') ||
                     rest.starts_with("0x") || rest.starts_with("0X");
    if (hex) i += rest[0] == '0' ? 2 : 1;

    const std::size_t firstDigit = i;
    uint32_t magnitude = 0;
    for (; i < text.size(); ++i) {
        const int digit = DigitValue(text[i], hex);
        if (digit < 0) return std::nullopt;
        if (magnitude > (hex ? 0x0FFFFFFFu : 214748364u)) return std::nullopt;
        magnitude = magnitude * (hex ? 16u : 10u) + static_cast<uint32_t>(digit);
    }
    if (i == firstDigit) return std::nullopt;
    if (!hex && magnitude > (negative ? 2147483648u : 2147483647u)) return std::nullopt;
    // Hexadecimal is a bit pattern; both forms negate in two's complement.
    return static_cast<int32_t>(negative ? 0u - magnitude : magnitude);
}

int32_t StrToInt(std::string_view text) {
    if (const auto value = TryStrToInt(text)) return *value;
    RaiseConvertError(text);
}

std::string Plural(int64_t count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace combogen
