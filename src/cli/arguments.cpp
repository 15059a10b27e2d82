#include "cli/arguments.h"

#include <cstdint>
#include <limits>

#include "combination/number_list.h"
#include "text/integer_text.h"

namespace combogen {

namespace {

using Limit = int32_t (*)(const RunSettings&);
using Words = std::string (*)(const RunSettings&);

struct ArgumentRow {
    Field field;
    const char* subject;  // as --help names it
    const char* name;     // as a reason names it
    std::size_t index;
    Limit least, most;
    Words below, above;  // what a value under least, or over most, is
    void (*keep)(RunSettings&, int32_t);
};

std::string Decimal(int32_t value) { return std::to_string(value); }

// clang-format off
const ArgumentRow Numbers[] = {
    {Field::LineCount, "LINES", "line count", 0,
     [](const RunSettings&) { return int32_t{1}; },
     [](const RunSettings&) { return std::numeric_limits<int32_t>::max(); },
     [](const RunSettings&) { return std::string("is less than 1"); },
     [](const RunSettings&) { return std::string("is more than 2147483647"); },
     [](RunSettings& s, int32_t v) { s.LineCount = v; }},
    {Field::PoolSize, "POOL", "pool size", 1,
     [](const RunSettings&) { return int32_t{1}; },
     [](const RunSettings&) { return int32_t{MaxNumber}; },
     [](const RunSettings&) { return "is not in 1.." + Decimal(MaxNumber); },
     [](const RunSettings&) { return "is not in 1.." + Decimal(MaxNumber); },
     [](RunSettings& s, int32_t v) { s.PoolSize = v; }},
    {Field::PickCount, "PICK", "pick count", 2,
     [](const RunSettings&) { return int32_t{1}; },
     [](const RunSettings& s) { return s.PoolSize; },
     [](const RunSettings&) { return std::string("is less than 1"); },
     [](const RunSettings& s) { return "is more than the pool of " + Decimal(s.PoolSize); },
     [](RunSettings& s, int32_t v) { s.PickCount = v; }},
    {Field::Sort, "SORT", "sort flag", 3,
     [](const RunSettings&) { return int32_t{0}; },
     [](const RunSettings&) { return int32_t{1}; },
     [](const RunSettings&) { return std::string("is neither 0 nor 1"); },
     [](const RunSettings&) { return std::string("is neither 0 nor 1"); },
     [](RunSettings& s, int32_t v) { s.SortOutput = v == 1; }},
    // A negative minimum means nothing as a count of fixed numbers.
    {Field::FixedMin, "FIXED-MIN", "fixed minimum", 6,
     [](const RunSettings&) { return int32_t{0}; },
     [](const RunSettings& s) { return s.PickCount - 1; },
     [](const RunSettings&) { return std::string("is negative"); },
     [](const RunSettings& s) { return "is not less than the pick count " + Decimal(s.PickCount); },
     [](RunSettings& s, int32_t v) { s.FixedMin = v; }},
    {Field::FixedMax, "FIXED-MAX", "fixed maximum", 7,
     [](const RunSettings& s) { return s.FixedMin; },
     [](const RunSettings& s) { return s.PickCount - 1; },
     [](const RunSettings& s) { return "is less than the fixed minimum " + Decimal(s.FixedMin); },
     [](const RunSettings& s) { return "is not less than the pick count " + Decimal(s.PickCount); },
     [](RunSettings& s, int32_t v) { s.FixedMax = v; }},
};
// clang-format on

// A value as the person typed it and as it was read, when the two differ ("$51" is 81).
std::string Shown(const std::string& text, int32_t value) {
    const std::string decimal = std::to_string(value);
    return text == decimal ? decimal : decimal + " ('" + text + "')";
}

// A text the conversion refuses only for its size: blanks, a sign and decimal digits, too
// many for 32 bits. It is said to be outside the range by its sign (true: negative).
std::optional<bool> TooLargeSign(const std::string& text) {
    std::size_t digits = text.find_first_not_of(' ');
    if (digits == std::string::npos) return std::nullopt;
    const bool negative = text[digits] == '-';
    if (text[digits] == '-' || text[digits] == '+') ++digits;
    if (digits == text.size() ||
        text.find_first_not_of("0123456789", digits) != std::string::npos) {
        return std::nullopt;
    }
    return negative;
}

// The row's number, or false with why (when given) saying which rule it breaks: no whole
// number, or one below or above its bounds (one beyond 32 bits by its sign).
bool ReadNumber(const ArgumentRow& row, std::span<const std::string> args, RunSettings& settings,
                Rejection* why) {
    const std::string& text = args[row.index];
    const auto value = TryStrToInt(text);
    const int32_t least = row.least(settings), most = row.most(settings);
    if (value && *value >= least && *value <= most) {
        row.keep(settings, *value);
        return true;
    }
    if (why == nullptr) return false;
    const auto negative = value ? std::optional<bool>(*value < least) : TooLargeSign(text);
    if (!negative) {
        *why = {row.field,
                std::string(row.name) + " '" + text + "' is not a whole number",
                row.subject,
                Rule::Malformed,
                {text}};
        return false;
    }
    const std::string shown = value ? Shown(text, *value) : text;
    *why = {row.field,
            std::string(row.name) + " " + shown + " " +
                (*negative ? row.below(settings) : row.above(settings)),
            row.subject,
            *negative ? Rule::Below : Rule::Above,
            {value ? std::to_string(*value) : text, std::to_string(*negative ? least : most)}};
    return false;
}

// Five arguments take no fixed numbers, six all of them, eight some.
FixedForm FormOf(std::size_t count) {
    return count == 5 ? FixedForm::None : count == 6 ? FixedForm::All : FixedForm::Some;
}

std::string WrongCount(std::size_t count) {
    return "expected 5, 6 or 8 arguments (LINES POOL PICK SORT OUTPUT [FIXED-FILE [FIXED-MIN "
           "FIXED-MAX]]), got " +
           std::to_string(count);
}

}  // namespace

bool ReadArguments(std::span<const std::string> args, RunSettings& settings,
                   FixedLineSummary& fixedLine, Rejection* why) {
    const std::size_t count = args.size();
    const auto wrongCount = [&] {
        if (why != nullptr) *why = {Field::ArgumentCount, WrongCount(count)};
        return false;
    };
    if (count < 5) return wrongCount();
    if (count > 5) {
        auto line = ScanFixedNumberFile(args[5], why);
        if (!line) return false;
        fixedLine = std::move(*line);
    }
    for (const ArgumentRow& row : Numbers) {
        // FIXED-MIN and FIXED-MAX are read with eight arguments only; any other count is
        // refused once the first four numbers are read.
        if (row.index >= 6 && count != 8) break;
        if (!ReadNumber(row, args, settings, why)) return false;
    }
    if (count > 6 && count != 8) return wrongCount();
    settings.Form = FormOf(count);
    return true;
}

}  // namespace combogen
