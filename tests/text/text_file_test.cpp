#include "text/text_file.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "failure/failure.h"
#include "test_support.h"

namespace combogen {
namespace {

using testing::TempFolder;

// Every line of the file as the reader returns it, a ReadLine and a SkipLine at a time.
std::vector<std::string> ReadAllLines(const std::string& bytes) {
    TempFolder folder;
    const std::string path = folder.Path("in.txt");
    testing::WriteWholeFile(path, bytes);
    InputTextFile file;
    OpenInput(file, path);
    EXPECT_EQ(TakeIoError(), 0);
    std::vector<std::string> lines;
    while (!AtEndOfFile(file)) {
        lines.push_back(ReadLine(file));
        SkipLine(file);
    }
    CloseInput(file);
    EXPECT_EQ(TakeIoError(), 0);
    return lines;
}

TEST(TextFileTest, LineRules) {
    using Lines = std::vector<std::string>;
    const std::string filler(126, 'a');
    const struct {
        std::string bytes;
        Lines lines;
    } cases[] = {
        {"1 2\n3\r\n4", {"1 2", "3", "4"}},
        {"\n\r\n5\n", {"", "", "5"}},
        {"1\r2\r\n", {"12"}},  // a lone CR is dropped
        {"1\r", {"1"}},
        {"7\0328 9\n10\n", {"7", "10"}},  // the rest after 0x1A (octal 032) is skipped
        {"\x1A\n6", {"", "6"}},
        {std::string("a\0b\tc\n", 6), {std::string("a\0b\tc", 5)}},
        {"   \n", {"   "}},
        {filler + "\r\nx", {filler, "x"}},          // CR ends one block, LF opens the next
        {filler + "b\r" + "c\n", {filler + "bc"}},  // a lone CR at a block's end
        {std::string(300, '5') + "\n6", {std::string(300, '5'), "6"}},
        {filler + "\r\r\n", {filler}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(ReadAllLines(c.bytes), c.lines) << "bytes of size " << c.bytes.size();
    }
}

// errno values, and a folder that opens; Windows has its own in the file layer's tests.
#ifndef _WIN32
TEST(TextFileTest, OpenFailuresArePendingNotRaised) {
    InputTextFile in;
    OpenInput(in, "/nonexistent-folder/x");
    EXPECT_EQ(TakeIoError(), ENOENT);
    EXPECT_EQ(TakeIoError(), 0);

    OutputTextFile out;
    CreateOutput(out, "/nonexistent-folder/y");
    EXPECT_EQ(PendingIoError, ENOENT);
    PendingIoError = EIO;  // a later failure replaces an earlier one
    try {
        CheckIo();
        ADD_FAILURE() << "CheckIo raised nothing";
    } catch (const EInOutError& e) {
        EXPECT_EQ(e.Code, EIO);
        EXPECT_EQ(PendingIoError, 0);
    }
}

TEST(TextFileTest, ReadErrorEndsTheLineAndStaysPending) {
    TempFolder folder;
    InputTextFile file;
    OpenInput(file, folder.Path(""));  // a folder opens, but cannot be read
    ASSERT_EQ(TakeIoError(), 0);
    EXPECT_EQ(ReadLine(file), "");
    EXPECT_TRUE(AtEndOfFile(file));
    CloseInput(file);
    EXPECT_EQ(TakeIoError(), EISDIR);
}
#endif

TEST(TextFileTest, OutputGoesOutInWholeBlocks) {
    TempFolder folder;
    const std::string path = folder.Path("out.txt");
    OutputTextFile file;
    CreateOutput(file, path);
    ASSERT_EQ(TakeIoError(), 0);
    EXPECT_FALSE(file.characterDevice);
    const std::string line(60, 'x');
    WriteText(file, line);
    WriteLineEnd(file);
    EXPECT_EQ(testing::ReadWholeFile(path).size(), 0u);
    WriteText(file, line);
    WriteLineEnd(file);
    WriteText(file, line);
    EXPECT_EQ(testing::ReadWholeFile(path).size(), 128u);
    CloseOutput(file);
    EXPECT_EQ(TakeIoError(), 0);
    EXPECT_EQ(testing::ReadWholeFile(path), line + "\r\n" + line + "\r\n" + line);
}

#ifndef _WIN32
TEST(TextFileTest, CharacterDeviceGetsEachLineAtItsEnd) {
    OutputTextFile file;
    CreateOutput(file, "/dev/full");
    ASSERT_EQ(TakeIoError(), 0);
    EXPECT_TRUE(file.characterDevice);
    WriteText(file, "01 02");
    EXPECT_EQ(PendingIoError, 0);
    WriteLineEnd(file);
    EXPECT_EQ(TakeIoError(), ENOSPC);
    CloseOutput(file);
    EXPECT_EQ(TakeIoError(), 0);
}
#endif

}  // namespace
}  // namespace combogen
