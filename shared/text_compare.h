// Comparison ignoring letter case through the current locale: each character
// is mapped to upper case on its own (LCMapStringA, LCMAP_UPPERCASE). Used for
// paths and process names.
#pragma once
#include <string>

char UpperCaseChar(char c);
bool SameTextIgnoringCase(const char* a, const char* b);
// The text with every character mapped as above; equal keys mean equal texts.
std::string UpperCaseText(const char* text);
