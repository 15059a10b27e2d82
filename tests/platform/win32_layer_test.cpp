// The Windows layer: file error codes, sharing rules and devices, and the random source.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "failure/failure.h"
#include "platform/file_system.h"
#include "random/seeding.h"
#include "test_support.h"
#include "text/text_file.h"

namespace combogen {
namespace {

using testing::TempFolder;

TEST(FileWin32Test, InOutErrorMessagesByNumber) {
    const struct {
        int32_t code;
        const char* message;
    } cases[] = {
        {2, "File not found"},
        {3, "Invalid filename"},
        {4, "Too many open files"},
        {5, "File access denied"},
        {100, "Read beyond end of file"},
        {101, "Disk full"},
        {106, "Invalid numeric input"},
        {112, "I/O error 112"},
        {32, "I/O error 32"},
        {-1, "I/O error -1"},
    };
    for (const auto& c : cases) EXPECT_EQ(InOutErrorMessage(c.code), c.message) << c.code;
}

TEST(FileWin32Test, OpenFailuresCarryTheSystemCode) {
    TempFolder folder;
    InputTextFile in;
    OpenInput(in, folder.Path("missing.txt"));
    EXPECT_EQ(TakeIoError(), ERROR_FILE_NOT_FOUND);
    OpenInput(in, folder.Path("missing\\in.txt"));
    EXPECT_EQ(TakeIoError(), ERROR_PATH_NOT_FOUND);
    OpenInput(in, folder.Path(""));  // a folder
    EXPECT_EQ(TakeIoError(), ERROR_ACCESS_DENIED);
    OutputTextFile out;
    CreateOutput(out, folder.Path("missing\\out.txt"));
    EXPECT_EQ(TakeIoError(), ERROR_PATH_NOT_FOUND);
}

// Whether another party, itself sharing everything, can open path with access meanwhile.
bool OthersCanOpen(const std::string& path, DWORD access) {
    const HANDLE handle =
        CreateFileA(path.c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return false;
    CloseHandle(handle);
    return true;
}

TEST(FileWin32Test, OthersMayReadButNotWrite) {
    TempFolder folder;
    const std::string path = folder.Path("shared.txt");
    OutputTextFile out;
    CreateOutput(out, path);
    ASSERT_EQ(TakeIoError(), 0);
    EXPECT_FALSE(out.characterDevice);
    EXPECT_TRUE(OthersCanOpen(path, GENERIC_READ));
    EXPECT_FALSE(OthersCanOpen(path, GENERIC_WRITE));
    CloseOutput(out);
    ASSERT_EQ(TakeIoError(), 0);

    InputTextFile in;
    OpenInput(in, path);
    ASSERT_EQ(TakeIoError(), 0);
    EXPECT_TRUE(OthersCanOpen(path, GENERIC_READ));
    EXPECT_FALSE(OthersCanOpen(path, GENERIC_WRITE));
    CloseInput(in);
    EXPECT_EQ(TakeIoError(), 0);
}

TEST(FileWin32Test, NulIsACharacterDevice) {
    OutputTextFile out;
    CreateOutput(out, "NUL");
    ASSERT_EQ(TakeIoError(), 0);
    EXPECT_TRUE(out.characterDevice);
    WriteText(out, "01 02");
    WriteLineEnd(out);
    EXPECT_EQ(out.used, 0u);
    CloseOutput(out);
    EXPECT_EQ(TakeIoError(), 0);
}

TEST(FileWin32Test, BrokenPipeReadsAsTheEndOfTheFile) {
    HANDLE reading = nullptr;
    HANDLE writing = nullptr;
    ASSERT_TRUE(CreatePipe(&reading, &writing, nullptr, 0));
    DWORD written = 0;
    ASSERT_TRUE(WriteFile(writing, "7\n", 2, &written, nullptr));
    CloseHandle(writing);
    InputTextFile in;
    in.handle = reinterpret_cast<FileHandle>(reading);
    EXPECT_EQ(ReadLine(in), "7");
    SkipLine(in);
    EXPECT_TRUE(AtEndOfFile(in));
    CloseInput(in);
    EXPECT_EQ(TakeIoError(), 0);
}

TEST(FileWin32Test, SameRegularFileByVolumeAndIndex) {
    TempFolder folder;
    const std::string path = folder.Path("fixed.txt");
    testing::WriteWholeFile(path, "7 12");
    testing::WriteWholeFile(folder.Path("other.txt"), "7 12");
    ASSERT_TRUE(CreateHardLinkA(folder.Path("link.txt").c_str(), path.c_str(), nullptr));
    std::string upper = path;
    std::transform(upper.begin(), upper.end(), upper.begin(), ::toupper);
    EXPECT_TRUE(SameRegularFile(path, path));
    EXPECT_TRUE(SameRegularFile(upper, path));
    EXPECT_TRUE(SameRegularFile(folder.Path("link.txt"), path));
    EXPECT_FALSE(SameRegularFile(folder.Path("other.txt"), path));
    EXPECT_FALSE(SameRegularFile(folder.Path("missing.txt"), path));
    EXPECT_FALSE(SameRegularFile("NUL", "NUL"));
    // The fixed-number file open for reading, as it is while the run reads it.
    InputTextFile in;
    OpenInput(in, path);
    ASSERT_EQ(TakeIoError(), 0);
    EXPECT_TRUE(SameRegularFile(folder.Path("link.txt"), path));
    CloseInput(in);
    EXPECT_EQ(TakeIoError(), 0);
}

TEST(SystemRandomWin32Test, FillsTheSeedImage) {
    std::vector<uint8_t> bytes(SeedImageSize);
    ASSERT_TRUE(ReadSystemRandom(bytes));
    EXPECT_NE(std::count(bytes.begin(), bytes.end(), 0), static_cast<long>(bytes.size()));
}

}  // namespace
}  // namespace combogen
