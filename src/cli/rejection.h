// Why a run was rejected: the argument or file that broke a rule, in words for people. The plain
// run stops silently; --explain prints the reason, and the web page shows it beside the field.
#pragma once

#include <string>
#include <string_view>

namespace combogen {

// The part of the command line a rejection concerns.
enum class Field {
    ArgumentCount,
    LineCount,
    PoolSize,
    PickCount,
    Sort,
    Output,
    FixedFile,
    FixedMin,
    FixedMax,
    RandomSource,
    Options,  // an option that cannot be met with these arguments
};

struct Rejection {
    Field field = Field::ArgumentCount;
    std::string message;
};

// A message as one line: each control character of a name or value it quotes (a line end in
// a file name) is shown as \xHH.
inline std::string OneLine(std::string_view text) {
    static constexpr char Hex[] = "0123456789ABCDEF";
    std::string line;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F) {
            line += "\\x";
            line += Hex[byte >> 4];
            line += Hex[byte & 15];
        } else {
            line += c;
        }
    }
    return line;
}

}  // namespace combogen
