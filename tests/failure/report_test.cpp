#include "failure/report.h"

#include <gtest/gtest.h>

#include <cerrno>

#include "failure/failure.h"
#include "platform/file_system.h"

namespace combogen {
namespace {

TEST(ReportTest, Layout) {
    EXPECT_EQ(FormatReport("EConvertError", "combogen", 0x1A2B,
                           "'2147483648' is not a valid integer value"),
              "Exception EConvertError in module combogen at 00001A2B.\r\n"
              "'2147483648' is not a valid integer value.\r\n");
    // No second full stop, and none after an empty message.
    EXPECT_EQ(FormatReport("Exception", "x", 0xABCDEF01, "Done."),
              "Exception Exception in module x at ABCDEF01.\r\nDone.\r\n");
    EXPECT_EQ(FormatReport("Exception", "x", 0, ""),
              "Exception Exception in module x at 00000000.\r\n\r\n");
}

TEST(ReportTest, CutAfter1024Characters) {
    const std::string report = FormatReport("EConvertError", "combogen", 0, std::string(1100, '9'));
    ASSERT_EQ(report.size(), 1024u);
    EXPECT_EQ(report.back(), '9');
}

// errno values; the Windows table is tested with the Windows file layer.
#ifndef _WIN32
TEST(ReportTest, InOutErrorMessages) {
    const struct {
        int32_t code;
        const char* message;
    } cases[] = {
        {ENOENT, "File not found"},      {ENAMETOOLONG, "Invalid filename"},
        {EMFILE, "Too many open files"}, {ENFILE, "Too many open files"},
        {EACCES, "File access denied"},  {EPERM, "File access denied"},
        {EROFS, "File access denied"},   {ENOSPC, "Disk full"},
        {EDQUOT, "Disk full"},           {EIO, "I/O error 5"},
        {EFBIG, "I/O error 27"},         {-3, "I/O error -3"},
    };
    for (const auto& c : cases) {
        const EInOutError failure(c.code, nullptr);
        EXPECT_EQ(failure.Message, c.message) << "code " << c.code;
        EXPECT_EQ(failure.Code, c.code);
        EXPECT_EQ(failure.KindName(), "EInOutError");
    }
}
#endif

}  // namespace
}  // namespace combogen
