// Every option, one row each: its name, how its value is read and kept, its --help text and
// its field on the web page. The parser, --help, the manual page's check, the completion (which
// reads --help) and the page's placing of a refusal all come from these rows.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/options.h"
#include "cli/rejection.h"

namespace combogen {

// How an option's value is read before its row keeps it.
enum class ValueKind {
    Switch,       // no value
    Text,         // any text but an empty one
    File,         // a file name
    WholeNumber,  // least..most, decimal digits only
    Pair,         // A:B with least <= A <= B <= most
    List,         // numbers of 1..80, any non-digit between them
    Own,          // the row's keep function reads the text itself
};

// Where --help lists the option.
enum class HelpGroup { Run, Wheel, Check };

// The value as its kind read it.
struct OptionValue {
    std::string_view text;
    int64_t number = 0;             // WholeNumber
    int32_t first = 0, second = 0;  // Pair
    std::vector<int> list;          // List: distinct, ascending
};

struct OptionRow;
// Keeps the value in the options; a refusal when an Own value breaks a rule.
using KeepValue = std::optional<Rejection> (*)(const OptionRow& row, const OptionValue& value,
                                               Options& options);

struct OptionRow {
    std::string_view name;   // "--sum"
    std::string_view value;  // "MIN:MAX"; empty for a switch
    ValueKind kind = ValueKind::Switch;
    int64_t least = 0, most = 0;  // a whole number's range, or each half's of a pair
    std::string_view form;  // after the value's name, how it is written: ", two whole numbers"
    HelpGroup group = HelpGroup::Run;
    std::string_view operand;    // --help's words after the value: " FILE"
    std::string_view help;       // --help's lines, without their indent
    std::string_view pageField;  // the page's field for it; empty when the page has none
    std::string_view pageLabel;  // that field's name in the page's words
    KeepValue keep = nullptr;
};

std::span<const OptionRow> OptionRows();
const OptionRow* FindOption(std::string_view name);

// A refusal of an option's value, with the command line's words for it.
Rejection Refuse(const OptionRow& row, Rule rule, std::vector<std::string> values = {});
Rejection Refuse(std::string_view option, Rule rule, std::vector<std::string> values = {});

// A plain decimal number: digits only, no sign, no blanks, at most 12 of them. Option values are
// read the way people write them, not with the positional arguments' hexadecimal prefixes.
std::optional<int64_t> ReadWholeNumber(std::string_view text);

// 'text', as a refusal quotes a value.
std::string Quoted(std::string_view text);

// Reads a value by its row's kind and keeps it; the refusal when it breaks a rule.
std::optional<Rejection> ReadOptionValue(const OptionRow& row, std::string_view text,
                                         Options& options);

}  // namespace combogen
