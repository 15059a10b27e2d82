// Reading an option's value by its kind, and the command line's words for a refusal.
#include <algorithm>
#include <charconv>

#include "cli/option_table.h"
#include "combination/number_list.h"

namespace combogen {

namespace {

// The halves of a pair's value name: "MIN:MAX" gives MIN and MAX.
std::pair<std::string_view, std::string_view> Halves(std::string_view value) {
    const std::size_t colon = value.find(':');
    return {value.substr(0, colon), value.substr(colon + 1)};
}

std::string Words(const OptionRow* row, std::string_view name, Rule rule,
                  const std::vector<std::string>& v) {
    const std::string option(name);
    const auto at = [&v](std::size_t i) { return i < v.size() ? v[i] : std::string(); };
    switch (rule) {
        case Rule::Unknown: return "unknown option " + Quoted(option);
        case Rule::GivenTwice: return "option " + option + " is given twice";
        case Rule::TakesNoValue: return "option " + option + " takes no value";
        case Rule::NeedsValue:
            return "option " + option + " needs a value (" + std::string(row->value) + ")";
        case Rule::Empty:
            return option + (row->kind == ValueKind::Text ? " needs a text that is not empty"
                                                          : " needs a file name");
        case Rule::Malformed:
            return option + " takes " + std::string(row->value) + std::string(row->form) +
                   ", not " + Quoted(at(0));
        case Rule::NotInRange:
            return option + " " + Quoted(at(0)) + " is not a whole number from " + at(1) + " to " +
                   at(2);
        case Rule::Outside: return option + " " + at(0) + " is outside " + at(1) + ".." + at(2);
        case Rule::Reversed: {
            const auto [first, second] = Halves(row->value);
            return option + " " + at(0) + ": " + std::string(first) + " is greater than " +
                   std::string(second);
        }
        case Rule::NotInPool:
            return option + ": " + at(0) + " is not a number from 1 to " +
                   std::to_string(MaxNumber);
        case Rule::NoNumber: return option + " " + Quoted(at(0)) + " lists no number";
        case Rule::NotTogether: return option + " and " + at(0) + " cannot be used together";
        case Rule::NotWith: return option + " cannot be used with " + at(0);
        case Rule::SystemSeedOnly:
            return option + " keeps the system's seed; it cannot be used with " + at(0);
        case Rule::Needs: return option + " needs " + at(0);
        case Rule::NotEnoughLeft:
            return option + " " + Quoted(at(0)) + ": " + at(1) + " more numbers of 1.." + at(2) +
                   " after " + at(3) + " drawn are more than the " + at(4) + " left";
        case Rule::TooMany: return option + " " + Quoted(at(0)) + ": more than 2^62 draws";
        case Rule::Other:
        case Rule::Below:
        case Rule::Above: break;
    }
    return option;
}

// Numbers in the fixed-number line's format: any character but a digit separates them.
std::optional<Rejection> ReadList(const OptionRow& row, std::string_view v,
                                  std::vector<int>& list) {
    for (std::size_t i = 0; i < v.size();) {
        if (v[i] < '0' || v[i] > '9') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < v.size() && v[end] >= '0' && v[end] <= '9') ++end;
        const auto number = ReadWholeNumber(v.substr(i, end - i));
        if (!number || *number < row.least || *number > row.most) {
            return Refuse(row, Rule::NotInPool, {std::string(v.substr(i, end - i))});
        }
        list.push_back(static_cast<int>(*number));
        i = end;
    }
    if (list.empty()) return Refuse(row, Rule::NoNumber, {std::string(v)});
    std::sort(list.begin(), list.end());
    list.erase(std::unique(list.begin(), list.end()), list.end());
    return std::nullopt;
}

// A:B with least <= A <= B <= most.
std::optional<Rejection> ReadPair(const OptionRow& row, std::string_view v, OptionValue& value) {
    const std::size_t colon = v.find(':');
    const auto a = colon == v.npos ? std::nullopt : ReadWholeNumber(v.substr(0, colon));
    const auto b = colon == v.npos ? std::nullopt : ReadWholeNumber(v.substr(colon + 1));
    const std::string text(v);
    if (!a || !b) return Refuse(row, Rule::Malformed, {text});
    const int64_t first = a.value_or(0), second = b.value_or(0);
    if (first < row.least || second > row.most) {
        return Refuse(row, Rule::Outside,
                      {text, std::to_string(row.least), std::to_string(row.most)});
    }
    if (first > second) {
        return Refuse(row, Rule::Reversed, {text, std::to_string(first), std::to_string(second)});
    }
    value.first = static_cast<int32_t>(first);
    value.second = static_cast<int32_t>(second);
    return std::nullopt;
}

}  // namespace

std::string Quoted(std::string_view text) {
    std::string quoted(1, '\'');
    return quoted.append(text).append(1, '\'');
}

std::optional<int64_t> ReadWholeNumber(std::string_view text) {
    int64_t value = 0;
    if (text.empty() || text.size() > 12 || text[0] == '-' || text[0] == '+') return std::nullopt;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (fault != std::errc() || end != text.data() + text.size()) return std::nullopt;
    return value;
}

Rejection Refuse(const OptionRow& row, Rule rule, std::vector<std::string> values) {
    Rejection refusal{Field::Options, Words(&row, row.name, rule, values), std::string(row.name),
                      rule, std::move(values)};
    return refusal;
}

Rejection Refuse(std::string_view option, Rule rule, std::vector<std::string> values) {
    const OptionRow* row = FindOption(option);
    if (row != nullptr) return Refuse(*row, rule, std::move(values));
    return Rejection{Field::Options, Words(nullptr, option, rule, values), std::string(option),
                     rule, std::move(values)};
}

std::optional<Rejection> ReadOptionValue(const OptionRow& row, std::string_view text,
                                         Options& options) {
    OptionValue value;
    value.text = text;
    std::optional<Rejection> wrong;
    switch (row.kind) {
        case ValueKind::Switch:
        case ValueKind::Own: break;
        case ValueKind::Text:
        case ValueKind::File:
            if (text.empty()) wrong = Refuse(row, Rule::Empty);
            break;
        case ValueKind::WholeNumber: {
            const auto number = ReadWholeNumber(text);
            if (!number || *number < row.least || *number > row.most) {
                wrong = Refuse(
                    row, Rule::NotInRange,
                    {std::string(text), std::to_string(row.least), std::to_string(row.most)});
            } else {
                value.number = *number;
            }
            break;
        }
        case ValueKind::Pair: wrong = ReadPair(row, text, value); break;
        case ValueKind::List: wrong = ReadList(row, text, value.list); break;
    }
    if (wrong) return wrong;
    return row.keep(row, value, options);
}

}  // namespace combogen
