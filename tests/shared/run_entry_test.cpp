#include <gtest/gtest.h>

#include "shared/run_entry.h"

namespace {

TEST(RunEntry, QuotedWhenThePathHoldsABlankAndReadEitherWay)
{
    char entry[64], path[64];
    ASSERT_TRUE(MakeRunEntry("C:\\Program Files\\rvtray.exe", entry, sizeof entry));
    EXPECT_STREQ("\"C:\\Program Files\\rvtray.exe\"", entry);
    ASSERT_TRUE(MakeRunEntry("C:\\WINDOWS\\RVTRAY.EXE", entry, sizeof entry));
    EXPECT_STREQ("C:\\WINDOWS\\RVTRAY.EXE", entry);
    EXPECT_FALSE(MakeRunEntry("C:\\a b\\rvtray.exe", entry, 12));
    EXPECT_STREQ("", entry);

    const char* forms[][2] = {
        {"\"C:\\Program Files\\rvtray.exe\"", "C:\\Program Files\\rvtray.exe"},
        {"\"C:\\a b\\rvtray.exe\" /x", "C:\\a b\\rvtray.exe"},
        {"C:\\WINDOWS\\RVTRAY.EXE", "C:\\WINDOWS\\RVTRAY.EXE"},
        {"\"C:\\unclosed", "C:\\unclosed"},
        {"", ""},
    };
    for (const auto& form : forms) {
        ASSERT_TRUE(RunEntryPath(form[0], path, sizeof path)) << form[0];
        EXPECT_STREQ(form[1], path);
    }
}

}  // namespace
