#include "cli/wheel_run.h"

#include <gtest/gtest.h>

#include "cli/check.h"

namespace combogen {
namespace {

// What the page asks while the user types: the wheel's rules without a search.
TEST(WheelRunTest, TheChecksOfAWheelCommandLine) {
    struct Case {
        std::vector<std::string> args;
        const char* wrong;  // nullptr: the run would go ahead
    };
    const std::vector<Case> cases = {
        {{"--wheel", "2:3", "10", "10", "4", "1", "out.txt"}, nullptr},
        {{"--wheel", "2:5", "10", "10", "4", "1", "out.txt"}, "--wheel 2:5: M is more than PICK 4"},
        {{"--wheel", "2:3", "--numbers", "1,2,3", "10", "10", "4", "1", "out.txt"},
         "PICK 4 is more than the 3 numbers to wheel"},
        {{"--wheel", "3:3", "20", "7", "3", "1", "out.txt"},
         "no wheel of at most 20 lines gives 3 if 3 over 7 numbers: a lower bound is 35 "
         "(Schoenheim bound)"},
        {{"--check", "1 2", "lines.txt"}, nullptr},
        {{"--guarantee", "2:3", "a.txt", "b.txt"},
         "--guarantee takes one FILE of lines after its value"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.args[0] + " " + c.args[1]);
        const auto rejection = CheckCommandLine(c.args);
        if (c.wrong == nullptr) {
            EXPECT_FALSE(rejection) << rejection->message;
        } else {
            ASSERT_TRUE(rejection);
            EXPECT_EQ(rejection->message, c.wrong);
        }
    }
}

}  // namespace
}  // namespace combogen
