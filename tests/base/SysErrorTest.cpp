#include "base/SysError.h"

#include <gtest/gtest.h>

namespace {

TEST(SysError_Trim, RemovesTrailingBlanksAndPeriods) {
    EXPECT_EQ(TrimSystemMessage("The system cannot find the file specified.\r\n"),
              "The system cannot find the file specified");
    EXPECT_EQ(TrimSystemMessage("Done. . .\t"), "Done");
    EXPECT_EQ(TrimSystemMessage("v1.47 ok"), "v1.47 ok");
    EXPECT_EQ(TrimSystemMessage("...  "), "");
    EXPECT_EQ(TrimSystemMessage(""), "");
}

TEST(SysError_Message, SystemTextIsNonEmptyAndTrimmed) {
    // Codes known to both systems: 2 is "file not found" on Windows and ENOENT elsewhere.
    const std::string Text = SysErrorMessage(2);
    ASSERT_FALSE(Text.empty());
    EXPECT_NE(Text.back(), '.');
    EXPECT_GT(static_cast<unsigned char>(Text.back()), 32);
}

} // namespace
