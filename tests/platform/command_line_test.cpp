#include "platform/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace combogen {
namespace {

using Arguments = std::vector<std::string>;

// Stands for a double-byte code page: 0x81 to 0x9F and 0xE0 to 0xFC open a pair.
bool FakeLeadByte(unsigned char byte) {
    return (byte >= 0x81 && byte <= 0x9F) || (byte >= 0xE0 && byte <= 0xFC);
}

TEST(CommandLineTest, SplittingTable) {
    const struct {
        std::string text;
        Arguments arguments;
        LeadBytePredicate isLeadByte = NoLeadBytes;
    } cases[] = {
        {"", {}},
        {"combogen.exe", {}},
        {"combogen.exe 1 6 6 1 out.txt", {"1", "6", "6", "1", "out.txt"}},
        {"\"C:\\Program Files\\combogen.exe\" 1 2", {"1", "2"}},
        {"  combogen \t\0011\0372\r\n3   ", {"1", "2", "3"}},  // octal \001 and \037
        // A pair of quotes before an argument is no argument.
        {"combogen \"\" 1 \"\"\"\" 2 \"\"", {"1", "2"}},
        {"combogen \"\"3", {"3"}},
        {"\"\" combogen 4", {"4"}},
        // Quoted and unquoted stretches join; blanks inside quotes are kept.
        {"combogen 2\"0\" \"my out\".txt \"a\"\"b\"", {"20", "my out.txt", "ab"}},
        {"combogen a\"\"b", {"ab"}},
        {"combogen \"1 6 6", {"1 6 6"}},
        {"combogen 1 \"", {"1"}},
        {"combogen \"\"\" x", {" x"}},
        // A backslash escapes nothing.
        {"combogen a\\\"b c\\\" \\\\\"d", {"a\\b c\\", "\\\\d"}},
        // Codes 127 to 255 are ordinary, and so is code 0.
        {"combogen \x7F\xA0\xFF x" + std::string(1, '\0') + "y",
         {"\x7F\xA0\xFF", std::string("x\0y", 3)}},
        // A lead byte keeps the byte after it, even a quote or a blank.
        {"combogen \x81\"x y \x82 z", {"\x81\"x", "y", "\x82 z"}, FakeLeadByte},
        {"combogen \"\x9F\"\" y", {"\x9F\"", "y"}, FakeLeadByte},
        {"combogen \x81", {"\x81"}, FakeLeadByte},
        // The same texts in a single-byte code page.
        {"combogen \x81\"x y \x82 z", {"\x81x y \x82 z"}},
        {"combogen \"\x9F\"\" y", {"\x9F y"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(SplitCommandLine(c.text, c.isLeadByte), c.arguments) << "text '" << c.text << "'";
    }
}

}  // namespace
}  // namespace combogen
