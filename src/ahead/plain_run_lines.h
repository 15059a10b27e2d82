// The lines of a run drawn the plain way (five arguments, no option that changes the draws),
// a generator round's lines at a time, written as they come.
#pragma once

#include <cstdint>

#include "ahead/rounds_ahead.h"
#include "combination/draw.h"
#include "text/text_file.h"

namespace combogen {

struct PlainRunLines {
    int32_t lineCount = 0;
    int pickCount = 0;
    bool sortOutput = false;
    bool lineFeedOnly = false;
    // May the rounds be computed on a second thread? Only with two processors or more, and where
    // it is worth a thread: at least minRoundsAhead rounds to come.
    bool roundsAhead = false;
    int64_t minRoundsAhead = 64;
    // Only with a processor free for the second thread at the start: on a busy machine two
    // threads that take turns for the processors are slower than one.
    bool onlyWithFreeProcessor = true;
};

// Starts computing the run's rounds on a second thread where run allows it and it is worth a
// thread; true when started. A run calls it before it creates its output file: emptying a large
// file that is written over takes milliseconds, which the rounds can use.
bool StartRoundsAhead(const RandomGenerator& g, const NumberLists& lists, const PlainRunLines& run,
                      RoundsAhead& ahead);

// Writes the lines to output and checks for a file error after each round's lines (after each
// line on a character device), so a failed block is raised before the next round is drawn. The
// same bytes, blocks and generator record whether or not the rounds are computed ahead: the
// generator may end ahead of the last line written, which nothing outside the run can see.
// `ahead` is the one StartRoundsAhead started for this g, lists and run, or one never started.
void WritePlainRunLines(RandomGenerator& g, NumberLists& lists, const PlainRunLines& run,
                        RoundsAhead& ahead, OutputTextFile& output);

// The same, the rounds started here.
void WritePlainRunLines(RandomGenerator& g, NumberLists& lists, const PlainRunLines& run,
                        OutputTextFile& output);

}  // namespace combogen
