// The files of the Open dialog's answer and how a screen saver from a folder
// of its own is named in the lists. No Windows calls here.
#pragma once
#include <stddef.h>

#include <string>
#include <vector>

// The full paths in the answer of an Open dialog that allows several files:
// one path, or the folder followed by the file names, each ending in a NUL,
// the whole ending in a second NUL. At most size bytes are read.
std::vector<std::string> ChosenFiles(const char* answer, size_t size);

// "Name (folder)": the name, and the last part of the folder the path lies
// in; the name alone for a path without a folder.
std::string NameWithFolder(const std::string& name, const char* path);
