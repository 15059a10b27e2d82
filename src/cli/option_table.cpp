// The rows of the options, in the order --help lists them.
#include "cli/option_table.h"

#include <algorithm>

#include "combination/number_list.h"
#include "text/number_lines.h"
#include "text/text_file.h"
#include "wheel/guarantee.h"

namespace combogen {

namespace {

using R = std::optional<Rejection>;
using V = const OptionValue&;
using Row = const OptionRow&;

// A:B, two whole numbers.
std::optional<std::pair<int64_t, int64_t>> TwoNumbers(std::string_view text) {
    const std::size_t colon = text.find(':');
    if (colon == text.npos) return std::nullopt;
    const auto a = ReadWholeNumber(text.substr(0, colon));
    const auto b = ReadWholeNumber(text.substr(colon + 1));
    if (!a || !b) return std::nullopt;
    return std::pair{*a, *b};
}

// DRAW numbers can be drawn from 1..POOL.
bool Drawable(int64_t pool, int64_t draw) {
    return pool >= 1 && pool <= MaxNumber && draw >= 1 && draw <= pool;
}

// POOL:DRAW, perhaps +K:N (K bonus numbers of 1..N) or +K (K more numbers of 1..POOL).
std::optional<PrizeGame> ReadGame(std::string_view v) {
    const std::size_t plus = v.find('+');
    const auto main = TwoNumbers(v.substr(0, plus));
    if (!main || !Drawable(main->first, main->second)) return std::nullopt;
    PrizeGame game{static_cast<int>(main->first), static_cast<int>(main->second), 0, 0, false};
    if (plus == v.npos) return game;
    const std::string_view bonus = v.substr(plus + 1);
    if (bonus.find(':') == bonus.npos) {
        const auto more = ReadWholeNumber(bonus);
        if (!more || !Drawable(MaxNumber, *more)) return std::nullopt;
        game.bonusDraw = static_cast<int>(*more);
        game.samePool = true;
        return game;
    }
    const auto kn = TwoNumbers(bonus);
    if (!kn || !Drawable(kn->second, kn->first)) return std::nullopt;
    game.bonusDraw = static_cast<int>(kn->first);
    game.bonusPool = static_cast<int>(kn->second);
    return game;
}

R KeepCheck(Row row, V v, Options& o) {
    // Commas and semicolons separate numbers too, as people write a draw.
    std::string text(v.text);
    for (char& c : text) c = c == ',' || c == ';' ? ' ' : c;
    NumberLine draw;
    if (auto wrong = ParseNumberLine(text, draw)) {
        // Perhaps a file of past draws: the run tells once it tries to open it.
        o.checkDrawsFile = std::string(v.text);
        o.checkNotADraw = "--check " + Quoted(v.text) + ": " + *wrong;
        return std::nullopt;
    }
    if (draw.main.empty()) return Refuse(row, Rule::NoNumber, {std::string(v.text)});
    o.checkDraw = std::move(draw);
    return std::nullopt;
}

R KeepPrizes(Row row, V v, Options& o) {
    const auto game = ReadGame(v.text);
    if (!game) return Refuse(row, Rule::Malformed, {std::string(v.text)});
    if (game->samePool && game->bonusDraw > game->pool - game->draw) {
        return Refuse(
            row, Rule::NotEnoughLeft,
            {std::string(v.text), std::to_string(game->bonusDraw), std::to_string(game->pool),
             std::to_string(game->draw), std::to_string(game->pool - game->draw)});
    }
    const auto mainDraws = DrawCount(game->pool, game->draw);
    const auto bonusDraws = game->samePool ? DrawCount(game->pool - game->draw, game->bonusDraw)
                                           : DrawCount(game->bonusPool, game->bonusDraw);
    if (!mainDraws || !bonusDraws || *mainDraws > MaxCheckedDraws / *bonusDraws) {
        return Refuse(row, Rule::TooMany, {std::string(v.text)});
    }
    o.prizes = *game;
    return std::nullopt;
}

R KeepGame(Row row, V v, Options& o) {
    const auto game = ReadGame(v.text);
    if (!game || (game->samePool && game->bonusDraw > game->pool - game->draw)) {
        return Refuse(row, Rule::Malformed, {std::string(v.text)});
    }
    o.game = *game;
    return std::nullopt;
}

// clang-format off
const OptionRow Rows[] = {
    {"--help", "", ValueKind::Switch, 0, 0, "", HelpGroup::Run, "",
     "show this help and exit", "", "",
     [](Row, V, Options& o) { return o.help = true, R(); }},
    {"--version", "", ValueKind::Switch, 0, 0, "", HelpGroup::Run, "",
     "show the version and exit", "", "",
     [](Row, V, Options& o) { return o.version = true, R(); }},
    {"--explain", "", ValueKind::Switch, 0, 0, "", HelpGroup::Run, "",
     "when the run is rejected, say why on standard error and exit\n"
     "with status 2 instead of stopping silently", "", "",
     [](Row, V, Options& o) { return o.explain = true, R(); }},
    {"--seed", "TEXT", ValueKind::Text, 0, 0, "", HelpGroup::Run, "",
     "seed from TEXT (repeated to fill the 2068-byte seeding image):\n"
     "the same TEXT and arguments give the same file on every platform;\n"
     "not secret", "seed", "Seed text",
     [](Row, V v, Options& o) { return o.seedText = std::string(v.text), R(); }},
    {"--seed-file", "FILE", ValueKind::File, 0, 0, "", HelpGroup::Run, "",
     "seed from the first 2068 bytes of FILE", "replay", "Replay file",
     [](Row, V v, Options& o) { return o.seedFile = std::string(v.text), R(); }},
    {"--save-seed", "FILE", ValueKind::File, 0, 0, "", HelpGroup::Run, "",
     "keep the system's 2068 seeding bytes in FILE (mode 0600), so that\n"
     "--seed-file FILE replays the run", "save-seed", "Save seed",
     [](Row, V v, Options& o) { return o.saveSeed = std::string(v.text), R(); }},
    {"--unique", "", ValueKind::Switch, 0, 0, "", HelpGroup::Run, "",
     "no two lines hold the same set of numbers", "unique", "Lines that are all different",
     [](Row, V, Options& o) { return o.unique = true, R(); }},
    {"--lf", "", ValueKind::Switch, 0, 0, "", HelpGroup::Run, "",
     "end lines with a line feed alone (for Unix tools)", "unix", "Unix line ends",
     [](Row, V, Options& o) { return o.lineFeedOnly = true, R(); }},
    {"--block-size", "BYTES", ValueKind::WholeNumber, TextBufferSize, LargestBlockSize, "",
     HelpGroup::Run, "",
     "hand the output over in blocks of BYTES (128 to 1048576; 128 by\n"
     "default); larger blocks are faster", "", "",
     [](Row, V v, Options& o) { return o.blockSize = static_cast<std::size_t>(v.number), R(); }},
    {"--bonus", "K:N", ValueKind::Pair, 1, MaxNumber, "K:N, two whole numbers", HelpGroup::Run, "",
     "add K numbers from a separate pool 1..N to each line, after \" + \"",
     "bonus", "Bonus numbers",
     [](Row, V v, Options& o) { return o.bonus = BonusPool{v.first, v.second}, R(); }},
    {"--sum", "MIN:MAX", ValueKind::Pair, 0, 3240, "MIN:MAX, two whole numbers", HelpGroup::Run,
     "", "only lines whose numbers add up to MIN..MAX", "sum", "Sum",
     [](Row, V v, Options& o) { return o.filters.sum = CountRange{v.first, v.second}, R(); }},
    {"--odd", "MIN:MAX", ValueKind::Pair, 0, MaxNumber, "MIN:MAX, two whole numbers",
     HelpGroup::Run, "", "only lines with MIN..MAX odd numbers", "odd", "Odd numbers",
     [](Row, V v, Options& o) { return o.filters.odd = CountRange{v.first, v.second}, R(); }},
    {"--max-run", "R", ValueKind::WholeNumber, 1, MaxNumber, "", HelpGroup::Run, "",
     "only lines without a run of more than R consecutive numbers", "max-run", "Longest run",
     [](Row, V v, Options& o) { return o.filters.maxRun = static_cast<int>(v.number), R(); }},
    {"--exclude", "LIST", ValueKind::List, 1, MaxNumber, "", HelpGroup::Run, "",
     "these numbers never appear (e.g. 13,4)", "exclude", "Numbers never to use",
     [](Row, V v, Options& o) { return o.exclude = v.list, R(); }},
    {"--stats", "FILE", ValueKind::File, 0, 0, "", HelpGroup::Run, "",
     "after the run, write statistics of the lines to FILE", "", "",
     [](Row, V v, Options& o) { return o.statsFile = std::string(v.text), R(); }},
    {"--chart", "FILE", ValueKind::File, 0, 0, "", HelpGroup::Run, "",
     "after the run, draw the count of each number as an SVG chart\n"
     "(for a wheel, both hold its prize table, as --prizes, instead)", "", "",
     [](Row, V v, Options& o) { return o.chartFile = std::string(v.text), R(); }},
    {"--wheel", "T:M", ValueKind::Pair, 1, MaxNumber, "T:M (at least T in a line if M are drawn)",
     HelpGroup::Wheel, "",
     "write the smallest wheel found such that whenever M of the drawn\n"
     "numbers are among the wheeled numbers, some line holds at least T\n"
     "of them; LINES is only the most lines accepted. Known designs\n"
     "first, then a search on every processor (seconds; up to about a\n"
     "minute for the hardest); every line is checked against every draw\n"
     "before it is written, and the lines come in the order that makes\n"
     "each first N of them meet the most draws. With FIXED-FILE every\n"
     "line holds those key numbers too, and the guarantee holds when\n"
     "they are drawn. Filters restrict the lines; --bonus adds random\n"
     "bonus numbers outside the guarantee; --unique changes nothing\n"
     "(lines never repeat); a rejected run says why; --explain (or a\n"
     "terminal) reports the lines, the lower bound and whether the\n"
     "wheel is proven optimal", "wheel", "Guarantee",
     [](Row, V v, Options& o) { return o.wheel = Prize{v.first, v.second}, R(); }},
    {"--numbers", "LIST", ValueKind::List, 1, MaxNumber, "", HelpGroup::Wheel, "",
     "the numbers to wheel (e.g. 3,8,15,22,31,40,47); all of 1..POOL\n"
     "but the key and excluded numbers by default; with --guarantee or\n"
     "--prizes, the numbers the check is over", "wheel-numbers", "Numbers to wheel",
     [](Row, V v, Options& o) { return o.numbers = v.list, R(); }},
    {"--effort", "PERCENT", ValueKind::WholeNumber, 1, 100000, "", HelpGroup::Wheel, "",
     "the search's effort, 1 to 100000 percent of its default (100);\n"
     "counted in steps, so the same --seed gives the same wheel anywhere\n"
     "and for any number of processors, within a version (a later version\n"
     "may find a smaller wheel)", "wheel-effort", "Effort",
     [](Row, V v, Options& o) { return o.effort = static_cast<int>(v.number), R(); }},
    {"--budget", "", ValueKind::Switch, 0, 0, "", HelpGroup::Wheel, "",
     "when the smallest wheel found is longer than LINES, write the LINES\n"
     "lines that meet the most draws instead of refusing, and say on\n"
     "standard error the share of draws they meet", "wheel-budget", "The best lines within the limit",
     [](Row, V, Options& o) { return o.budget = true, R(); }},
    {"--check", "DRAW", ValueKind::Own, 0, 0, "", HelpGroup::Check, " FILE",
     "how many lines of FILE match each count of the numbers of DRAW,\n"
     "from the fewer of PICK and DRAW's numbers down to 0\n"
     "(\"05 11 23 38 41 49 + 07\"; blanks, tabs, commas or semicolons\n"
     "between numbers; the bonus part matches the lines' bonus\n"
     "numbers, or their main numbers when they have none, and then\n"
     "may not repeat a main number), and the best lines.\n"
     "DRAW may be a file of past draws instead: one a line, or CSV\n"
     "(a header, a date column, the numbers in columns of their own\n"
     "or in one); each draw's best line, then totals and the lines\n"
     "that won most", "draw", "The draw", KeepCheck},
    {"--game", "POOL:DRAW", ValueKind::Own, 0, 0,
     "POOL:DRAW (DRAW main numbers of 1..POOL), POOL:DRAW+K:N (and K bonus numbers of 1..N) or "
     "POOL:DRAW+K (and K more of 1..POOL)", HelpGroup::Check, "",
     "with --check and a file of past draws: DRAW main numbers of\n"
     "1..POOL, +K:N and K bonus numbers of 1..N, +K and K more of\n"
     "1..POOL; a draw without bonus numbers takes its first DRAW as\n"
     "main and the next K as bonus; a draw of another shape is refused", "", "", KeepGame},
    {"--guarantee", "T:M", ValueKind::Pair, 1, MaxNumber,
     "T:M (at least T in a line if M are drawn)", HelpGroup::Check, " FILE",
     "whether FILE's lines give \"T if M\" over the numbers they use (or\n"
     "--numbers LIST): \"met\" with the count of draws, or \"not met\"\n"
     "with the share of draws met and an unmet draw; lines in groups\n"
     "that share no number are counted group by group; refused when\n"
     "the count would take more than about a second; and the lower\n"
     "bound on the lines any such wheel needs", "guarantee", "Guarantee",
     [](Row, V v, Options& o) { return o.guarantee = Prize{v.first, v.second}, R(); }},
    {"--prizes", "POOL:DRAW", ValueKind::Own, 0, 0,
     "POOL:DRAW (DRAW of 1..POOL drawn, POOL at most 80), or POOL:DRAW+K:N (and K bonus numbers "
     "of 1..N)", HelpGroup::Check, " FILE",
     "the exact prize table of FILE's lines in draws of DRAW of 1..POOL:\n"
     "for each count of matched numbers, the draws where a line reaches\n"
     "it and the lines expected (as for as many random lines), then for\n"
     "each count h of drawn numbers among the lines' (or --numbers\n"
     "LIST) the least, average and most lines, and a draw getting the\n"
     "least; refused when counting would take more than a few seconds.\n"
     "POOL:DRAW+K:N adds K bonus numbers of 1..N, matched with the\n"
     "lines' bonus parts (tiers 5+1 ... 0+1); POOL:DRAW+K adds K more\n"
     "of 1..POOL drawn after the main ones, matched with the lines'\n"
     "main numbers (49:6+1: one bonus ball of the 43 left)", "prizes", "Prize table", KeepPrizes},
};
// clang-format on

}  // namespace

std::span<const OptionRow> OptionRows() { return Rows; }

const OptionRow* FindOption(std::string_view name) {
    const auto row = std::find_if(std::begin(Rows), std::end(Rows),
                                  [&](const OptionRow& r) { return r.name == name; });
    return row == std::end(Rows) ? nullptr : row;
}

}  // namespace combogen
