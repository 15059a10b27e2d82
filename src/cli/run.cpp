#include "cli/run.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "ahead/plain_run_lines.h"
#include "cli/fixed_run.h"
#include "cli/line_checks.h"
#include "cli/option_lines.h"
#include "cli/run_files.h"
#include "cli/statistics_run.h"
#include "cli/wheel_run.h"
#include "combination/draw.h"
#include "combination/pool.h"
#include "failure/failure.h"
#include "failure/report.h"
#include "platform/file_system.h"
#include "platform/process.h"
#include "text/integer_text.h"
#include "text/text_file.h"

namespace combogen {

namespace {

// A silent stop, with the reason when one is asked for; the text is only made then.
template <class Message>
RunEnd Reject(Rejection* why, Field field, Message message) {
    if (why != nullptr) *why = {field, message()};
    return RunEnd::Rejected;
}

bool InRange(std::optional<int32_t> value, int32_t low, int32_t high) {
    return value && *value >= low && *value <= high;
}

// A value as the person typed it and as it was read, when the two differ ("$51" is 81).
std::string Shown(const std::string& text, int32_t value) {
    const std::string decimal = std::to_string(value);
    return text == decimal ? decimal : decimal + " ('" + text + "')";
}

std::string NotANumber(const char* what, const std::string& text) {
    return std::string(what) + " '" + text + "' is not a whole number";
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

// Why a text did not convert: no whole number, or one beyond 32 bits, where the rule it breaks
// is said as for a value in range.
std::string Unconverted(const char* what, const std::string& text, const std::string& below,
                        const std::string& above) {
    const auto negative = TooLargeSign(text);
    if (!negative) return NotANumber(what, text);
    return std::string(what) + " " + text + " " + (*negative ? below : above);
}

std::string WrongCount(std::size_t count) {
    return "expected 5, 6 or 8 arguments (LINES POOL PICK SORT OUTPUT [FIXED-FILE [FIXED-MIN "
           "FIXED-MAX]]), got " +
           std::to_string(count);
}

// Steps up to the seeding: the argument count, the fixed-number line and the numbers. Leaves
// the run's settings and the fixed-number line.
RunEnd CheckSettings(std::span<const std::string> args, RunSettings& settings,
                     FixedLineSummary& fixedLine, Rejection* why) {
    const std::size_t argCount = args.size();
    if (argCount < 5)
        return Reject(why, Field::ArgumentCount, [&] { return WrongCount(argCount); });

    if (argCount > 5) {
        auto line = ScanFixedNumberFile(args[5], why);
        if (!line) return RunEnd::Rejected;
        fixedLine = std::move(*line);
    }

    const auto lineCount = TryStrToInt(args[0]);
    if (!lineCount) {
        return Reject(why, Field::LineCount, [&] {
            return Unconverted("line count", args[0], "is less than 1", "is more than 2147483647");
        });
    }
    if (*lineCount < 1) {
        return Reject(why, Field::LineCount, [&] {
            return "line count " + Shown(args[0], *lineCount) + " is less than 1";
        });
    }
    settings.LineCount = *lineCount;
    const auto poolSize = TryStrToInt(args[1]);
    if (!poolSize) {
        return Reject(why, Field::PoolSize, [&] {
            return Unconverted("pool size", args[1], "is not in 1.." + std::to_string(MaxNumber),
                               "is not in 1.." + std::to_string(MaxNumber));
        });
    }
    if (!InRange(poolSize, 1, MaxNumber)) {
        return Reject(why, Field::PoolSize, [&] {
            return "pool size " + Shown(args[1], *poolSize) + " is not in 1.." +
                   std::to_string(MaxNumber);
        });
    }
    settings.PoolSize = *poolSize;
    const auto pickCount = TryStrToInt(args[2]);
    if (!pickCount) {
        return Reject(why, Field::PickCount, [&] {
            return Unconverted("pick count", args[2], "is less than 1",
                               "is more than the pool of " + std::to_string(settings.PoolSize));
        });
    }
    if (*pickCount < 1) {
        return Reject(why, Field::PickCount, [&] {
            return "pick count " + Shown(args[2], *pickCount) + " is less than 1";
        });
    }
    if (*pickCount > settings.PoolSize) {
        return Reject(why, Field::PickCount, [&] {
            return "pick count " + Shown(args[2], *pickCount) + " is more than the pool of " +
                   std::to_string(settings.PoolSize);
        });
    }
    settings.PickCount = *pickCount;
    const auto sortOutput = TryStrToInt(args[3]);
    if (!sortOutput) {
        return Reject(why, Field::Sort, [&] {
            return Unconverted("sort flag", args[3], "is neither 0 nor 1", "is neither 0 nor 1");
        });
    }
    if (!InRange(sortOutput, 0, 1)) {
        return Reject(why, Field::Sort, [&] {
            return "sort flag " + Shown(args[3], *sortOutput) + " is neither 0 nor 1";
        });
    }
    settings.SortOutput = *sortOutput == 1;

    if (argCount > 6 && argCount != 8) {
        return Reject(why, Field::ArgumentCount, [&] { return WrongCount(argCount); });
    }
    if (argCount == 8) {
        const auto fixedMin = TryStrToInt(args[6]);
        if (!fixedMin) {
            return Reject(why, Field::FixedMin, [&] {
                return Unconverted(
                    "fixed minimum", args[6], "is negative",
                    "is not less than the pick count " + std::to_string(settings.PickCount));
            });
        }
        // A negative minimum means nothing as a count of fixed numbers.
        if (*fixedMin < 0) {
            return Reject(why, Field::FixedMin, [&] {
                return "fixed minimum " + Shown(args[6], *fixedMin) + " is negative";
            });
        }
        if (*fixedMin >= settings.PickCount) {
            return Reject(why, Field::FixedMin, [&] {
                return "fixed minimum " + Shown(args[6], *fixedMin) +
                       " is not less than the pick count " + std::to_string(settings.PickCount);
            });
        }
        settings.FixedMin = *fixedMin;
        const auto fixedMax = TryStrToInt(args[7]);
        if (!fixedMax) {
            return Reject(why, Field::FixedMax, [&] {
                return Unconverted(
                    "fixed maximum", args[7],
                    "is less than the fixed minimum " + std::to_string(settings.FixedMin),
                    "is not less than the pick count " + std::to_string(settings.PickCount));
            });
        }
        if (*fixedMax < settings.FixedMin) {
            return Reject(why, Field::FixedMax, [&] {
                return "fixed maximum " + Shown(args[7], *fixedMax) +
                       " is less than the fixed minimum " + std::to_string(settings.FixedMin);
            });
        }
        if (*fixedMax >= settings.PickCount) {
            return Reject(why, Field::FixedMax, [&] {
                return "fixed maximum " + Shown(args[7], *fixedMax) +
                       " is not less than the pick count " + std::to_string(settings.PickCount);
            });
        }
        settings.FixedMax = *fixedMax;
    }
    return RunEnd::Completed;
}

// The fixed list and the pool (after seeding, in a run).
RunEnd PrepareLists(std::span<const std::string> args, const RunSettings& settings,
                    const FixedLineSummary& fixedLine, NumberLists& lists, Rejection* why) {
    if (args.size() == 5) {
        FillPool(lists.pool, settings.PoolSize);
        lists.PoolLength = settings.PoolSize;
    } else if (!PrepareFixedRun(fixedLine, settings, args.size() == 6, lists, why)) {
        return RunEnd::Rejected;
    }
    return RunEnd::Completed;
}

// The lines of a run with options: the same draws as the plain run unless an option changes
// them, then the chosen line end.
void WriteOptionLines(RandomGenerator& generator, NumberLists& lists, const RunSettings& settings,
                      std::size_t argCount, const Options& options, OptionLines* optionLines,
                      OutputTextFile& output, LineTally* tally) {
    const FixedForm form = FormOf(argCount);
    LineText lineText;
    for (int32_t line = 0; line < settings.LineCount; ++line) {
        // The line's numbers.
        if (optionLines != nullptr) {
            optionLines->Next(generator, lists, lineText);
            WriteText(output, lineText.view());
        } else {
            const CombinationText text =
                DrawLine(generator, lists, form, settings.PickCount, settings.FixedMin,
                         settings.FixedMax, settings.SortOutput);
            WriteText(output, text.view());
        }
        WriteLineEnd(output, options.lineFeedOnly);
        CheckIo();

        // Whatever looks at each line written.
        if (tally != nullptr) {
            if (optionLines != nullptr) {
                const BonusDraw& bonus = optionLines->Bonus();
                tally->Add(optionLines->Last().numbers.data(), settings.PickCount,
                           bonus.pool.data(), bonus.count);
            } else {
                tally->Add(DrawnNumbers(lists, form), settings.PickCount, nullptr, 0);
            }
        }
    }
}

}  // namespace

RunEnd RunCombogen(std::span<const std::string> args, const SeedSource& seedSource) {
    return RunCombogen(args, seedSource, Options{}, nullptr);
}

RunEnd RunCombogen(std::span<const std::string> args, const SeedSource& seedSource,
                   const Options& options, Rejection* why) {
    RunSettings settings;
    FixedLineSummary fixedLine;
    if (const RunEnd end = CheckSettings(args, settings, fixedLine, why);
        end != RunEnd::Completed) {
        return end;
    }
    const std::size_t argCount = args.size();

    RandomGenerator generator;
    // The bytes the source delivered, for --save-seed.
    std::array<uint8_t, SeedImageSize> keptSeed{};
    const auto keepingSource = [&](std::span<uint8_t> bytes) {
        if (!seedSource(bytes)) return false;
        std::copy(bytes.begin(), bytes.end(), keptSeed.begin());
        return true;
    };
    const bool seeded = options.saveSeed ? SeedGenerator(generator, keepingSource)
                                         : SeedGenerator(generator, seedSource);
    if (!seeded) {
        return Reject(why, Field::RandomSource,
                      [] { return std::string("the system's random source failed"); });
    }

    NumberLists lists;
    if (const RunEnd end = PrepareLists(args, settings, fixedLine, lists, why);
        end != RunEnd::Completed) {
        return end;
    }

    // No file the run writes may be another file of the run under some other name: checked
    // before anything is written or removed. The output file over the fixed-number file is the
    // plain run's own silent stop.
    const std::vector<NamedFile> files = FilesOfRun(args, options);
    if (const auto clash = FindFileClash(files)) {
        // The output file first, the fixed-number file second.
        const bool plain = argCount > 5 && clash->written == &files[0] && clash->other == &files[1];
        if (why != nullptr) *why = {plain ? Field::Output : Field::Options, clash->Message()};
        return plain ? RunEnd::Rejected : RunEnd::Refused;
    }

    // Filters no line passes, or too few lines for --unique: refused before any file exists.
    OptionLines optionLines;
    const bool drawsWithOptions = options.ChangesDraws() && !options.wheel;
    // A wheel is found, and checked, before any file is written.
    WheelRun wheel;
    if (options.wheel) {
        auto wrong = wheel.Prepare(settings, lists, argCount, options);
        if (!wrong) wrong = wheel.Find(generator);
        if (wrong) {
            if (why != nullptr) *why = std::move(*wrong);
            return RunEnd::Refused;
        }
    }
    if (drawsWithOptions) {
        if (auto wrong = optionLines.Prepare(RulesOf(settings, lists, argCount), options, lists,
                                             settings.SortOutput, settings.LineCount)) {
            if (why != nullptr) *why = {Field::Options, *wrong};
            return RunEnd::Refused;
        }
    }

    // Written beside the seed file before the output file exists, and put in its place once
    // the output file is created, so that a run cut short can still be replayed while a run
    // that stops before writing leaves the seed file as it was.
    StagedFile seedFile;
    if (options.saveSeed) {
        if (const int32_t code = StageFile(*options.saveSeed, keptSeed, seedFile); code != 0) {
            if (why != nullptr) {
                *why = {Field::Options,
                        "cannot write seed file '" + *options.saveSeed + "': " +
                            (code == NotRegularFile ? std::string("it is not a regular file")
                                                    : SystemErrorText(code))};
            }
            return RunEnd::Refused;
        }
    }

    StatisticsRun statistics(options, args);
    if (statistics.Wanted()) {
        statistics.Start(options.wheel ? wheel.Written() : settings, lists,
                         drawsWithOptions ? &optionLines : nullptr);
    }

    const bool optionLinesRun =
        drawsWithOptions || statistics.Wanted() || (options.lineFeedOnly && argCount != 5);
    const PlainRunLines plainRun{.lineCount = settings.LineCount,
                                 .pickCount = settings.PickCount,
                                 .sortOutput = settings.SortOutput,
                                 .lineFeedOnly = options.lineFeedOnly,
                                 .roundsAhead = !options.asGiven.empty()};
    // A run without options keeps to one thread.
    RoundsAhead ahead;
    if (!options.wheel && !optionLinesRun && argCount == 5) {
        StartRoundsAhead(generator, lists, plainRun, ahead);
    }

    OutputTextFile output;
    CreateOutput(output, args[4], options.blockSize);
    if (const int32_t code = TakeIoError(); code != 0) {
        DiscardFile(seedFile);
        return Reject(why, Field::Output,
                      [&] { return "cannot create '" + args[4] + "': " + SystemErrorText(code); });
    }
    if (options.saveSeed) {
        if (const int32_t code = CommitFile(seedFile); code != 0) {
            CloseOutput(output);
            TakeIoError();
            if (why != nullptr) {
                *why = {Field::Options, "cannot write seed file '" + *options.saveSeed +
                                            "': " + SystemErrorText(code)};
            }
            return RunEnd::Refused;
        }
    }

    if (options.wheel) {
        wheel.Write(generator, output, statistics.Tally());
    } else if (optionLinesRun) {
        WriteOptionLines(generator, lists, settings, argCount, options,
                         drawsWithOptions ? &optionLines : nullptr, output, statistics.Tally());
    } else if (argCount == 5) {
        WritePlainRunLines(generator, lists, plainRun, ahead, output);
    } else {
        const FixedForm form = FormOf(argCount);
        for (int32_t line = 0; line < settings.LineCount; ++line) {
            const CombinationText text =
                DrawLine(generator, lists, form, settings.PickCount, settings.FixedMin,
                         settings.FixedMax, settings.SortOutput);
            WriteText(output, text.view());
            WriteLineEnd(output);
            CheckIo();
        }
    }
    CloseOutput(output);
    CheckIo();

    // The report files, once the output file is closed.
    if (statistics.Wanted()) {
        if (auto failed = statistics.Finish()) {
            if (why != nullptr) *why = {Field::Options, std::move(*failed)};
            return RunEnd::Refused;
        }
    }
    return RunEnd::Completed;
}

std::optional<Rejection> CheckArguments(std::span<const std::string> args, const Options& options) {
    Rejection why;
    RunSettings settings;
    FixedLineSummary fixedLine;
    if (CheckSettings(args, settings, fixedLine, &why) != RunEnd::Completed) return why;
    NumberLists lists;
    try {
        if (PrepareLists(args, settings, fixedLine, lists, &why) != RunEnd::Completed) return why;
    } catch (const Exception& e) {
        return Rejection{Field::FixedFile, e.Message};
    }
    if (options.wheel) {
        WheelRun wheel;
        if (auto wrong = wheel.Prepare(settings, lists, args.size(), options)) return wrong;
    } else if (options.ChangesDraws()) {
        OptionLines optionLines;
        if (auto wrong = optionLines.Prepare(RulesOf(settings, lists, args.size()), options, lists,
                                             settings.SortOutput, settings.LineCount, true)) {
            return Rejection{Field::Options, *wrong};
        }
    }
    return std::nullopt;
}

std::optional<std::array<uint8_t, SeedImageSize>> ReadSeedFile(const std::string& name,
                                                               std::string& error) {
    FileHandle handle = -1;
    if (const int32_t code = OpenFileForReading(name, handle); code != 0) {
        error = "cannot open seed file '" + name + "': " + SystemErrorText(code);
        return std::nullopt;
    }
    std::array<uint8_t, SeedImageSize> image{};
    std::size_t filled = 0;
    int32_t code = 0;
    while (filled < image.size()) {
        std::size_t got = 0;
        code = ReadFromFile(handle, reinterpret_cast<char*>(image.data()) + filled,
                            image.size() - filled, got);
        if (code != 0 || got == 0) break;
        filled += got;
    }
    CloseFile(handle);
    if (code != 0) {
        error = "cannot read seed file '" + name + "': " + SystemErrorText(code);
    } else if (filled < image.size()) {
        error = "seed file '" + name + "' holds " + std::to_string(filled) +
                " bytes; a seed file holds " + std::to_string(SeedImageSize);
    }
    if (!error.empty()) return std::nullopt;
    return image;
}

namespace {

int RunWithOptions(std::span<const std::string> args, Rejection& why) {
    const CommandLine commandLine = ParseCommandLine(args, why);
    std::string error = why.message;
    const Options& options = commandLine.options;
    std::optional<std::array<uint8_t, SeedImageSize>> seedImage;
    if (error.empty() && options.seedFile) {
        seedImage = ReadSeedFile(*options.seedFile, error);
        if (!error.empty()) why = {Field::Options, error, "--seed-file"};
    }
    if (!error.empty()) {
        WriteStandardError("combogen: " + OneLine(error) +
                           "\nTry 'combogen --help' for more information.\n");
        return 2;
    }
    if (options.help || options.version) {
        const int32_t code = WriteStandardOutput(options.help ? UsageText() : VersionText());
        if (code == 0) return 0;
        WriteStandardError("combogen: write error: " + SystemErrorText(code) + "\n");
        return 1;
    }
    if (options.checkDraw || options.checkDrawsFile || options.guarantee || options.prizes) {
        if (auto report = CheckLines(commandLine.positional, options, error)) {
            const int32_t code = WriteStandardOutput(*report);
            if (code == 0) return 0;
            WriteStandardError("combogen: write error: " + SystemErrorText(code) + "\n");
            return 1;
        }
        WriteStandardError("combogen: " + OneLine(error) + "\n");
        why = {Field::Options, error};
        return 2;
    }

    SeedSource seedSource = ReadSystemRandom;
    if (options.seedText) {
        seedSource = [text = *options.seedText](std::span<uint8_t> bytes) {
            for (std::size_t i = 0; i < bytes.size(); ++i) {
                bytes[i] = static_cast<uint8_t>(text[i % text.size()]);
            }
            return true;
        };
    } else if (seedImage) {
        seedSource = [image = *seedImage](std::span<uint8_t> bytes) {
            std::copy_n(image.begin(), std::min(bytes.size(), image.size()), bytes.begin());
            return true;
        };
    }

    const RunEnd end = RunCombogen(commandLine.positional, seedSource, options, &why);
    // A wheel run is new: it says why it stops rather than stopping silently.
    if (end == RunEnd::Refused || (end == RunEnd::Rejected && (options.explain || options.wheel))) {
        WriteStandardError("combogen: " + OneLine(why.message) + "\n");
        return 2;
    }
    return 0;
}

}  // namespace

int RunFromCommandLine(int argc, char* argv[]) { return RunFromCommandLine(argc, argv, nullptr); }

int RunFromCommandLine(int argc, char* argv[], Rejection* refusal) {
    PrepareProcess();
    try {
        const std::vector<std::string> args = CommandLineArguments(argc, argv);
        // Without options, the plain run, exactly.
        if (args.empty() || !IsOptionWord(args[0])) {
            RunCombogen(args, ReadSystemRandom);
            return 0;
        }
        Rejection why;
        const int status = RunWithOptions(args, why);
        if (refusal != nullptr && status == 2) *refusal = std::move(why);
        return status;
    } catch (...) {
        ReportFailure(std::current_exception(), argc > 0 ? argv[0] : "combogen");
    }
    return 0;
}

}  // namespace combogen
