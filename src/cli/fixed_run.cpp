#include "cli/fixed_run.h"

#include "combination/pool.h"
#include "fixed/fixed_line.h"
#include "platform/file_system.h"
#include "text/text_file.h"

namespace combogen {

namespace {

// False, with the reason when one is asked for; the text is only made then.
template <class Message>
bool Refuse(Rejection* why, Field field, Message message) {
    if (why != nullptr) *why = {field, message()};
    return false;
}

std::string Count(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

// Opens the file and hands each piece of its first non-empty line to take. False when the file
// cannot be opened or read.
template <class TakePiece>
bool ReadFirstLine(const std::string& name, Rejection* why, TakePiece take) {
    InputTextFile file;
    OpenInput(file, name);
    if (const int32_t code = TakeIoError(); code != 0) {
        return Refuse(why, Field::FixedFile, [&] {
            return "cannot open fixed-number file '" + name + "': " + SystemErrorText(code);
        });
    }
    bool empty = true;
    do {
        for (std::string_view piece; !(piece = ReadLinePiece(file)).empty(); empty = false) {
            take(piece);
        }
        SkipLine(file);
    } while (empty && !AtEndOfFile(file));
    CloseInput(file);
    // Taken here, before the output file exists, so that a rejected run never empties it.
    if (const int32_t code = TakeIoError(); code != 0) {
        return Refuse(why, Field::FixedFile, [&] {
            return "cannot read fixed-number file '" + name + "': " + SystemErrorText(code);
        });
    }
    return true;
}

}  // namespace

std::optional<std::string> ReadFixedNumberLine(const std::string& name, Rejection* why) {
    std::string line;
    if (!ReadFirstLine(name, why, [&](std::string_view piece) { line += piece; })) {
        return std::nullopt;
    }
    return line;
}

std::optional<FixedLineSummary> ScanFixedNumberFile(const std::string& name, Rejection* why) {
    FixedLineSummary line;
    if (!ReadFirstLine(name, why, [&](std::string_view piece) { ScanFixedLine(line, piece); })) {
        return std::nullopt;
    }
    EndFixedLine(line);
    return line;
}

bool PrepareFixedRun(const FixedLineSummary& fixedLine, const RunSettings& settings, bool allFixed,
                     NumberLists& lists, Rejection* why) {
    NumberList numbers{};
    const int64_t count = TakeNumbers(fixedLine, numbers);
    if (count > NumberCapacity) {
        return Refuse(why, Field::FixedFile, [&] {
            return "the fixed-number line lists " + std::to_string(count) + " numbers, more than " +
                   std::to_string(NumberCapacity);
        });
    }
    lists.FixedCount = RemoveDuplicates(numbers, static_cast<int>(count), lists.fixed);

    // These hold for an empty list too: nothing can be forced from it. FixedMin <= FixedMax,
    // so the maximum is the bound that matters.
    if (lists.FixedCount < settings.FixedMin || lists.FixedCount < settings.FixedMax) {
        return Refuse(why, Field::FixedMax, [&] {
            return "the fixed-number line lists " +
                   Count(lists.FixedCount, "distinct number", "distinct numbers") +
                   ", fewer than the fixed maximum " + std::to_string(settings.FixedMax);
        });
    }
    if (allFixed && lists.FixedCount >= settings.PickCount) {
        return Refuse(why, Field::FixedFile, [&] {
            return Count(lists.FixedCount, "fixed number leaves", "fixed numbers leave") +
                   " no room in a line of " + std::to_string(settings.PickCount) +
                   ": there must be fewer fixed numbers than the pick count";
        });
    }
    SortAscending(lists.fixed, lists.FixedCount);
    // At the full value: kept modulo 256, 300 would pass as 44. Past this check every number
    // is below 256, so the reduction changes none of them.
    if (const int32_t largest = LargestFixedValue(fixedLine); largest > settings.PoolSize) {
        return Refuse(why, Field::FixedFile, [&] {
            return "fixed number " + std::to_string(largest) + " is above the pool of " +
                   std::to_string(settings.PoolSize);
        });
    }
    // 0 could never be drawn and has no label.
    if (lists.FixedCount > 0 && lists.fixed[0] == 0) {
        return Refuse(why, Field::FixedFile,
                      [&] { return std::string("fixed number 0 can never be drawn"); });
    }

    lists.PoolLength = BuildPool(lists.pool, lists.fixed, lists.FixedCount, settings.PoolSize);
    // A line with the fewest fixed numbers must still fill up from the pool.
    if (!allFixed && settings.PickCount - settings.FixedMin > lists.PoolLength) {
        return Refuse(why, Field::FixedMin, [&] {
            return "the pool of " + std::to_string(settings.PoolSize) + " less " +
                   Count(lists.FixedCount, "fixed number", "fixed numbers") + " leaves " +
                   std::to_string(lists.PoolLength) + ", too few to fill a line of " +
                   std::to_string(settings.PickCount) + " holding only " +
                   std::to_string(settings.FixedMin) + " of them";
        });
    }
    return true;
}

bool PrepareFixedRun(const std::string& fixedLine, const RunSettings& settings, bool allFixed,
                     NumberLists& lists, Rejection* why) {
    FixedLineSummary summary;
    ScanFixedLine(summary, fixedLine);
    EndFixedLine(summary);
    return PrepareFixedRun(summary, settings, allFixed, lists, why);
}

}  // namespace combogen
