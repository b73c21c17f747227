#include <gtest/gtest.h>

#include "saver/settings/file_look.h"

namespace {

TEST(FileLook, TheRootOfAPathIsItsDriveOrItsServerAndShare)
{
    const struct {
        const char* path;
        const char* root;
    } cases[] = {
        {"q:x.scr", "q:\\"},
        {"\\\\server\\share\\dir\\x.scr", "\\\\server\\share\\"},
        {"\\\\server\\share", "\\\\server\\share\\"},
        {"\\\\server\\", ""},        // no share
        {"\\\\\\share\\x.scr", ""},  // no server
        {"relative\\x.scr", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.root, PathRoot(c.path)) << c.path;
}

}  // namespace
