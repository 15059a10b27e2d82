#include "cli/fixed_run.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <string>
#include <vector>

#include "failure/failure.h"
#include "failure/report.h"
#include "test_support.h"
#include "text/text_file.h"

namespace combogen {
namespace {

// What a run takes from a fixed-number line: the count of digit runs, the stored numbers, or
// the conversion failure's report as the user sees it (cut, so a summary may keep less of a
// long run's text).
struct Outcome {
    int64_t count = 0;
    std::vector<int> stored;
    std::string report;
    bool operator==(const Outcome&) const = default;
};

Outcome Collect(const std::function<int64_t(NumberList&)>& parse) {
    Outcome outcome;
    NumberList numbers{};
    try {
        outcome.count = parse(numbers);
        outcome.stored.assign(numbers.begin(),
                              numbers.begin() + std::min<int64_t>(outcome.count, NumberCapacity));
    } catch (const EConvertError& e) {
        outcome.report = FormatReport(e.KindName(), "combogen", 0, e.Message);
    }
    return outcome;
}

// The whole first non-empty line held in memory, then cleaned and parsed.
Outcome WholeLine(const std::string& path) {
    InputTextFile file;
    OpenInput(file, path);
    std::string line;
    do {
        line = ReadLine(file);
        SkipLine(file);
    } while (line.empty() && !AtEndOfFile(file));
    CloseInput(file);
    return Collect(
        [&](NumberList& numbers) { return ParseNumbers(CleanFixedLine(line), numbers); });
}

TEST(FixedRunTest, StreamedLineGivesTheWholeLinesOutcome) {
    std::string eightyFive;
    for (int i = 1; i <= 85; ++i) eightyFive += std::to_string(i) + ",";
    const std::string blanks(126, ' ');
    const std::string contents[] = {
        "3, 17; 42",
        "\n\r\n\n61 33 27 9 3 3\nignored 1 2\n",
        "",
        "\r\n\n\r\n",
        "\x1A\n\x1A",
        "7\x1A"
        "8 9\n10",
        std::string("4\0005", 3),
        "none\n1 2 3",
        "07 7 007 263 14",
        blanks + "12\r\n34",               // the line end across two blocks
        blanks + "1234 5",                 // a number across two blocks
        std::string(127, 'x') + "4\r5 6",  // a dropped CR inside a number, at a block's end
        std::string(300, '0') + "7 9",     // leading zeros over several blocks
        "2147483647 000000000002147483647 0",
        "12 2147483648 99999999999",                   // the first failing run is reported
        "12 " + std::string(1100, '7'),                // cut in the report
        "1 " + std::string(2000, '0') + "2147483648",  // only zeros fit in the report
        std::string(5000, '9') + "\n1",
        eightyFive,
        eightyFive + std::string(40, '3'),  // a failure after the 80th run counts
    };
    const testing::TempFolder folder;
    const std::string path = folder.Path("fixed.txt");
    for (const std::string& content : contents) {
        SCOPED_TRACE("content '" + content.substr(0, 40) + "' of " +
                     std::to_string(content.size()) + " bytes");
        testing::WriteWholeFile(path, content);
        const auto summary = ScanFixedNumberFile(path);
        ASSERT_TRUE(summary);
        EXPECT_LE(summary->FailedText.size(), ReportCapacity);
        const Outcome streamed =
            Collect([&](NumberList& numbers) { return TakeNumbers(*summary, numbers); });
        EXPECT_EQ(streamed, WholeLine(path));
    }
}

}  // namespace
}  // namespace combogen
