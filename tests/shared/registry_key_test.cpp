// The typed reads of the registry helper, on the real (Wine) registry: what is
// stored comes from outside and is never trusted.
#include <gtest/gtest.h>

#include <windows.h>

#include <string.h>

#include <string>

#include "shared/registry_key.h"
#include "tests/support/test_support.h"

namespace {

const char TestKey[] = "Software\\Quillmark\\RvKeyTest";

class RegistryKeyReads : public ::testing::Test {
protected:
    void SetUp() override { DeleteRegistryTree(HKEY_CURRENT_USER, TestKey); }
    void TearDown() override { DeleteRegistryTree(HKEY_CURRENT_USER, TestKey); }
    void Store(DWORD type, const std::string& bytes)
    {
        SetRegistryRaw(HKEY_CURRENT_USER, TestKey, "v", type, bytes.data(), (DWORD)bytes.size());
    }
};

TEST_F(RegistryKeyReads, TextsWithOrWithoutTerminatorUpToTheCapacity)
{
    struct Case {
        DWORD type;
        std::string stored;
        bool ok;
        std::string expected;
    } cases[] = {
        {REG_SZ, std::string("abc\0", 4), true, "abc"},
        {REG_SZ, "abc", true, "abc"},  // no terminator stored
        {REG_EXPAND_SZ, std::string("%x%\0", 4), true, "%x%"},
        {REG_SZ, std::string("ab\0cd", 5), true, "ab"},                       // up to the first NUL
        {REG_SZ, std::string(259, 'p') + '\0', true, std::string(259, 'p')},  // a full path
        {REG_SZ, std::string(259, 'p'), true, std::string(259, 'p')},
        {REG_SZ, std::string(260, 'p'), false, ""},  // one too many
        {REG_SZ, std::string(260, 'p') + '\0', false, ""},
        {REG_BINARY, std::string("abc\0", 4), false, ""},
        {REG_DWORD, std::string("\1\0\0\0", 4), false, ""},
    };
    for (const Case& c : cases) {
        Store(c.type, c.stored);
        RegistryKey key;
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, TestKey, KEY_READ));
        char buffer[260];
        memset(buffer, 'x', sizeof buffer);
        EXPECT_EQ(c.ok, key.ReadText("v", buffer, sizeof buffer)) << c.stored.size();
        EXPECT_EQ(c.expected, std::string(buffer)) << c.stored.size();
    }
    RegistryKey key;
    ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, TestKey, KEY_READ));
    char buffer[8];
    EXPECT_FALSE(key.ReadText("missing", buffer, sizeof buffer));
    EXPECT_STREQ("", buffer);
}

TEST_F(RegistryKeyReads, NumbersOnlyAsFourByteDwords)
{
    struct Case {
        DWORD type;
        std::string stored;
        bool ok;
    } cases[] = {
        {REG_DWORD, std::string("\x07\0\0\0", 4), true},
        {REG_DWORD, std::string("\x07\0\0", 3), false},
        {REG_DWORD, std::string("\x07\0\0\0\0\0\0\0", 8), false},
        {REG_BINARY, std::string("\x07\0\0\0", 4), false},
        {REG_SZ, std::string("7\0", 2), false},
    };
    for (const Case& c : cases) {
        Store(c.type, c.stored);
        RegistryKey key;
        ASSERT_TRUE(key.Open(HKEY_CURRENT_USER, TestKey, KEY_READ));
        DWORD value = 99;
        EXPECT_EQ(c.ok, key.ReadDword("v", &value)) << c.stored.size();
        EXPECT_EQ(c.ok ? 7u : 99u, value);
    }
}

TEST_F(RegistryKeyReads, ClosesItselfAndMakesMissingKeys)
{
    bool created = false;
    {
        RegistryKey key;
        ASSERT_TRUE(key.Create(HKEY_CURRENT_USER, TestKey, KEY_ALL_ACCESS, &created));
        EXPECT_TRUE(created);
        EXPECT_TRUE(key.WriteDword("n", 5));
    }
    RegistryKey again;
    ASSERT_TRUE(again.Create(HKEY_CURRENT_USER, TestKey, KEY_ALL_ACCESS, &created));
    EXPECT_FALSE(created);
    EXPECT_EQ(5u, ReadRegistryDword(HKEY_CURRENT_USER, TestKey, "n"));
    RegistryKey none;
    EXPECT_FALSE(none.Open(HKEY_CURRENT_USER, "Software\\Quillmark\\RvKeyTest\\absent", KEY_READ));
    EXPECT_FALSE(none.IsOpen());
}

}  // namespace
