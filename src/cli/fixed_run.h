// The fixed-number side of a six- or eight-argument run: reading the fixed-number line and
// turning it into the fixed list and the pool.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "cli/rejection.h"
#include "combination/draw.h"
#include "fixed/fixed_line.h"

namespace combogen {

struct RunSettings {
    int32_t LineCount = 0;
    int32_t PoolSize = 0;
    int32_t PickCount = 0;
    bool SortOutput = false;
    int32_t FixedMin = 0;
    int32_t FixedMax = 0;
    FixedForm Form = FixedForm::None;  // by the argument count: none, all or some fixed numbers
};

// The first non-empty line of the file; empty when there is none. Nothing when the file cannot
// be opened or read; then why, if given, says which.
std::optional<std::string> ReadFixedNumberLine(const std::string& name, Rejection* why = nullptr);

// The same line as a summary, read in constant memory however long the line is: what a run
// reads.
std::optional<FixedLineSummary> ScanFixedNumberFile(const std::string& name,
                                                    Rejection* why = nullptr);

// The fixed list and the pool, after seeding; allFixed for a six-argument run. False is a
// silent stop, and why, if given, says which rule was broken. A digit run too large to convert
// raises EConvertError.
bool PrepareFixedRun(const FixedLineSummary& fixedLine, const RunSettings& settings, bool allFixed,
                     NumberLists& lists, Rejection* why = nullptr);

// The same from the whole line.
bool PrepareFixedRun(const std::string& fixedLine, const RunSettings& settings, bool allFixed,
                     NumberLists& lists, Rejection* why = nullptr);

}  // namespace combogen
