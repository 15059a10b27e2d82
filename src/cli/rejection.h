// Why a run was rejected: the argument or file that broke a rule, in words for people. The plain
// run stops silently; --explain prints the reason, and the web page shows it beside the field.
#pragma once

#include <string>
#include <string_view>
#include <utility>
#include <vector>

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

// The rule a refusal of an option or argument breaks; the values say how. The command line
// says it in its words (message), the page in its own, from the rule and values alone.
enum class Rule {
    Other,           // said only in the message
    Unknown,         // no such option
    GivenTwice,      // the option twice
    TakesNoValue,    // a switch given a value
    NeedsValue,      // values: the value's name
    Empty,           // an empty text or file name
    Malformed,       // values: the value as given
    NotInRange,      // a whole number: values: the value, the least, the most
    Outside,         // a pair: values: the value, the least, the most
    Reversed,        // a pair: values: the first, the second
    NotInPool,       // a list: values: the number
    NoNumber,        // a list: values: the value
    NotTogether,     // values: the other option
    NotWith,         // values: the other option
    SystemSeedOnly,  // values: the seeds it cannot be used with
    Needs,           // values: what it needs
    NotEnoughLeft,   // values: the value, the more drawn, the pool, the drawn, the left
    TooMany,         // values: the value
    Below,           // a number under its least: values: the number, the least
    Above,           // a number over its most: values: the number, the most
};

struct Rejection {
    Rejection() = default;
    Rejection(Field field, std::string message, std::string subject = {}, Rule rule = Rule::Other,
              std::vector<std::string> values = {})
        : field(field),
          message(std::move(message)),
          subject(std::move(subject)),
          rule(rule),
          values(std::move(values)) {}

    Field field = Field::ArgumentCount;
    std::string message;
    std::string subject;  // the option ("--sum") a refusal concerns, if any
    Rule rule = Rule::Other;
    std::vector<std::string> values;
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
