#include "cli/options.h"

#include <algorithm>
#include <string_view>

#include "cli/option_table.h"

namespace combogen {

namespace {

// The options each check of a file allows besides itself; a run's options mean nothing there.
std::optional<Rejection> CheckAlone(std::string_view check, std::span<const std::string_view> given,
                                    std::span<const std::string_view> allowed) {
    for (const std::string_view name : given) {
        if (name == check || name == "--help" || name == "--version" || name == "--explain") {
            continue;
        }
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            return Refuse(check, Rule::NotWith, {std::string(name)});
        }
    }
    return std::nullopt;
}

// The rules between options, once each has been read.
std::optional<Rejection> CheckTogether(const Options& o, std::span<const std::string_view> given) {
    if (o.seedText && o.seedFile) return Refuse("--seed", Rule::NotTogether, {"--seed-file"});
    if (o.saveSeed && (o.seedText || o.seedFile)) {
        return Refuse("--save-seed", Rule::SystemSeedOnly, {"--seed or --seed-file"});
    }
    if (o.game && !o.checkDrawsFile) {
        return Refuse("--game", Rule::Needs, {"--check with a file of past draws"});
    }
    if (o.checkDraw || o.checkDrawsFile) {
        const std::string_view allowed[] = {"--game"};
        return CheckAlone("--check", given, allowed);
    }
    if (o.guarantee || o.prizes) {
        const std::string_view allowed[] = {"--numbers"};
        return CheckAlone(o.guarantee ? "--guarantee" : "--prizes", given, allowed);
    }
    if (o.wheel) return std::nullopt;
    if (o.budget) return Refuse("--budget", Rule::Needs, {"--wheel"});
    if (o.effort) return Refuse("--effort", Rule::Needs, {"--wheel"});
    if (!o.numbers.empty()) {
        return Refuse("--numbers", Rule::Needs, {"--wheel or --guarantee, or --prizes"});
    }
    return std::nullopt;
}

}  // namespace

bool IsOptionWord(std::string_view word) {
    if (!word.starts_with("--")) return false;
    if (word.size() == 2) return true;
    const char next = word[2];
    return (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
}

CommandLine ParseCommandLine(std::span<const std::string> args, Rejection& refusal) {
    CommandLine result;
    std::vector<std::string_view> given;
    std::size_t i = 0;
    const auto refuse = [&refusal](Rejection why) {
        refusal = std::move(why);
        return CommandLine{};
    };
    for (; i < args.size() && IsOptionWord(args[i]); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--") {
            ++i;
            break;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const OptionRow* row = FindOption(name);
        if (row == nullptr) return refuse(Refuse(name, Rule::Unknown));
        if (std::find(given.begin(), given.end(), name) != given.end()) {
            return refuse(Refuse(*row, Rule::GivenTwice));
        }
        given.push_back(name);
        std::string_view value;
        if (row->kind == ValueKind::Switch) {
            if (equals != std::string_view::npos) return refuse(Refuse(*row, Rule::TakesNoValue));
        } else if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            return refuse(Refuse(*row, Rule::NeedsValue));
        }
        if (auto wrong = ReadOptionValue(*row, value, result.options)) return refuse(*wrong);
    }
    if (auto wrong = CheckTogether(result.options, given)) return refuse(*wrong);
    result.options.asGiven.assign(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(i));
    result.positional.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return result;
}

CommandLine ParseCommandLine(std::span<const std::string> args, std::string& error) {
    Rejection refusal;
    CommandLine result = ParseCommandLine(args, refusal);
    error = refusal.message;
    return result;
}

}  // namespace combogen
