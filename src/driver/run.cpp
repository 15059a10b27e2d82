#include "driver/run.h"

#include <optional>
#include <vector>

#include "combination/draw.h"
#include "combination/pool.h"
#include "driver/integer_text.h"
#include "driver/process.h"
#include "driver/report.h"
#include "driver/text_file.h"
#include "fixed/fixed_line.h"

namespace combogen {

namespace {

struct RunSettings {
    int32_t LineCount = 0;
    int32_t PoolSize = 0;
    int32_t PickCount = 0;
    bool SortOutput = false;
    int32_t FixedMin = 0;
    int32_t FixedMax = 0;
};

// The first non-empty line of the file; empty when there is none. Nothing when the file cannot
// be opened or read.
std::optional<std::string> ReadFixedNumberLine(const std::string& name) {
    InputTextFile file;
    OpenInput(file, name);
    if (TakeIoError() != 0) return std::nullopt;
    std::string line;
    do {
        line = ReadLine(file);
        SkipLine(file);
    } while (line.empty() && !AtEndOfFile(file));
    CloseInput(file);
    // Taken here, before the output file exists, so that a rejected run never empties it.
    if (TakeIoError() != 0) return std::nullopt;
    return line;
}

// The fixed list and the pool, after seeding. False is a silent stop.
bool PrepareFixedRun(const std::string& fixedLine, const RunSettings& settings,
                     bool allFixed, NumberLists& lists) {
    const std::string cleaned = CleanFixedLine(fixedLine);
    NumberList numbers{};
    const int count = ParseNumbers(cleaned, numbers);
    if (count > NumberCapacity) return false;
    lists.FixedCount = RemoveDuplicates(numbers, count, lists.fixed);

    // These hold for an empty list too: nothing can be forced from it.
    if (lists.FixedCount < settings.FixedMin || lists.FixedCount < settings.FixedMax) {
        return false;
    }
    if (allFixed && lists.FixedCount >= settings.PickCount) return false;
    SortAscending(lists.fixed, lists.FixedCount);
    if (LargestFixed(lists.fixed, lists.FixedCount) > settings.PoolSize) return false;
    // 0 (or any multiple of 256) could never be drawn and has no label.
    if (lists.FixedCount > 0 && lists.fixed[0] == 0) return false;

    lists.PoolLength = BuildPool(lists.pool, lists.fixed, lists.FixedCount, settings.PoolSize);
    // A line with the fewest fixed numbers must still fill up from the pool.
    return allFixed || settings.PickCount - settings.FixedMin <= lists.PoolLength;
}

bool InRange(std::optional<int32_t> value, int32_t low, int32_t high) {
    return value && *value >= low && *value <= high;
}

}  // namespace

RunEnd RunCombogen(std::span<const std::string> args, const SeedSource& seedSource) {
    const std::size_t argCount = args.size();
    if (argCount < 5) return RunEnd::Rejected;
    RunSettings settings;

    std::string fixedLine;
    if (argCount > 5) {
        auto line = ReadFixedNumberLine(args[5]);
        if (!line) return RunEnd::Rejected;
        fixedLine = std::move(*line);
    }

    const auto lineCount = TryStrToInt(args[0]);
    if (!lineCount || *lineCount < 1) return RunEnd::Rejected;
    settings.LineCount = *lineCount;
    const auto poolSize = TryStrToInt(args[1]);
    if (!InRange(poolSize, 1, MaxNumber)) return RunEnd::Rejected;
    settings.PoolSize = *poolSize;
    const auto pickCount = TryStrToInt(args[2]);
    if (!InRange(pickCount, 1, settings.PoolSize)) return RunEnd::Rejected;
    settings.PickCount = *pickCount;
    const auto sortOutput = TryStrToInt(args[3]);
    if (!InRange(sortOutput, 0, 1)) return RunEnd::Rejected;
    settings.SortOutput = *sortOutput == 1;

    if (argCount > 6 && argCount != 8) return RunEnd::Rejected;
    if (argCount == 8) {
        // A negative minimum means nothing as a count of fixed numbers.
        const auto fixedMin = TryStrToInt(args[6]);
        if (!InRange(fixedMin, 0, settings.PickCount - 1)) return RunEnd::Rejected;
        settings.FixedMin = *fixedMin;
        const auto fixedMax = TryStrToInt(args[7]);
        if (!InRange(fixedMax, settings.FixedMin, settings.PickCount - 1)) {
            return RunEnd::Rejected;
        }
        settings.FixedMax = *fixedMax;
    }

    RandomGenerator generator;
    if (!SeedGenerator(generator, seedSource)) return RunEnd::Rejected;

    NumberLists lists;
    if (argCount == 5) {
        FillPool(lists.pool, settings.PoolSize);
        lists.PoolLength = settings.PoolSize;
    } else if (!PrepareFixedRun(fixedLine, settings, argCount == 6, lists)) {
        return RunEnd::Rejected;
    }

    OutputTextFile output;
    CreateOutput(output, args[4]);
    if (TakeIoError() != 0) return RunEnd::Rejected;

    const int k = settings.PickCount;
    for (int32_t line = 0; line < settings.LineCount; ++line) {
        const CombinationText text =
            argCount == 5 ? DrawPlain(generator, lists, k, settings.SortOutput)
            : argCount == 6
                ? DrawWithAllFixed(generator, lists, k, settings.SortOutput)
                : DrawWithSomeFixed(generator, lists, k, settings.FixedMin, settings.FixedMax,
                                    settings.SortOutput);
        WriteText(output, text.view());
        WriteLineEnd(output);
        CheckIo();
    }
    CloseOutput(output);
    CheckIo();
    return RunEnd::Completed;
}

int RunFromCommandLine(int argc, char* argv[]) {
    PrepareProcess();
    try {
        const std::vector<std::string> args(argv + (argc > 0 ? 1 : 0), argv + argc);
        RunCombogen(args, ReadSystemRandom);
    } catch (...) {
        ReportFailure(std::current_exception(), argc > 0 ? argv[0] : "combogen");
    }
    return 0;
}

}  // namespace combogen
