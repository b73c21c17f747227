#include "installed_savers.h"

#include <windows.h>

#include "test_support.h"

std::string InstalledSavers::DirectoryOf(SaverDirectory where)
{
    char directory[MAX_PATH];
    if (where == SaverDirectory::System)
        GetSystemDirectoryA(directory, sizeof directory);
    else
        GetWindowsDirectoryA(directory, sizeof directory);
    return directory;
}

void RemoveAllInstalledSavers()
{
    for (SaverDirectory where : {SaverDirectory::System, SaverDirectory::Windows}) {
        std::string directory = InstalledSavers::DirectoryOf(where);
        WIN32_FIND_DATAA found;
        HANDLE search = FindFirstFileA((directory + "\\*.scr").c_str(), &found);
        if (search == INVALID_HANDLE_VALUE)
            continue;
        do {
            std::string path = directory + "\\" + found.cFileName;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA(path.c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
}

InstalledSavers::InstalledSavers()
{
    RemoveAllInstalledSavers();
}

InstalledSavers::~InstalledSavers()
{
    for (const std::string& path : installed_) {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
    }
}

std::string InstalledSavers::Install(const char* builtFile, SaverDirectory where, const char* name)
{
    std::string path = DirectoryOf(where) + "\\" + name;
    CopyFileA(BesideTests(builtFile).c_str(), path.c_str(), FALSE);
    installed_.push_back(path);
    return path;
}

std::string InstalledSavers::InstallText(const std::string& content, SaverDirectory where,
                                         const char* name)
{
    std::string path = DirectoryOf(where) + "\\" + name;
    WriteWholeFile(path, content);
    installed_.push_back(path);
    return path;
}

InstalledChild::InstalledChild()
{
    CopyFileA(BesideTests("rvchild.exe").c_str(), path.c_str(), FALSE);
}

InstalledChild::~InstalledChild()
{
    DeleteFileA(path.c_str());
}

std::string SystemPasswordLibrary()
{
    return InstalledSavers::DirectoryOf(SaverDirectory::System) + "\\PASSWORD.CPL";
}

void InstallPasswordLibrary()
{
    CopyFileA(BesideTests("PASSWORD.CPL").c_str(), SystemPasswordLibrary().c_str(), TRUE);
}
