// The rows of the options, in the order --help lists them.
#include "cli/option_table.h"

#include <algorithm>
#include <type_traits>

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

// A switch, a text or a number kept as it was read.
template <auto Member>
R Set(Row, V v, Options& o) {
    using T = std::remove_cvref_t<decltype(o.*Member)>;
    if constexpr (std::is_same_v<T, bool>) {
        o.*Member = true;
    } else if constexpr (std::is_same_v<T, std::optional<std::string>>) {
        o.*Member = std::string(v.text);
    } else if constexpr (std::is_same_v<T, std::vector<int>>) {
        o.*Member = v.list;
    } else if constexpr (std::is_same_v<T, std::optional<Prize>>) {
        o.*Member = Prize{v.first, v.second};
    } else {
        o.*Member = static_cast<T>(v.number);
    }
    return std::nullopt;
}

constexpr std::string_view WholePair = ", two whole numbers";
constexpr std::string_view TIfM = " (at least T in a line if M are drawn)";

// Each row names only what it has; the rest keep their defaults.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wmissing-field-initializers"
// clang-format off
const OptionRow Rows[] = {
    {.name = "--help", .help = "show this help and exit", .keep = Set<&Options::help>},
    {.name = "--version", .help = "show the version and exit", .keep = Set<&Options::version>},
    {.name = "--explain",
     .help = "when the run is rejected, say why on standard error and exit\n"
             "with status 2 instead of stopping silently",
     .keep = Set<&Options::explain>},
    {.name = "--seed", .value = "TEXT", .kind = ValueKind::Text,
     .help = "seed from TEXT (repeated to fill the 2068-byte seeding image):\n"
             "the same TEXT and arguments give the same file on every platform;\n"
             "not secret",
     .pageField = "seed", .pageLabel = "Seed text", .keep = Set<&Options::seedText>},
    {.name = "--seed-file", .value = "FILE", .kind = ValueKind::File,
     .help = "seed from the first 2068 bytes of FILE",
     .pageField = "replay", .pageLabel = "Replay file", .keep = Set<&Options::seedFile>},
    {.name = "--save-seed", .value = "FILE", .kind = ValueKind::File,
     .help = "keep the system's 2068 seeding bytes in FILE (mode 0600), so that\n"
             "--seed-file FILE replays the run",
     .pageField = "save-seed", .pageLabel = "Save seed", .keep = Set<&Options::saveSeed>},
    {.name = "--unique", .help = "no two lines hold the same set of numbers",
     .pageField = "unique", .pageLabel = "Lines that are all different",
     .keep = Set<&Options::unique>},
    {.name = "--lf", .help = "end lines with a line feed alone (for Unix tools)",
     .pageField = "unix", .pageLabel = "Unix line ends", .keep = Set<&Options::lineFeedOnly>},
    {.name = "--block-size", .value = "BYTES", .kind = ValueKind::WholeNumber,
     .least = TextBufferSize, .most = LargestBlockSize,
     .help = "hand the output over in blocks of BYTES (128 to 1048576; 128 by\n"
             "default); larger blocks are faster",
     .keep = Set<&Options::blockSize>},
    {.name = "--bonus", .value = "K:N", .kind = ValueKind::Pair, .least = 1, .most = MaxNumber,
     .form = WholePair, .help = "add K numbers from a separate pool 1..N to each line, after \" + \"",
     .pageField = "bonus", .pageLabel = "Bonus numbers",
     .keep = [](Row, V v, Options& o) { return o.bonus = BonusPool{v.first, v.second}, R(); }},
    {.name = "--sum", .value = "MIN:MAX", .kind = ValueKind::Pair, .least = 0, .most = 3240,
     .form = WholePair, .help = "only lines whose numbers add up to MIN..MAX",
     .pageField = "sum", .pageLabel = "Sum",
     .keep = [](Row, V v, Options& o) {
         return o.filters.sum = CountRange{v.first, v.second}, R();
     }},
    {.name = "--odd", .value = "MIN:MAX", .kind = ValueKind::Pair, .least = 0, .most = MaxNumber,
     .form = WholePair, .help = "only lines with MIN..MAX odd numbers",
     .pageField = "odd", .pageLabel = "Odd numbers",
     .keep = [](Row, V v, Options& o) {
         return o.filters.odd = CountRange{v.first, v.second}, R();
     }},
    {.name = "--max-run", .value = "R", .kind = ValueKind::WholeNumber, .least = 1,
     .most = MaxNumber, .help = "only lines without a run of more than R consecutive numbers",
     .pageField = "max-run", .pageLabel = "Longest run",
     .keep = [](Row, V v, Options& o) {
         return o.filters.maxRun = static_cast<int>(v.number), R();
     }},
    {.name = "--exclude", .value = "LIST", .kind = ValueKind::List, .least = 1, .most = MaxNumber,
     .help = "these numbers never appear (e.g. 13,4)",
     .pageField = "exclude", .pageLabel = "Numbers never to use", .keep = Set<&Options::exclude>},
    {.name = "--stats", .value = "FILE", .kind = ValueKind::File,
     .help = "after the run, write statistics of the lines to FILE",
     .keep = Set<&Options::statsFile>},
    {.name = "--chart", .value = "FILE", .kind = ValueKind::File,
     .help = "after the run, draw the count of each number as an SVG chart\n"
             "(for a wheel, both hold its prize table, as --prizes, instead)",
     .keep = Set<&Options::chartFile>},
    {.name = "--wheel", .value = "T:M", .kind = ValueKind::Pair, .least = 1, .most = MaxNumber,
     .form = TIfM, .group = HelpGroup::Wheel,
     .help = "write the smallest wheel found such that whenever M of the drawn\n"
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
             "wheel is proven optimal",
     .pageField = "wheel", .pageLabel = "Guarantee", .keep = Set<&Options::wheel>},
    {.name = "--numbers", .value = "LIST", .kind = ValueKind::List, .least = 1, .most = MaxNumber,
     .group = HelpGroup::Wheel,
     .help = "the numbers to wheel (e.g. 3,8,15,22,31,40,47); all of 1..POOL\n"
             "but the key and excluded numbers by default; with --guarantee or\n"
             "--prizes, the numbers the check is over",
     .pageField = "wheel-numbers", .pageLabel = "Numbers to wheel", .keep = Set<&Options::numbers>},
    {.name = "--effort", .value = "PERCENT", .kind = ValueKind::WholeNumber, .least = 1,
     .most = 100000, .group = HelpGroup::Wheel,
     .help = "the search's effort, 1 to 100000 percent of its default (100);\n"
             "counted in steps, so the same --seed gives the same wheel anywhere\n"
             "and for any number of processors, within a version (a later version\n"
             "may find a smaller wheel)",
     .pageField = "wheel-effort", .pageLabel = "Effort",
     .keep = [](Row, V v, Options& o) { return o.effort = static_cast<int>(v.number), R(); }},
    {.name = "--budget", .group = HelpGroup::Wheel,
     .help = "when the smallest wheel found is longer than LINES, write the LINES\n"
             "lines that meet the most draws instead of refusing, and say on\n"
             "standard error the share of draws they meet",
     .pageField = "wheel-budget", .pageLabel = "The best lines within the limit",
     .keep = Set<&Options::budget>},
    {.name = "--check", .value = "DRAW", .kind = ValueKind::Own, .group = HelpGroup::Check,
     .operand = " FILE",
     .help = "how many lines of FILE match each count of the numbers of DRAW,\n"
             "from the fewer of PICK and DRAW's numbers down to 0\n"
             "(\"05 11 23 38 41 49 + 07\"; blanks, tabs, commas or semicolons\n"
             "between numbers; the bonus part matches the lines' bonus\n"
             "numbers, or their main numbers when they have none, and then\n"
             "may not repeat a main number), and the best lines.\n"
             "DRAW may be a file of past draws instead: one a line, or CSV\n"
             "(a header, a date column, the numbers in columns of their own\n"
             "or in one); each draw's best line, then totals and the lines\n"
             "that won most",
     .pageField = "draw", .pageLabel = "The draw", .keep = KeepCheck},
    {.name = "--game", .value = "POOL:DRAW", .kind = ValueKind::Own,
     .form = " (DRAW main numbers of 1..POOL), POOL:DRAW+K:N (and K bonus numbers of 1..N) or "
             "POOL:DRAW+K (and K more of 1..POOL)",
     .group = HelpGroup::Check,
     .help = "with --check and a file of past draws: DRAW main numbers of\n"
             "1..POOL, +K:N and K bonus numbers of 1..N, +K and K more of\n"
             "1..POOL; a draw without bonus numbers takes its first DRAW as\n"
             "main and the next K as bonus; a draw of another shape is refused",
     .keep = KeepGame},
    {.name = "--guarantee", .value = "T:M", .kind = ValueKind::Pair, .least = 1,
     .most = MaxNumber, .form = TIfM, .group = HelpGroup::Check, .operand = " FILE",
     .help = "whether FILE's lines give \"T if M\" over the numbers they use (or\n"
             "--numbers LIST): \"met\" with the count of draws, or \"not met\"\n"
             "with the share of draws met and an unmet draw; lines in groups\n"
             "that share no number are counted group by group; refused when\n"
             "the count would take more than about a second; and the lower\n"
             "bound on the lines any such wheel needs",
     .pageField = "guarantee", .pageLabel = "Guarantee", .keep = Set<&Options::guarantee>},
    {.name = "--prizes", .value = "POOL:DRAW", .kind = ValueKind::Own,
     .form = " (DRAW of 1..POOL drawn, POOL at most 80), or POOL:DRAW+K:N (and K bonus numbers "
             "of 1..N)",
     .group = HelpGroup::Check, .operand = " FILE",
     .help = "the exact prize table of FILE's lines in draws of DRAW of 1..POOL:\n"
             "for each count of matched numbers, the draws where a line reaches\n"
             "it and the lines expected (as for as many random lines), then for\n"
             "each count h of drawn numbers among the lines' (or --numbers\n"
             "LIST) the least, average and most lines, and a draw getting the\n"
             "least; refused when counting would take more than a few seconds.\n"
             "POOL:DRAW+K:N adds K bonus numbers of 1..N, matched with the\n"
             "lines' bonus parts (tiers 5+1 ... 0+1); POOL:DRAW+K adds K more\n"
             "of 1..POOL drawn after the main ones, matched with the lines'\n"
             "main numbers (49:6+1: one bonus ball of the 43 left)",
     .pageField = "prizes", .pageLabel = "Prize table", .keep = KeepPrizes},
};
// clang-format on
#pragma GCC diagnostic pop

}  // namespace

std::span<const OptionRow> OptionRows() { return Rows; }

const OptionRow* FindOption(std::string_view name) {
    const auto row = std::find_if(std::begin(Rows), std::end(Rows),
                                  [&](const OptionRow& r) { return r.name == name; });
    return row == std::end(Rows) ? nullptr : row;
}

}  // namespace combogen
