// Where a screen saver chosen in the settings dialog lies, as the play-list
// stores it: one entry however the user named the file (its short name, a
// mapped drive or its network path), and a name this ANSI program can start.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "saver/settings/file_names.h"

// What tells a long full path's file from others, made once per path: the
// path upper-cased, a mapped drive's path as its network path. Equal keys:
// the same file.
std::string PlaceKey(const std::string& path);

// The path of a dropped file as this program can start it: its ANSI name,
// or, where that cannot spell it, its short name. Empty when neither will do
// (the message log then says why).
std::string DroppedPath(HDROP drop, UINT index);

// Whether a path the Open dialog gave names the chosen file: false, logged,
// when its name has characters outside the system's code page.
bool UsableName(const std::string& path);
