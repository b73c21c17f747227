// How a stored password setting reads: the "on" test and the "off" value that
// keeps the stored type and size. No registry access here.
#pragma once
#include <windows.h>

struct PasswordValue {
    DWORD type;
    BYTE data[260];
    DWORD size;  // bytes of data in use, at most 256
};

// On: a REG_DWORD that is not 0, or another type whose first byte is neither
// "0" nor NUL. A value of size 0 is off.
bool PasswordValueIsOn(const PasswordValue& value);

// Same type and size: "0" then zero bytes for a text, zero bytes for a
// number or binary data (which every program reads as a number).
PasswordValue PasswordOffValue(const PasswordValue& value);
