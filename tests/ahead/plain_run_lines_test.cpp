#include "ahead/plain_run_lines.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <tuple>

#ifndef _WIN32
#include <signal.h>
#include <sys/resource.h>
#endif

#include "combination/pool.h"
#include "failure/failure.h"
#include "test_support.h"

namespace combogen {
namespace {

using testing::ReadWholeFile;
using testing::TempFolder;
using testing::ZeroSeededGenerator;

struct Written {
    std::string bytes;
    bool failed = false;
    RandomGenerator g;
    NumberLists lists;
};

// The run's lines to a file, the rounds computed ahead or not; the file may take at most
// `limit` bytes (0: no limit), beyond which a write fails.
Written Write(const TempFolder& folder, PlainRunLines run, int pool, uint16_t start,
              std::size_t blockSize, [[maybe_unused]] std::size_t limit) {
    Written w;
    w.g = ZeroSeededGenerator();
    w.g.randcnt = start;
    FillPool(w.lists.pool, pool);
    w.lists.PoolLength = pool;
    const std::string path = folder.Path(run.roundsAhead ? "ahead.txt" : "plain.txt");
    OutputTextFile output;
    CreateOutput(output, path, blockSize);
    EXPECT_EQ(TakeIoError(), 0);
#ifndef _WIN32
    rlimit old{};
    getrlimit(RLIMIT_FSIZE, &old);
    if (limit != 0) {
        signal(SIGXFSZ, SIG_IGN);
        rlimit lowered = old;
        lowered.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &lowered);
    }
#endif
    try {
        WritePlainRunLines(w.g, w.lists, run, output);
        CloseOutput(output);
        CheckIo();
    } catch (const Exception&) {
        w.failed = true;
    }
#ifndef _WIN32
    setrlimit(RLIMIT_FSIZE, &old);
#endif
    w.bytes = ReadWholeFile(path);
    return w;
}

TEST(PlainRunLinesTest, RoundsAheadGiveThePlainBytes) {
    // Line counts that end inside a round and inside the thread's batches of rounds, past a
    // whole turn of its ring; block sizes; line feeds alone; a write refused at a chosen block.
    const struct {
        int pool, pick;
        bool sorted, lineFeedOnly;
        int32_t lines;
        uint16_t start;
        std::size_t blockSize, limit;
    } cases[] = {
        {49, 6, true, false, 1000, 64, 128, 0},
        {49, 6, true, false, 54321, 64, 65536, 0},
        {49, 6, false, true, 30001, 256, 4096, 0},
        {80, 20, false, false, 7777, 10, 1000, 0},
        {2, 1, true, false, 300000, 64, 128, 0},
        {80, 80, true, true, 3001, 255, 1 << 20, 0},
        {49, 6, true, false, 100000, 64, 4096, 4096 * 37},
        {49, 6, true, false, 100000, 64, 128, 128 * 9001},
    };
    for (const auto& c : cases) {
#ifdef _WIN32
        if (c.limit != 0) continue;
#endif
        TempFolder folder;
        PlainRunLines run{.lineCount = c.lines,
                          .pickCount = c.pick,
                          .sortOutput = c.sorted,
                          .lineFeedOnly = c.lineFeedOnly,
                          .roundsAhead = false,
                          .minRoundsAhead = 1,
                          .onlyWithFreeProcessor = false};
        const Written plain = Write(folder, run, c.pool, c.start, c.blockSize, c.limit);
        run.roundsAhead = true;
        const Written ahead = Write(folder, run, c.pool, c.start, c.blockSize, c.limit);
        const std::string what = std::to_string(c.pick) + " of " + std::to_string(c.pool) + ", " +
                                 std::to_string(c.lines) + " lines";
        EXPECT_EQ(plain.failed, c.limit != 0) << what;
        EXPECT_EQ(ahead.failed, plain.failed) << what;
        const std::size_t size = c.limit != 0 ? c.limit
                                              : static_cast<std::size_t>(c.lines) *
                                                    (3 * c.pick - 1 + (c.lineFeedOnly ? 1 : 2));
        EXPECT_EQ(plain.bytes.size(), size) << what;
        EXPECT_TRUE(ahead.bytes == plain.bytes) << what;
        if (c.limit != 0) continue;
        EXPECT_EQ(ahead.lists.pool, plain.lists.pool) << what;
        EXPECT_EQ(std::memcmp(&ahead.g, &plain.g, sizeof ahead.g), 0) << what;
    }
}

}  // namespace
}  // namespace combogen
