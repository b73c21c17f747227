// Names of files as this ANSI program can use them: a long full path, and
// the code page's exact spelling of a wide name.
#pragma once
#include <windows.h>

#include <string>

// The full path with its long names (where the system can tell them:
// Windows 98, 2000 and later, and the code page spell them); the full path as
// given where not.
std::string LongFullPath(const char* path);

// The ANSI text of a wide name, empty when the code page cannot spell it
// exactly (a best fit, such as "O" for an omega, names another file).
std::string SpelledInCodePage(const std::wstring& wide);

// The wide text of an ANSI path of at most MAX_PATH - 1 characters; empty
// when it does not convert.
std::wstring WideOf(const char* text);
