#include "text/integer_text.h"

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace combogen {
namespace {

TEST(IntegerTextTest, ConversionTable) {
    const std::optional<int32_t> fails;
    const struct {
        std::string text;
        std::optional<int32_t> value;
    } cases[] = {
        // clang-format off
        // Decimal, with blanks and signs in front.
        {"80", 80}, {"080", 80}, {"+80", 80}, {" 80", 80}, {"   -7", -7}, {"0", 0},
        {"-0", 0}, {"000000000002147483647", 2147483647}, {"2147483647", 2147483647},
        {"-2147483648", INT32_MIN}, {"2147483648", fails}, {"-2147483649", fails},
        {"21474836470", fails}, {"99999999999", fails},
        // Hexadecimal: five prefixes, eight significant digits, a 32-bit pattern.
        {"$50", 80}, {"x50", 80}, {"X50", 80}, {"0x50", 80}, {"0X50", 80}, {"$ff", 255},
        {"-$10", -16}, {"$FFFFFFFF", -1}, {"$80000000", INT32_MIN}, {"-$FFFFFFFF", 1},
        {"$000000000FFFFFFFF", -1}, {"$100000000", fails}, {"$", fails}, {"0x", fails},
        {"$-1", fails}, {"$G", fails}, {"00x5", fails},
        // Anything else around the number.
        {"80 ", fails}, {"8O", fails}, {"1e3", fails}, {"1,000", fails}, {"", fails},
        {"   ", fails}, {"+", fails}, {"-", fails}, {"+-5", fails}, {"- 5", fails},
        {"\t5", fails}, {"5\n", fails}, {"1x", fails},
        // clang-format on
    };
    for (const auto& c : cases) {
        EXPECT_EQ(TryStrToInt(c.text), c.value) << "text '" << c.text << "'";
    }
}

}  // namespace
}  // namespace combogen
