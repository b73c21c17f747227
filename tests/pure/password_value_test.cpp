#include <gtest/gtest.h>

#include <windows.h>
#include <string.h>

#include <string>

#include "saver/session/password_value.h"
#include "shared/kept_password.h"
#include "shared/names.h"

namespace {

PasswordValue Value(DWORD type, const std::string& data)
{
    PasswordValue value;
    memset(&value, 0, sizeof value);
    value.type = type;
    memcpy(value.data, data.data(), data.size());
    value.size = (DWORD)data.size();
    return value;
}

// How the system's password setting and "ScreenSaveUsePassword" read, and
// what switches each off: every other program must read the off value as off.
TEST(PasswordValue, OnOffRuleAndOffValueForEachStoredType)
{
    struct Case {
        DWORD type;
        std::string stored;
        bool on;
        std::string off;
    };
    const Case cases[] = {
        {REG_SZ, std::string("1\0", 2), true, std::string("0\0", 2)},
        {REG_SZ, std::string("0\0", 2), false, std::string("0\0", 2)},
        {REG_SZ, std::string("\0", 1), false, std::string("0", 1)},
        {REG_SZ, "", false, ""},
        {REG_DWORD, std::string("\1\0\0\0", 4), true, std::string(4, '\0')},
        {REG_DWORD, std::string(4, '\0'), false, std::string(4, '\0')},
        {REG_BINARY, std::string("\1\0\0\0", 4), true, std::string(4, '\0')},
        {REG_BINARY, std::string("\0\0\0\0", 4), false, std::string(4, '\0')},
        {REG_BINARY, std::string("\1", 1), true, std::string(1, '\0')},
    };
    for (const Case& c : cases) {
        PasswordValue value = Value(c.type, c.stored);
        SCOPED_TRACE(testing::Message()
                     << "type " << c.type << ", " << c.stored.size() << " bytes");
        EXPECT_EQ(c.on, PasswordValueIsOn(value));
        PasswordValue off = PasswordOffValue(value);
        EXPECT_EQ(c.type, off.type);
        EXPECT_EQ(c.off, std::string((const char*)off.data, off.size));
        EXPECT_FALSE(PasswordValueIsOn(off));
    }
}

TEST(KeptPassword, OnlyWhatTheSystemsSettingCouldHoldIsRestored)
{
    struct Case {
        const char* name;
        DWORD type;
        DWORD size;
        bool restorable;
    };
    const Case cases[] = {
        {RV_VALUE_IS_SECURE, REG_SZ, 2, true},
        {RV_VALUE_USE_PASSWORD, REG_DWORD, 4, true},
        {RV_VALUE_USE_PASSWORD, REG_BINARY, 4, true},
        {RV_VALUE_IS_SECURE, REG_BINARY, 256, true},
        {RV_VALUE_IS_SECURE, REG_BINARY, 257, false},
        {RV_VALUE_IS_SECURE, REG_BINARY, 200000, false},
        {RV_VALUE_IS_SECURE, REG_DWORD, 8, false},
        {RV_VALUE_IS_SECURE, REG_EXPAND_SZ, 2, false},
        {RV_VALUE_IS_SECURE, REG_MULTI_SZ, 3, false},
        {"SCRNSAVE.EXE", REG_SZ, 2, false},
        {"", REG_SZ, 2, false},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.restorable, KeptPasswordIsRestorable(c.name, c.type, c.size))
            << c.name << " type " << c.type << " size " << c.size;
}

}  // namespace
