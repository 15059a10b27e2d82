#include "cli/run.h"

#include <algorithm>
#include <array>
#include <optional>
#include <vector>

#include "ahead/plain_run_lines.h"
#include "cli/arguments.h"
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
#include "text/text_file.h"

namespace combogen {

namespace {

// A silent stop, with the reason when one is asked for; the text is only made then.
template <class Message>
RunEnd Reject(Rejection* why, Field field, Message message) {
    if (why != nullptr) *why = {field, message()};
    return RunEnd::Rejected;
}

// The fixed list and the pool (after seeding, in a run). False is a silent stop.
bool PrepareLists(const RunSettings& settings, const FixedLineSummary& fixedLine,
                  NumberLists& lists, Rejection* why) {
    if (settings.Form == FixedForm::None) {
        FillPool(lists.pool, settings.PoolSize);
        lists.PoolLength = settings.PoolSize;
        return true;
    }
    return PrepareFixedRun(fixedLine, settings, settings.Form == FixedForm::All, lists, why);
}

// The options' part of a run's preparation, once its lists are ready: a wheel's goal and rules,
// or the lines' filters and --unique (checkOnly: their rules alone, the lines unprepared).
std::optional<Rejection> PrepareOptions(const RunSettings& settings, const NumberLists& lists,
                                        const Options& options, WheelRun& wheel,
                                        OptionLines& optionLines, bool checkOnly) {
    if (options.wheel) return wheel.Prepare(settings, lists, options);
    if (!options.ChangesDraws()) return std::nullopt;
    return optionLines.Prepare(RulesOf(settings, lists), options, lists, settings.SortOutput,
                               settings.LineCount, checkOnly);
}

// The lines of a run: the same draws as the plain run unless an option changes them, then the
// chosen line end. Plain is a run without options, its loop kept free of their tests; the form
// is fixed for the loop, so that a line does not test it again.
template <bool Plain, FixedForm form>
[[gnu::noinline]] void WriteLinesOf(RandomGenerator& generator, NumberLists& lists,
                                    const RunSettings& settings, const Options& options,
                                    OptionLines* optionLines, OutputTextFile& output,
                                    LineTally* tally) {
    // Read once: the calls below cannot be seen to leave settings unchanged.
    const int32_t lineCount = settings.LineCount, pick = settings.PickCount;
    const int32_t fixedMin = settings.FixedMin, fixedMax = settings.FixedMax;
    const bool sorted = settings.SortOutput;
    LineText lineText;
    for (int32_t line = 0; line < lineCount; ++line) {
        // The line's numbers.
        if (!Plain && optionLines != nullptr) {
            optionLines->Next(generator, lists, lineText);
            WriteText(output, lineText.view());
        } else {
            const CombinationText text =
                DrawLine(generator, lists, form, pick, fixedMin, fixedMax, sorted);
            WriteText(output, text.view());
        }
        WriteLineEnd(output, !Plain && options.lineFeedOnly);
        CheckIo();

        // Whatever looks at each line written.
        if (!Plain && tally != nullptr) {
            if (optionLines != nullptr) {
                const BonusDraw& bonus = optionLines->Bonus();
                tally->Add(optionLines->Last().numbers.data(), pick, bonus.pool.data(),
                           bonus.count);
            } else {
                tally->Add(DrawnNumbers(lists, form), pick, nullptr, 0);
            }
        }
    }
}

template <bool Plain>
void WriteLines(RandomGenerator& generator, NumberLists& lists, const RunSettings& settings,
                const Options& options, OptionLines* optionLines, OutputTextFile& output,
                LineTally* tally) {
    switch (settings.Form) {
        case FixedForm::None:
            return WriteLinesOf<Plain, FixedForm::None>(generator, lists, settings, options,
                                                        optionLines, output, tally);
        case FixedForm::All:
            return WriteLinesOf<Plain, FixedForm::All>(generator, lists, settings, options,
                                                       optionLines, output, tally);
        case FixedForm::Some: break;
    }
    WriteLinesOf<Plain, FixedForm::Some>(generator, lists, settings, options, optionLines, output,
                                         tally);
}

}  // namespace

RunEnd RunCombogen(std::span<const std::string> args, const SeedSource& seedSource) {
    return RunCombogen(args, seedSource, Options{}, nullptr);
}

RunEnd RunCombogen(std::span<const std::string> args, const SeedSource& seedSource,
                   const Options& options, Rejection* why) {
    RunSettings settings;
    FixedLineSummary fixedLine;
    if (!ReadArguments(args, settings, fixedLine, why)) return RunEnd::Rejected;
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
    if (!PrepareLists(settings, fixedLine, lists, why)) return RunEnd::Rejected;

    // No file the run writes may be another file of the run under some other name: checked
    // before anything is written or removed. The output file over the fixed-number file is the
    // plain run's own silent stop.
    const std::vector<NamedFile> files = FilesOfRun(args, options);
    if (const auto clash = FindFileClash(files)) {
        // The output file first, the fixed-number file second.
        const bool plain = settings.Form != FixedForm::None && clash->written == &files[0] &&
                           clash->other == &files[1];
        if (why != nullptr) *why = {plain ? Field::Output : Field::Options, clash->Message()};
        return plain ? RunEnd::Rejected : RunEnd::Refused;
    }

    // Filters no line passes, or too few lines for --unique: refused before any file exists.
    // A wheel is found, and checked, before any file is written.
    OptionLines optionLines;
    const bool drawsWithOptions = options.ChangesDraws() && !options.wheel;
    WheelRun wheel;
    auto wrong = PrepareOptions(settings, lists, options, wheel, optionLines, false);
    if (!wrong && options.wheel) wrong = wheel.Find(generator);
    if (wrong) {
        if (why != nullptr) *why = std::move(*wrong);
        return RunEnd::Refused;
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

    const bool optionLinesRun = drawsWithOptions || statistics.Wanted() ||
                                (options.lineFeedOnly && settings.Form != FixedForm::None);
    const PlainRunLines plainRun{.lineCount = settings.LineCount,
                                 .pickCount = settings.PickCount,
                                 .sortOutput = settings.SortOutput,
                                 .lineFeedOnly = options.lineFeedOnly,
                                 .roundsAhead = !options.asGiven.empty()};
    // A run without options keeps to one thread.
    RoundsAhead ahead;
    const bool plainLines = !options.wheel && !optionLinesRun && settings.Form == FixedForm::None;
    if (plainLines) {
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
        WriteLines<false>(generator, lists, settings, options,
                          drawsWithOptions ? &optionLines : nullptr, output, statistics.Tally());
    } else if (plainLines) {
        WritePlainRunLines(generator, lists, plainRun, ahead, output);
    } else {
        WriteLines<true>(generator, lists, settings, options, nullptr, output, nullptr);
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
    if (!ReadArguments(args, settings, fixedLine, &why)) return why;
    NumberLists lists;
    try {
        if (!PrepareLists(settings, fixedLine, lists, &why)) return why;
    } catch (const Exception& e) {
        return Rejection{Field::FixedFile, e.Message};
    }
    WheelRun wheel;
    OptionLines optionLines;
    return PrepareOptions(settings, lists, options, wheel, optionLines, true);
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
