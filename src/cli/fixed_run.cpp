#include "cli/fixed_run.h"

#include "combination/pool.h"
#include "text/text_file.h"

namespace combogen {

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

bool PrepareFixedRun(const FixedLineSummary& fixedLine, const RunSettings& settings, bool allFixed,
                     NumberLists& lists) {
    NumberList numbers{};
    const int count = TakeNumbers(fixedLine, numbers);
    if (count > NumberCapacity) return false;
    lists.FixedCount = RemoveDuplicates(numbers, count, lists.fixed);

    // These hold for an empty list too: nothing can be forced from it.
    if (lists.FixedCount < settings.FixedMin || lists.FixedCount < settings.FixedMax) {
        return false;
    }
    if (allFixed && lists.FixedCount >= settings.PickCount) return false;
    SortAscending(lists.fixed, lists.FixedCount);
    // The full value: kept modulo 256, 300 would pass as 44. Past this check every number is
    // below 256, so the reduction changes none of them.
    if (LargestFixedValue(fixedLine) > settings.PoolSize) return false;
    // 0 could never be drawn and has no label.
    if (lists.FixedCount > 0 && lists.fixed[0] == 0) return false;

    lists.PoolLength = BuildPool(lists.pool, lists.fixed, lists.FixedCount, settings.PoolSize);
    // A line with the fewest fixed numbers must still fill up from the pool.
    return allFixed || settings.PickCount - settings.FixedMin <= lists.PoolLength;
}

bool PrepareFixedRun(const std::string& fixedLine, const RunSettings& settings, bool allFixed,
                     NumberLists& lists) {
    FixedLineSummary summary;
    ScanFixedLine(summary, fixedLine);
    EndFixedLine(summary);
    return PrepareFixedRun(summary, settings, allFixed, lists);
}

}  // namespace combogen
