// Converting text to a 32-bit signed integer, as the command line and the fixed-number line
// need it.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace combogen {

// Leading blanks (character 32 only), one optional sign, then a decimal number or a
// hexadecimal one after '$', 'x', 'X', '0x' or '0X'; nothing may follow. Decimal values must
// fit 32 signed bits; hexadecimal ones take at most eight significant digits and are read as
// a 32-bit pattern ("$FFFFFFFF" is -1). Empty when the text does not convert.
std::optional<int32_t> TryStrToInt(std::string_view text);

// As TryStrToInt, but a text that does not convert raises EConvertError.
int32_t StrToInt(std::string_view text);

// "1 line", "3 lines".
std::string Plural(int64_t count, const char* one, const char* many);

}  // namespace combogen
