#include "cli/run.h"

#include <algorithm>
#include <optional>
#include <vector>

#include "cli/fixed_run.h"
#include "combination/draw.h"
#include "combination/pool.h"
#include "failure/report.h"
#include "platform/process.h"
#include "text/integer_text.h"
#include "text/text_file.h"

namespace combogen {

namespace {

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
    if (argCount == 5) {
        // A round's lines at a time; the generator may run ahead of the last line written, which
        // nothing outside the run can see.
        PlainLines lines;
        for (int32_t line = 0; line < settings.LineCount;) {
            DrawPlainLines(generator, lists, k, settings.SortOutput, lines);
            const int count = std::min(lines.count, settings.LineCount - line);
            if (output.characterDevice) {
                for (int i = 0; i < count; ++i) {
                    WriteText(output, lines.Line(i));
                    WriteLineEnd(output);
                    CheckIo();
                }
            } else {
                // The same blocks as line by line; after a failed block nothing more is written
                // either way, and the failure is raised before the next line.
                WriteText(output, lines.Ended(count));
                CheckIo();
            }
            line += count;
        }
        CloseOutput(output);
        CheckIo();
        return RunEnd::Completed;
    }
    for (int32_t line = 0; line < settings.LineCount; ++line) {
        const CombinationText text =
            argCount == 6 ? DrawWithAllFixed(generator, lists, k, settings.SortOutput)
                          : DrawWithSomeFixed(generator, lists, k, settings.FixedMin,
                                              settings.FixedMax, settings.SortOutput);
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
        const std::vector<std::string> args = CommandLineArguments(argc, argv);
        RunCombogen(args, ReadSystemRandom);
    } catch (...) {
        ReportFailure(std::current_exception(), argc > 0 ? argv[0] : "combogen");
    }
    return 0;
}

}  // namespace combogen
