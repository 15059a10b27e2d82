// TryStrToInt against a model written separately from the five conversion rules, in 64-bit
// arithmetic; StrToInt must raise exactly where TryStrToInt fails.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string_view>

#include "failure/failure.h"
#include "text/integer_text.h"

namespace {

using combogen::EConvertError;

int DigitIn(char c, int base) {
    int value = 99;
    if (c >= '0' && c <= '9') value = c - '0';
    if (c >= 'a' && c <= 'z') value = c - 'a' + 10;
    if (c >= 'A' && c <= 'Z') value = c - 'A' + 10;
    return value < base ? value : -1;
}

std::optional<int32_t> Model(std::string_view text) {
    const std::size_t start = text.find_first_not_of(' ');
    if (start == std::string_view::npos) return std::nullopt;
    text.remove_prefix(start);

    const bool minus = text.front() == '-';
    if (minus || text.front() == '+') text.remove_prefix(1);

    int base = 10;
    if (text.starts_with("0x") || text.starts_with("0X")) {
        base = 16;
        text.remove_prefix(2);
    } else if (!text.empty() &&
               (text.front() == '$' || text.front() == 'x' || text.front() == 'X')) {
        base = 16;
        text.remove_prefix(1);
    }
    if (text.empty()) return std::nullopt;

    const int64_t limit = base == 16 ? 0x0FFFFFFF : 214748364;
    int64_t accumulated = 0;
    for (const char c : text) {
        const int digit = DigitIn(c, base);
        if (digit < 0 || accumulated > limit) return std::nullopt;
        accumulated = accumulated * base + digit;
    }
    if (base == 16) {
        const auto pattern = static_cast<uint32_t>(accumulated);
        return static_cast<int32_t>(minus ? ~pattern + 1 : pattern);
    }
    if (accumulated > (minus ? 2147483648LL : 2147483647LL)) return std::nullopt;
    return static_cast<int32_t>(minus ? -accumulated : accumulated);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const std::optional<int32_t> got = combogen::TryStrToInt(text);
    const std::optional<int32_t> expected = Model(text);
    if (got != expected) std::abort();

    bool raised = false;
    try {
        if (combogen::StrToInt(text) != got) std::abort();
    } catch (const EConvertError&) {
        raised = true;
    }
    if (raised == got.has_value()) std::abort();
    return 0;
}
