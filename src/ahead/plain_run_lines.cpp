#include "ahead/plain_run_lines.h"

#include <algorithm>

#include "platform/processors.h"

namespace combogen {

namespace {

// How many whole rounds the lines take after the outputs left in g's current round: each line
// takes PoolLength - 1 outputs.
int64_t RoundsToCome(const RandomGenerator& g, const NumberLists& lists, int32_t lineCount) {
    if (lists.PoolLength < 2) return 0;
    const int64_t outputs = int64_t{lineCount} * (lists.PoolLength - 1);
    const int64_t left = g.randcnt > 255 ? 0 : 256 - g.randcnt;
    return outputs <= left ? 0 : (outputs - left + 255) / 256;
}

}  // namespace

bool StartRoundsAhead(const RandomGenerator& g, const NumberLists& lists, const PlainRunLines& run,
                      RoundsAhead& ahead) {
    if (!run.roundsAhead || !RoundsAhead::Available()) return false;
    // One processor would only take turns between the two threads.
    const int busy = run.onlyWithFreeProcessor ? OtherRunnableThreads() : 0;
    if (UsableProcessorCount() - busy < 2) return false;
    const int64_t rounds = RoundsToCome(g, lists, run.lineCount);
    return rounds > 0 && rounds >= run.minRoundsAhead && ahead.Start(g, rounds);
}

void WritePlainRunLines(RandomGenerator& g, NumberLists& lists, const PlainRunLines& run,
                        OutputTextFile& output) {
    RoundsAhead ahead;
    StartRoundsAhead(g, lists, run, ahead);
    WritePlainRunLines(g, lists, run, ahead, output);
}

void WritePlainRunLines(RandomGenerator& g, NumberLists& lists, const PlainRunLines& run,
                        RoundsAhead& ahead, OutputTextFile& output) {
    PlainLines lines;
    lines.endLength = run.lineFeedOnly ? 1 : 2;
    const bool threaded = ahead.Started();
    for (int32_t line = 0; line < run.lineCount;) {
        // The thread's rounds are those this generator would run next, in the same order.
        if (threaded && g.randcnt > 255) {
            DrawPlainLinesFrom(ahead.Next(), lists, run.pickCount, run.sortOutput, lines);
        } else {
            DrawPlainLines(g, lists, run.pickCount, run.sortOutput, lines);
        }
        const int count = std::min(lines.count, run.lineCount - line);
        if (output.characterDevice) {
            for (int i = 0; i < count; ++i) {
                WriteText(output, lines.Line(i));
                WriteLineEnd(output, run.lineFeedOnly);
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
    if (threaded) ahead.Finish(g);
}

}  // namespace combogen
