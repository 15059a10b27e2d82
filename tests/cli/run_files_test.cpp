// The files of a run against each other: by identity for existing names, by folder and final
// name for names not there yet; a clash only when one of the two is written.
#include "cli/run_files.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "test_support.h"

namespace combogen {
namespace {

TEST(RunFilesTest, ClashesByIdentity) {
    testing::TempFolder folder;
    const std::string out = folder.Path("out.txt");
    const std::string fixed = folder.Path("fixed.txt");
    testing::WriteWholeFile(out, "kept");
    testing::WriteWholeFile(fixed, "3 5");
    // Wine has no symbolic links: the rows that need one are left out there.
    std::error_code noLinks;
    std::filesystem::create_symlink(out, folder.Path("link.txt"), noLinks);
    if (!noLinks) std::filesystem::create_symlink(folder.Path("new.txt"), folder.Path("dangling"));
    std::filesystem::create_hard_link(fixed, folder.Path("hard.txt"));
    std::filesystem::create_directory(folder.Path("sub"));
    const struct {
        std::vector<NamedFile> files;
        std::string clash;  // empty: none
    } cases[] = {
        {{{out, "the output file", true}, {folder.Path("link.txt"), "the seed file", true}},
         "the seed file '" + folder.Path("link.txt") + "' is the output file '" + out + "'"},
        {{{out, "the output file", true}, {folder.Path("hard.txt"), "the fixed file", false}}, ""},
        {{{folder.Path("hard.txt"), "the fixed file", false}, {fixed, "the stats", true}},
         "the stats '" + fixed + "' is the fixed file '" + folder.Path("hard.txt") + "'"},
        {{{fixed, "the a", false}, {folder.Path("hard.txt"), "the b", false}}, ""},  // only read
        {{{folder.Path("new.txt"), "the a", true}, {folder.Path("sub/../new.txt"), "the b", true}},
         "the b '" + folder.Path("sub/../new.txt") + "' is the a '" + folder.Path("new.txt") + "'"},
        {{{folder.Path("dangling"), "the a", true}, {folder.Path("new.txt"), "the b", true}},
         "the b '" + folder.Path("new.txt") + "' is the a '" + folder.Path("dangling") + "'"},
        {{{folder.Path("new.txt"), "the a", true}, {folder.Path("sub/new.txt"), "the b", true}},
         ""},
        {{{folder.Path("missing/x"), "the a", true}, {folder.Path("missing/x"), "the b", true}},
         ""},
        {{{"/dev/null", "the a", true}, {"/dev/null", "the b", true}}, ""},
    };
    for (const auto& c : cases) {
        const bool needsLink = c.files[0].name == folder.Path("dangling") ||
                               c.files[1].name == folder.Path("link.txt");
        if (noLinks && needsLink) continue;
#ifdef _WIN32
        if (c.files[0].name == "/dev/null") continue;  // a device only on POSIX systems
#endif
        const auto clash = FindFileClash(c.files);
        EXPECT_EQ(clash ? clash->Message() : "", c.clash) << c.files[1].name;
    }
}

}  // namespace
}  // namespace combogen
