// Whole runs through the library, from the zero seed, compared byte for byte.
#include "cli/run.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "failure/failure.h"
#include "test_support.h"

namespace combogen {
namespace {

using testing::CrLfLines;
using testing::ReadWholeFile;
using testing::WriteWholeFile;
using testing::ZeroSeed;

class RunTest : public ::testing::Test {
protected:
    // Runs with the arguments; "OUT" and "FIXED" stand for files in the test's folder.
    RunEnd Run(std::vector<std::string> args) {
        for (auto& arg : args) {
            if (arg == "OUT") arg = out;
            if (arg == "FIXED") arg = fixed;
        }
        return RunCombogen(args, ZeroSeed);
    }
    std::string Output() const { return ReadWholeFile(out); }

    testing::TempFolder folder;
    const std::string out = folder.Path("out.txt");
    const std::string fixed = folder.Path("fixed.txt");
};

TEST_F(RunTest, FiveArgumentRunsFromTheZeroSeed) {
    EXPECT_EQ(Run({"3", "49", "6", "1", "OUT"}), RunEnd::Completed);
    EXPECT_EQ(Output(), CrLfLines({"05 16 17 18 25 28", "06 09 26 36 40 44", "05 08 16 20 37 48"}));

    EXPECT_EQ(Run({"2", "10", "10", "0", "OUT"}), RunEnd::Completed);
    EXPECT_EQ(Output(),
              CrLfLines({"10 04 07 03 09 02 01 08 06 05", "04 01 05 07 02 03 06 10 08 09"}));

    EXPECT_EQ(Run({"1", "6", "6", "1", "OUT"}), RunEnd::Completed);
    EXPECT_EQ(Output(), "01 02 03 04 05 06\r\n");

    EXPECT_EQ(Run({"2", "$50", "x6", "+1", "OUT"}), RunEnd::Completed);
    EXPECT_EQ(Output().size(), 2 * 19u);
}

TEST_F(RunTest, EightyOfEightySortedFillsManyBlocks) {
    EXPECT_EQ(Run({"5", "80", "80", "1", "OUT"}), RunEnd::Completed);
    std::string line;
    for (int v = 1; v <= 80; ++v) {
        if (v > 1) line += ' ';
        if (v < 10) line += '0';
        line += std::to_string(v);
    }
    EXPECT_EQ(Output(), CrLfLines({line, line, line, line, line}));
}

TEST_F(RunTest, FixedNumberRunsFromTheZeroSeed) {
    WriteWholeFile(fixed, "7, 23; 45\r\n");
    EXPECT_EQ(Run({"1", "80", "20", "1", "OUT", "FIXED"}), RunEnd::Completed);
    EXPECT_EQ(Output(), CrLfLines({"05 06 07 13 15 16 19 23 24 26 30 33 41 43 45 54 55 64 70 73"}));

    WriteWholeFile(fixed, "\n\n61 33 27 9 3 3\nignored 1 2\n");
    EXPECT_EQ(Run({"1", "80", "20", "1", "OUT", "FIXED", "1", "3"}), RunEnd::Completed);
    EXPECT_EQ(Output(), CrLfLines({"03 06 07 13 15 16 19 22 25 27 28 31 33 34 44 53 54 59 63 70"}));
}

TEST_F(RunTest, FixedFileWithoutNumbersMeansNoFixedNumbers) {
    // Every line is drawn from the whole pool; only the first line matches a five-argument
    // run, since there the sort reorders the pool itself.
    std::string expected;
    for (const std::string content : {"none\n1 2 3", "", "\r\n\n\r\n", "\x1A", "\t"}) {
        WriteWholeFile(fixed, content);
        EXPECT_EQ(Run({"3", "49", "6", "1", "OUT", "FIXED"}), RunEnd::Completed);
        if (expected.empty()) expected = Output();
        EXPECT_EQ(Output(), expected) << "content '" << content << "'";
    }
    EXPECT_TRUE(expected.starts_with("05 16 17 18 25 28\r\n"));
    WriteWholeFile(fixed, "");
    EXPECT_EQ(Run({"1", "49", "6", "1", "OUT", "FIXED", "0", "0"}), RunEnd::Completed);
    EXPECT_EQ(Run({"1", "49", "6", "1", "OUT", "FIXED", "0", "1"}), RunEnd::Rejected);
}

TEST_F(RunTest, RejectionsCreateNoFileAndLeaveAnExistingOneAlone) {
    const std::string many = [] {
        std::string line;
        for (int i = 1; i <= 81; ++i) line += std::to_string(i % 40 + 1) + " ";
        return line;
    }();
    const struct {
        std::vector<std::string> args;
        std::string fixedLine;
    } cases[] = {
        {{}, ""},
        {{"1", "49", "6", "1"}, ""},
        {{"0", "49", "6", "1", "OUT"}, ""},
        {{"-1", "49", "6", "1", "OUT"}, ""},
        {{"5", "81", "6", "1", "OUT"}, ""},
        {{"5", "0", "6", "1", "OUT"}, ""},
        {{"5", "49", "50", "1", "OUT"}, ""},
        {{"5", "49", "0", "1", "OUT"}, ""},
        {{"5", "49", "6", "2", "OUT"}, ""},
        {{"5", "49", "6", "1x", "OUT"}, ""},
        {{"5 ", "49", "6", "1", "OUT"}, ""},
        {{"5", "49", "6", "1", "OUT", "FIXED", "1"}, "1 2"},
        {{"5", "49", "6", "1", "OUT", "FIXED", "1", "2", "3"}, "1 2"},
        {{"5", "49", "6", "1", "OUT", "missing.txt"}, ""},
        // Six arguments: as many fixed numbers as the pick count, or one above the pool.
        {{"5", "49", "3", "1", "OUT", "FIXED"}, "1 2 3"},
        {{"5", "49", "6", "1", "OUT", "FIXED"}, "1 50"},
        // Zero, or a multiple of 256, could never be drawn.
        {{"5", "49", "6", "1", "OUT", "FIXED"}, "0 5"},
        {{"5", "49", "6", "1", "OUT", "FIXED"}, "5 256"},
        // More than 80 numbers, repeats counted.
        {{"5", "49", "6", "1", "OUT", "FIXED"}, many},
        // Eight arguments: the bounds against each other, the pick count and the list.
        {{"5", "49", "6", "1", "OUT", "FIXED", "2", "1"}, "1 2 3"},
        {{"5", "49", "6", "1", "OUT", "FIXED", "1", "6"}, "1 2 3 4 5 6 7"},
        {{"5", "49", "6", "1", "OUT", "FIXED", "6", "6"}, "1 2 3 4 5 6 7"},
        {{"5", "49", "6", "1", "OUT", "FIXED", "1", "4"}, "1 2 3"},
        {{"5", "49", "6", "1", "OUT", "FIXED", "-1", "2"}, "1 2 3"},
        {{"5", "49", "6", "1", "OUT", "FIXED", "x", "2"}, "1 2 3"},
        // The pool cannot fill a line with the fewest fixed numbers: 10 - 0 > 12 - 3.
        {{"5", "12", "10", "1", "OUT", "FIXED", "0", "3"}, "1 2 3"},
    };
    for (const auto& c : cases) {
        std::string shown;
        for (const auto& arg : c.args) shown += "'" + arg + "' ";
        SCOPED_TRACE("args " + shown + "fixed '" + c.fixedLine + "'");
        WriteWholeFile(fixed, c.fixedLine);
        std::filesystem::remove(out);
        EXPECT_EQ(Run(c.args), RunEnd::Rejected);
        EXPECT_FALSE(std::filesystem::exists(out));
        WriteWholeFile(out, "kept");
        EXPECT_EQ(Run(c.args), RunEnd::Rejected);
        EXPECT_EQ(Output(), "kept");
    }
}

TEST_F(RunTest, BoundaryRunsThatPass) {
    // The pool just suffices: 10 - 1 <= 12 - 3.
    WriteWholeFile(fixed, "1 2 3");
    EXPECT_EQ(Run({"50", "12", "10", "1", "OUT", "FIXED", "1", "3"}), RunEnd::Completed);
    EXPECT_EQ(Output().size(), 50 * 31u);
    // 80 numbers exactly, repeats counted.
    std::string line;
    for (int i = 0; i < 80; ++i) line += "5 ";
    WriteWholeFile(fixed, line);
    EXPECT_EQ(Run({"1", "49", "6", "1", "OUT", "FIXED"}), RunEnd::Completed);
}

TEST_F(RunTest, UnreadableFixedFileStopsBeforeTheOutputIsTouched) {
    WriteWholeFile(out, "kept");
    EXPECT_EQ(Run({"1", "49", "6", "1", "OUT", folder.Path("")}), RunEnd::Rejected);
    EXPECT_EQ(Output(), "kept");
}

TEST_F(RunTest, OutputThatCannotBeCreatedIsASilentStop) {
    const std::string noFolder = folder.Path("no/such/folder.txt");
    EXPECT_EQ(RunCombogen({{"1", "49", "6", "1", noFolder}}, ZeroSeed), RunEnd::Rejected);
    const std::string longName = folder.Path(std::string(300, 'n'));
    EXPECT_EQ(RunCombogen({{"1", "49", "6", "1", longName}}, ZeroSeed), RunEnd::Rejected);
}

TEST_F(RunTest, FailingRandomSourceIsASilentStop) {
    const std::vector<std::string> args = {"1", "49", "6", "1", out};
    EXPECT_EQ(RunCombogen(args, [](std::span<uint8_t>) { return false; }), RunEnd::Rejected);
    EXPECT_FALSE(std::filesystem::exists(out));
}

TEST_F(RunTest, TooLargeAFixedNumberRaisesBeforeTheOutputIsTouched) {
    WriteWholeFile(fixed, "12 2147483648");
    WriteWholeFile(out, "kept");
    try {
        Run({"1", "49", "6", "1", "OUT", "FIXED"});
        ADD_FAILURE() << "no failure raised";
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message, "'2147483648' is not a valid integer value");
    }
    EXPECT_EQ(Output(), "kept");
}

// /dev/full has no counterpart on Windows.
#ifndef _WIN32
TEST_F(RunTest, FailedWriteRaisesInOutError) {
    try {
        RunCombogen({{"3", "49", "6", "1", "/dev/full"}}, ZeroSeed);
        ADD_FAILURE() << "no failure raised";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Code, ENOSPC);
        EXPECT_EQ(e.Message, "Disk full");
    }
}
#endif

}  // namespace
}  // namespace combogen
