#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "saver/dialog/chosen_files.h"

namespace {

TEST(ChosenFiles, OnePathOrAFolderWithNamesAndNothingPastTheSize)
{
    const struct {
        std::string answer;
        std::vector<std::string> files;
    } cases[] = {
        {std::string("C:\\Savers\\a.scr\0\0", 17), {"C:\\Savers\\a.scr"}},
        {std::string("C:\\Savers\0a.scr\0b b.scr\0\0", 25),
         {"C:\\Savers\\a.scr", "C:\\Savers\\b b.scr"}},
        {std::string("C:\\\0a.scr\0\0", 11), {"C:\\a.scr"}},
        {std::string("\0", 1), {}},
        // Cut short by its buffer: the part without its NUL is no path.
        {std::string("C:\\Savers\0a.scr\0b.sc", 20), {"C:\\Savers\\a.scr"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.files, ChosenFiles(c.answer.data(), c.answer.size())) << c.answer.substr(0, 12);
}

TEST(ChosenFiles, ANameWithItsFolder)
{
    EXPECT_EQ("Aquarium (Downloads)",
              NameWithFolder("Aquarium", "C:\\Users\\me\\Downloads\\aq.scr"));
    EXPECT_EQ("Aquarium (C:)", NameWithFolder("Aquarium", "C:\\aq.scr"));
    EXPECT_EQ("Aquarium", NameWithFolder("Aquarium", "aq.scr"));
}

}  // namespace
