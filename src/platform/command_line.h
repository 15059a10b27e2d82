// Cutting a command line handed over as one text into arguments.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace combogen {

// True for the first byte of a two-byte character in the text's code page.
using LeadBytePredicate = bool (*)(unsigned char byte);

inline bool NoLeadBytes(unsigned char) { return false; }

// The arguments after the program's name. Codes 1 to 32 separate arguments; double quotes
// enclose stretches in which they do not, and quoted and unquoted stretches join into one
// argument. A quote left open runs to the end. A backslash is an ordinary character. A pair
// of quotes between arguments is no argument, and no argument is ever empty. A two-byte
// character is never split, whatever its second byte.
std::vector<std::string> SplitCommandLine(std::string_view text,
                                          LeadBytePredicate isLeadByte = NoLeadBytes);

}  // namespace combogen
