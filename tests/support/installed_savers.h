// Screen savers installed for one test into the Wine prefix's system and
// Windows directories, and removed again afterwards. Every *.scr file there
// is cleared first, so each test sees exactly what it installed.
#pragma once
#include <string>
#include <vector>

enum class SaverDirectory {
    System,
    Windows
};

class InstalledSavers {
public:
    InstalledSavers();
    ~InstalledSavers();
    InstalledSavers(const InstalledSavers&) = delete;
    InstalledSavers& operator=(const InstalledSavers&) = delete;

    // Copies the built file (beside the tests) under the given name; returns
    // the installed full path.
    std::string Install(const char* builtFile, SaverDirectory where, const char* name);
    // Writes a file of the given content under the given name.
    std::string InstallText(const std::string& content, SaverDirectory where, const char* name);

    static std::string DirectoryOf(SaverDirectory where);

private:
    std::vector<std::string> installed_;
};

// The test child rvchild.exe in the system directory, where the test screen
// savers installed there start it, for the life of the object.
struct InstalledChild {
    std::string path = InstalledSavers::DirectoryOf(SaverDirectory::System) + "\\rvchild.exe";
    InstalledChild();
    ~InstalledChild();
    InstalledChild(const InstalledChild&) = delete;
    InstalledChild& operator=(const InstalledChild&) = delete;
};

// The stand-in PASSWORD.CPL (built beside the tests) in the system
// directory, where the programs load it from; installed once per prefix.
std::string SystemPasswordLibrary();
void InstallPasswordLibrary();

// Removes every *.scr file in both directories.
void RemoveAllInstalledSavers();
