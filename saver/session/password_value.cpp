#include "password_value.h"

#include <string.h>

bool PasswordValueIsOn(const PasswordValue& value)
{
    if (value.size == 0)
        return false;
    if (value.type == REG_DWORD) {
        DWORD number = 0;
        memcpy(&number, value.data, value.size < sizeof number ? value.size : sizeof number);
        return number != 0;
    }
    return value.data[0] != '0' && value.data[0] != '\0';
}

PasswordValue PasswordOffValue(const PasswordValue& value)
{
    PasswordValue off = value;
    memset(off.data, 0, sizeof off.data);
    bool text = value.type == REG_SZ || value.type == REG_EXPAND_SZ || value.type == REG_MULTI_SZ;
    if (text && value.size > 0)
        off.data[0] = '0';
    return off;
}
