#include "cli/option_table.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace combogen {
namespace {

#ifdef COMBOGEN_SOURCE_DIR
// The page places a refusal by its option's field: each field a row names is on the page (a
// pair of inputs is made there from its data-pair pattern).
TEST(OptionTableTest, EveryPageFieldIsOnThePage) {
    std::ifstream file(COMBOGEN_SOURCE_DIR "/web/index.html");
    std::stringstream page;
    page << file.rdbuf();
    ASSERT_FALSE(page.str().empty());
    for (const OptionRow& row : OptionRows()) {
        if (row.pageField.empty()) continue;
        const std::string field(row.pageField);
        const bool there = page.str().find("id=\"" + field + "\"") != std::string::npos ||
                           page.str().find("id=\"" + field + "-error\"") != std::string::npos ||
                           page.str().find("data-pair=\"" + field + " ") != std::string::npos;
        EXPECT_TRUE(there) << row.name;
        EXPECT_FALSE(row.pageLabel.empty()) << row.name;
    }
}
#endif

}  // namespace
}  // namespace combogen
