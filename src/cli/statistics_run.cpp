#include "cli/statistics_run.h"

#include <utility>
#include <vector>

#include "cli/option_lines.h"
#include "platform/file_system.h"
#include "stats/report.h"

namespace combogen {

namespace {

struct NamedFile {
    std::string name;
    const char* role;
};

// The same file by name, or by identity once it exists.
bool SameFile(const std::string& a, const std::string& b) {
    return a == b || SameRegularFile(a, b);
}

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

std::optional<std::string> StatisticsRun::CheckFiles() const {
    std::vector<NamedFile> others;
    if (args_.size() > 4) others.push_back({args_[4], "the output file"});
    if (args_.size() > 5) others.push_back({args_[5], "the fixed-number file"});
    if (options_.seedFile) others.push_back({*options_.seedFile, "the seed file"});
    if (options_.saveSeed) others.push_back({*options_.saveSeed, "the seed file"});
    std::vector<NamedFile> reports;
    if (options_.statsFile) reports.push_back({*options_.statsFile, "the statistics file"});
    if (options_.chartFile) reports.push_back({*options_.chartFile, "the chart file"});

    for (std::size_t i = 0; i < reports.size(); ++i) {
        std::vector<NamedFile> against = others;
        against.insert(against.end(), reports.begin(), reports.begin() + i);
        for (const NamedFile& other : against) {
            if (SameFile(reports[i].name, other.name)) {
                return std::string(reports[i].role) + " '" + reports[i].name + "' is " +
                       other.role + " '" + other.name + "'";
            }
        }
    }
    return std::nullopt;
}

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
    } else if (options_.sum || options_.odd || options_.maxRun || !options_.exclude.empty()) {
        // Filters: each number's probability from the exact counts of the passing lines; the
        // joint ones are not known, so the test approximates the covariances (all zero when
        // the counts were too large to keep: no test then).
        spread.main.inclusion = optionLines->MainNumberOdds();
        spread.main.pairInclusion.clear();
    }
    if (options_.bonus) spread.bonus = UniformSpread(options_.bonus->pool, options_.bonus->count);
    counting_ = std::make_unique<Counting>(
        Counting{std::move(spread), LineTally(n, k, static_cast<uint64_t>(settings.LineCount))});
}

std::optional<std::string> StatisticsRun::Finish() const {
    // Now that the output file exists, another spelling of its name is found too.
    if (const auto clash = CheckFiles()) return clash;
    RunDescription run;
    run.options = options_.asGiven;
    run.arguments.assign(args_.begin(), args_.end());
    run.lineEnd = options_.lineFeedOnly ? "\n" : "\r\n";
    if (options_.statsFile) {
        const std::string text = StatisticsReport(run, counting_->tally, counting_->spread);
        if (const int32_t code = WriteReport(*options_.statsFile, text); code != 0) {
            return "cannot write statistics to '" + *options_.statsFile +
                   "': " + SystemErrorText(code);
        }
        // The chart must not overwrite it under another spelling of its name.
        if (const auto clash = CheckFiles()) return clash;
    }
    if (options_.chartFile) {
        if (const int32_t code =
                WriteReport(*options_.chartFile, CountChart(counting_->tally, counting_->spread));
            code != 0) {
            return "cannot write the chart to '" + *options_.chartFile +
                   "': " + SystemErrorText(code);
        }
    }
    return std::nullopt;
}

}  // namespace combogen
