#include "cli/options.h"

#include <algorithm>
#include <charconv>
#include <string_view>

#include "text/text_file.h"
#include "wheel/guarantee.h"

#ifndef COMBOGEN_VERSION
#define COMBOGEN_VERSION "unknown"
#endif

namespace combogen {

namespace {

// A plain decimal number: digits only, no sign, no blanks. Option values are read the way
// people write them, not with the positional arguments' hexadecimal prefixes.
std::optional<int64_t> PlainNumber(std::string_view text) {
    int64_t value = 0;
    if (text.empty() || text.size() > 12) return std::nullopt;
    const auto [end, fault] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (fault != std::errc() || end != text.data() + text.size() || text[0] == '-' ||
        text[0] == '+') {
        return std::nullopt;
    }
    return value;
}

// Parses one option's value into options; returns what is wrong, or an empty text.
using ValueParser = std::string (*)(std::string_view value, Options& options);

struct OptionEntry {
    std::string_view name;
    const char* valueName;  // nullptr for a switch
    ValueParser parse;
};

std::string Quoted(std::string_view text) {
    std::string quoted(1, '\'');
    return quoted.append(text).append(1, '\'');
}

// "MIN:MAX" with low <= MIN <= MAX <= high.
std::string ParseRange(std::string_view option, std::string_view value, int64_t low, int64_t high,
                       Range& range) {
    const std::size_t colon = value.find(':');
    const auto min =
        colon == std::string_view::npos ? std::nullopt : PlainNumber(value.substr(0, colon));
    const auto max =
        colon == std::string_view::npos ? std::nullopt : PlainNumber(value.substr(colon + 1));
    if (!min || !max) {
        return std::string(option) + " takes MIN:MAX, two whole numbers, not " + Quoted(value);
    }
    if (*min < low || *max > high) {
        return std::string(option) + " " + std::string(value) + " is outside " +
               std::to_string(low) + ".." + std::to_string(high);
    }
    if (*min > *max) {
        return std::string(option) + " " + std::string(value) + ": MIN is greater than MAX";
    }
    range = {static_cast<int32_t>(*min), static_cast<int32_t>(*max)};
    return {};
}

// Numbers in the fixed-number line's format: any character but a digit separates them.
std::string ParseList(std::string_view option, std::string_view v, std::vector<int>& list) {
    std::vector<int> numbers;
    for (std::size_t i = 0; i < v.size();) {
        if (v[i] < '0' || v[i] > '9') {
            ++i;
            continue;
        }
        std::size_t end = i;
        while (end < v.size() && v[end] >= '0' && v[end] <= '9') ++end;
        const auto number = PlainNumber(v.substr(i, end - i));
        if (!number || *number < 1 || *number > 80) {
            return std::string(option) + ": " + std::string(v.substr(i, end - i)) +
                   " is not a number from 1 to 80";
        }
        numbers.push_back(static_cast<int>(*number));
        i = end;
    }
    if (numbers.empty()) return std::string(option) + " " + Quoted(v) + " lists no number";
    std::sort(numbers.begin(), numbers.end());
    numbers.erase(std::unique(numbers.begin(), numbers.end()), numbers.end());
    list = std::move(numbers);
    return {};
}

// T:M with 1 <= T <= M <= 80.
std::string ParsePrize(std::string_view option, std::string_view v, std::optional<Prize>& prize) {
    Range r;
    const std::string wrong = ParseRange(option, v, 1, 80, r);
    if (wrong.find("takes MIN:MAX") != std::string::npos) {
        return std::string(option) + " takes T:M (at least T in a line if M are drawn), not " +
               Quoted(v);
    }
    if (wrong.find("MIN is greater") != std::string::npos) {
        return std::string(option) + " " + std::string(v) + ": T is greater than M";
    }
    if (wrong.empty()) prize = Prize{r.min, r.max};
    return wrong;
}

// POOL:DRAW, perhaps +K:N (K bonus numbers of 1..N) or +K (K more numbers of 1..POOL).
bool ParseGame(std::string_view v, PrizeGame& game) {
    const auto pair = [](std::string_view text, int64_t& first, int64_t& second) {
        const std::size_t colon = text.find(':');
        const auto a = colon == text.npos ? std::nullopt : PlainNumber(text.substr(0, colon));
        const auto b = colon == text.npos ? std::nullopt : PlainNumber(text.substr(colon + 1));
        if (!a || !b) return false;
        first = *a;
        second = *b;
        return true;
    };
    const std::size_t plus = v.find('+');
    int64_t pool = 0, draw = 0, bonusDraw = 0, bonusPool = 0;
    if (!pair(v.substr(0, plus), pool, draw) || pool < 1 || pool > 80 || draw < 1 || draw > pool) {
        return false;
    }
    game = PrizeGame{static_cast<int>(pool), static_cast<int>(draw), 0, 0, false};
    if (plus == v.npos) return true;
    const std::string_view bonus = v.substr(plus + 1);
    if (bonus.find(':') == bonus.npos) {
        const auto more = PlainNumber(bonus);
        if (!more || *more < 1 || *more > 80) return false;
        game.bonusDraw = static_cast<int>(*more);
        game.samePool = true;
        return true;
    }
    if (!pair(bonus, bonusDraw, bonusPool) || bonusPool < 1 || bonusPool > 80 || bonusDraw < 1 ||
        bonusDraw > bonusPool) {
        return false;
    }
    game.bonusDraw = static_cast<int>(bonusDraw);
    game.bonusPool = static_cast<int>(bonusPool);
    return true;
}

const OptionEntry OptionTable[] = {
    {"--help", nullptr, [](std::string_view, Options& o) { return o.help = true, std::string(); }},
    {"--version", nullptr,
     [](std::string_view, Options& o) { return o.version = true, std::string(); }},
    {"--explain", nullptr,
     [](std::string_view, Options& o) { return o.explain = true, std::string(); }},
    {"--seed", "TEXT",
     [](std::string_view v, Options& o) {
         if (v.empty()) return std::string("--seed needs a text that is not empty");
         o.seedText = std::string(v);
         return std::string();
     }},
    {"--seed-file", "FILE",
     [](std::string_view v, Options& o) {
         if (v.empty()) return std::string("--seed-file needs a file name");
         o.seedFile = std::string(v);
         return std::string();
     }},
    {"--save-seed", "FILE",
     [](std::string_view v, Options& o) {
         if (v.empty()) return std::string("--save-seed needs a file name");
         o.saveSeed = std::string(v);
         return std::string();
     }},
    {"--unique", nullptr,
     [](std::string_view, Options& o) { return o.unique = true, std::string(); }},
    {"--lf", nullptr,
     [](std::string_view, Options& o) { return o.lineFeedOnly = true, std::string(); }},
    {"--block-size", "BYTES",
     [](std::string_view v, Options& o) {
         const auto bytes = PlainNumber(v);
         if (!bytes || *bytes < static_cast<int64_t>(TextBufferSize) ||
             *bytes > static_cast<int64_t>(LargestBlockSize)) {
             return "--block-size " + Quoted(v) + " is not a whole number from " +
                    std::to_string(TextBufferSize) + " to " + std::to_string(LargestBlockSize);
         }
         o.blockSize = static_cast<std::size_t>(*bytes);
         return std::string();
     }},
    {"--bonus", "K:N",
     [](std::string_view v, Options& o) {
         Range r;
         std::string wrong = ParseRange("--bonus", v, 1, 80, r);
         if (!wrong.empty()) {
             if (wrong.find("MIN is greater") != std::string::npos) {
                 return "--bonus " + std::string(v) + ": K is greater than N";
             }
             return wrong.find("takes MIN:MAX") != std::string::npos
                        ? "--bonus takes K:N, two whole numbers, not " + Quoted(v)
                        : wrong;
         }
         o.bonus = BonusPool{r.min, r.max};
         return std::string();
     }},
    {"--sum", "MIN:MAX",
     [](std::string_view v, Options& o) {
         Range r;
         std::string wrong = ParseRange("--sum", v, 0, 3240, r);
         if (wrong.empty()) o.sum = r;
         return wrong;
     }},
    {"--odd", "MIN:MAX",
     [](std::string_view v, Options& o) {
         Range r;
         std::string wrong = ParseRange("--odd", v, 0, 80, r);
         if (wrong.empty()) o.odd = r;
         return wrong;
     }},
    {"--max-run", "R",
     [](std::string_view v, Options& o) {
         const auto run = PlainNumber(v);
         if (!run || *run < 1 || *run > 80) {
             return "--max-run " + Quoted(v) + " is not a whole number from 1 to 80";
         }
         o.maxRun = static_cast<int>(*run);
         return std::string();
     }},
    {"--exclude", "LIST",
     [](std::string_view v, Options& o) { return ParseList("--exclude", v, o.exclude); }},
    {"--stats", "FILE",
     [](std::string_view v, Options& o) {
         if (v.empty()) return std::string("--stats needs a file name");
         o.statsFile = std::string(v);
         return std::string();
     }},
    {"--chart", "FILE",
     [](std::string_view v, Options& o) {
         if (v.empty()) return std::string("--chart needs a file name");
         o.chartFile = std::string(v);
         return std::string();
     }},
    {"--wheel", "T:M",
     [](std::string_view v, Options& o) { return ParsePrize("--wheel", v, o.wheel); }},
    {"--numbers", "LIST",
     [](std::string_view v, Options& o) { return ParseList("--numbers", v, o.numbers); }},
    {"--effort", "PERCENT",
     [](std::string_view v, Options& o) {
         const auto percent = PlainNumber(v);
         if (!percent || *percent < 1 || *percent > 100000) {
             return "--effort " + Quoted(v) + " is not a whole number from 1 to 100000";
         }
         o.effort = static_cast<int>(*percent);
         return std::string();
     }},
    {"--budget", nullptr,
     [](std::string_view, Options& o) { return o.budget = true, std::string(); }},
    {"--check", "DRAW",
     [](std::string_view v, Options& o) {
         // Commas and semicolons separate numbers too, as people write a draw.
         std::string text(v);
         for (char& c : text) c = c == ',' || c == ';' ? ' ' : c;
         NumberLine draw;
         if (auto wrong = ParseNumberLine(text, draw)) {
             // Perhaps a file of past draws: the run tells once it tries to open it.
             o.checkDrawsFile = std::string(v);
             o.checkNotADraw = "--check " + Quoted(v) + ": " + *wrong;
             return std::string();
         }
         if (draw.main.empty()) return "--check " + Quoted(v) + " lists no number";
         o.checkDraw = std::move(draw);
         return std::string();
     }},
    {"--guarantee", "T:M",
     [](std::string_view v, Options& o) { return ParsePrize("--guarantee", v, o.guarantee); }},
    {"--prizes", "POOL:DRAW",
     [](std::string_view v, Options& o) {
         PrizeGame game;
         if (!ParseGame(v, game)) {
             return "--prizes takes POOL:DRAW (DRAW of 1..POOL drawn, POOL at most 80), or "
                    "POOL:DRAW+K:N (and K bonus numbers of 1..N), not " +
                    Quoted(v);
         }
         if (game.samePool && game.bonusDraw > game.pool - game.draw) {
             return "--prizes " + Quoted(v) + ": " + std::to_string(game.bonusDraw) +
                    " more numbers of 1.." + std::to_string(game.pool) + " after " +
                    std::to_string(game.draw) + " drawn are more than the " +
                    std::to_string(game.pool - game.draw) + " left";
         }
         const auto mainDraws = DrawCount(game.pool, game.draw);
         const auto bonusDraws = game.samePool ? DrawCount(game.pool - game.draw, game.bonusDraw)
                                               : DrawCount(game.bonusPool, game.bonusDraw);
         if (!mainDraws || !bonusDraws || *mainDraws > MaxCheckedDraws / *bonusDraws) {
             return "--prizes " + Quoted(v) + ": more than 2^62 draws";
         }
         o.prizes = game;
         return std::string();
     }},
    {"--game", "POOL:DRAW",
     [](std::string_view v, Options& o) {
         PrizeGame game;
         if (!ParseGame(v, game) || (game.samePool && game.bonusDraw > game.pool - game.draw)) {
             return "--game takes POOL:DRAW (DRAW main numbers of 1..POOL), POOL:DRAW+K:N (and K "
                    "bonus numbers of 1..N) or POOL:DRAW+K (and K more of 1..POOL), not " +
                    Quoted(v);
         }
         o.game = game;
         return std::string();
     }},
};

// The options each check of a file allows besides itself; a run's options mean nothing there.
std::string CheckAlone(const char* check, std::span<const std::string_view> given,
                       std::span<const std::string_view> allowed) {
    for (const std::string_view name : given) {
        if (name == check || name == "--help" || name == "--version" || name == "--explain") {
            continue;
        }
        if (std::find(allowed.begin(), allowed.end(), name) == allowed.end()) {
            return std::string(check) + " cannot be used with " + std::string(name);
        }
    }
    return {};
}

}  // namespace

bool IsOptionWord(std::string_view word) {
    if (!word.starts_with("--")) return false;
    if (word.size() == 2) return true;
    const char next = word[2];
    return (next >= 'a' && next <= 'z') || (next >= 'A' && next <= 'Z');
}

CommandLine ParseCommandLine(std::span<const std::string> args, std::string& error) {
    CommandLine result;
    error.clear();
    std::vector<std::string_view> given;
    std::size_t i = 0;
    for (; i < args.size() && IsOptionWord(args[i]); ++i) {
        const std::string_view arg = args[i];
        if (arg == "--") {
            ++i;
            break;
        }
        const std::size_t equals = arg.find('=');
        const std::string_view name = arg.substr(0, equals);
        const auto entry = std::find_if(std::begin(OptionTable), std::end(OptionTable),
                                        [&](const OptionEntry& s) { return s.name == name; });
        if (entry == std::end(OptionTable)) {
            error = "unknown option " + Quoted(name);
            return {};
        }
        if (std::find(given.begin(), given.end(), name) != given.end()) {
            error = "option " + std::string(name) + " is given twice";
            return {};
        }
        given.push_back(name);
        std::string_view value;
        if (entry->valueName == nullptr) {
            if (equals != std::string_view::npos) {
                error = "option " + std::string(name) + " takes no value";
                return {};
            }
        } else if (equals != std::string_view::npos) {
            value = arg.substr(equals + 1);
        } else if (i + 1 < args.size()) {
            value = args[++i];
        } else {
            error = "option " + std::string(name) + " needs a value (" + entry->valueName + ")";
            return {};
        }
        error = entry->parse(value, result.options);
        if (!error.empty()) return {};
    }
    const Options& o = result.options;
    if (o.seedText && o.seedFile) {
        error = "--seed and --seed-file cannot be used together";
    } else if (o.saveSeed && (o.seedText || o.seedFile)) {
        error = "--save-seed keeps the system's seed; it cannot be used with --seed or --seed-file";
    }
    if (error.empty() && o.game && !o.checkDrawsFile) {
        error = "--game needs --check with a file of past draws";
    } else if (error.empty() && (o.checkDraw || o.checkDrawsFile)) {
        const std::string_view allowed[] = {"--game"};
        error = CheckAlone("--check", given, allowed);
    } else if (error.empty() && (o.guarantee || o.prizes)) {
        const std::string_view allowed[] = {"--numbers"};
        error = CheckAlone(o.guarantee ? "--guarantee" : "--prizes", given, allowed);
    } else if (error.empty() && !o.wheel) {
        if (!o.numbers.empty()) error = "--numbers needs --wheel or --guarantee, or --prizes";
        if (o.effort) error = "--effort needs --wheel";
        if (o.budget) error = "--budget needs --wheel";
    }
    if (!error.empty()) return {};
    result.options.asGiven.assign(args.begin(), args.begin() + static_cast<std::ptrdiff_t>(i));
    result.positional.assign(args.begin() + static_cast<std::ptrdiff_t>(i), args.end());
    return result;
}

}  // namespace combogen
