#include "cli/statistics_run.h"

#include <array>
#include <utility>

#include "cli/option_lines.h"
#include "combination/number_list.h"
#include "line_checks/prize_chart.h"
#include "line_checks/prize_report.h"
#include "platform/file_system.h"
#include "stats/report.h"

namespace combogen {

namespace {

// Going through this many passing lines for their pairs takes a few milliseconds.
constexpr uint64_t PairsFromLinesUpTo = 1 << 16;

// Writes text to name whole; 0 or the error code. A regular file left incomplete is removed.
int32_t WriteReport(const std::string& name, const std::string& text) {
    FileHandle handle = -1;
    if (const int32_t code = CreateFileForWriting(name, handle); code != 0) return code;
    int32_t code = WriteToFile(handle, text.data(), text.size());
    const bool device = IsCharacterDevice(handle);
    if (const int32_t closing = CloseFile(handle); code == 0) code = closing;
    if (code != 0 && !device) RemoveFile(name);
    return code;
}

}  // namespace

StatisticsRun::StatisticsRun(const Options& options, std::span<const std::string> args)
    : options_(options), args_(args) {}

void StatisticsRun::Start(const RunSettings& settings, const NumberLists& lists,
                          const OptionLines* optionLines) {
    const int n = settings.PoolSize, k = settings.PickCount;
    ExpectedSpread spread;
    if (args_.size() == 5) {
        spread.main = UniformSpread(n, k);
    } else {
        // Six arguments: every fixed number in every line; eight: FixedMin..FixedMax of them.
        const bool all = args_.size() == 6;
        spread.main = FixedRunSpread(n, k, lists.fixed, lists.FixedCount,
                                     all ? lists.FixedCount : settings.FixedMin,
                                     all ? lists.FixedCount : settings.FixedMax);
    }
    if (options_.wheel) {
        // A wheel's lines are chosen, not drawn: no expected counts to weigh them against.
        spread.main.inclusion = {};
        spread.main.pairInclusion.clear();
        spread.main.unknownWhy = "a wheel's lines are chosen, not drawn";
    } else if (optionLines != nullptr && optionLines->Filtered()) {
        // Filters: each number's probability from the exact counts of the passing lines, and
        // the joint ones from the lines themselves while they are few enough to go through;
        // otherwise the test approximates the covariances. Counts too large to keep leave
        // nothing to compare with, and the report says so.
        spread.main.inclusion = optionLines->MainNumberOdds();
        spread.main.pairInclusion = optionLines->MainPairOdds(PairsFromLinesUpTo);
        if (!spread.main.Known()) {
            spread.main.unknownWhy = "the lines that pass the filters are too many to count";
        }
    }
    if (options_.bonus) spread.bonus = UniformSpread(options_.bonus->pool, options_.bonus->count);
    counting_ = std::make_unique<Counting>(
        Counting{std::move(spread), LineTally(n, k, static_cast<uint64_t>(settings.LineCount))});
    if (options_.wheel) {
        counting_->tally.KeepLines();
        pool_ = n;
        pick_ = k;
    }
}

std::optional<std::string> StatisticsRun::Finish() const {
    RunDescription run;
    run.options = options_.asGiven;
    run.arguments.assign(args_.begin(), args_.end());
    run.lineEnd = options_.lineFeedOnly ? "\n" : "\r\n";
    // A wheel's lines are weighed by what they win in a draw of the pick from the pool.
    std::optional<PrizeTable> prizes;
    if (options_.wheel) {
        std::vector<uint8_t> numbers;
        std::array<uint8_t, 81> index{};
        for (int x = 1; x <= MaxNumber; ++x) {
            for (const NumberSet& line : counting_->tally.Kept()) {
                if (!line.Contains(x)) continue;
                index[x] = static_cast<uint8_t>(numbers.size());
                numbers.push_back(static_cast<uint8_t>(x));
                break;
            }
        }
        std::vector<WheelLine> lines;
        for (const NumberSet& line : counting_->tally.Kept()) {
            WheelLine& indexed = lines.emplace_back();
            for (int x = 1; x <= MaxNumber; ++x) {
                if (line.Contains(x)) indexed.push_back(index[x]);
            }
        }
        std::string why;
        prizes = TablePrizes(pool_, pick_, numbers, lines, BonusGame{}, why);
        run.prizeTable = prizes ? PrizeReport(*prizes, numbers, "the wheel")
                                : "prize table not computed: " + why + "\n";
    }
    if (options_.statsFile) {
        const std::string text = StatisticsReport(run, counting_->tally, counting_->spread);
        if (const int32_t code = WriteReport(*options_.statsFile, text); code != 0) {
            return "cannot write statistics to '" + *options_.statsFile +
                   "': " + SystemErrorText(code);
        }
    }
    if (options_.chartFile) {
        const std::string chart =
            prizes ? PrizeChart(*prizes) : CountChart(counting_->tally, counting_->spread);
        if (const int32_t code = WriteReport(*options_.chartFile, chart); code != 0) {
            return "cannot write the chart to '" + *options_.chartFile +
                   "': " + SystemErrorText(code);
        }
    }
    return std::nullopt;
}

}  // namespace combogen
