#include "test_support.h"

#include <stdio.h>

std::string BesideTests(const char* fileName)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    std::string directory(path, length);
    size_t slash = directory.find_last_of("\\/");
    return directory.substr(0, slash + 1) + fileName;
}

std::string OwnLogPath()
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    std::string own(path, length);
    size_t dot = own.find_last_of('.');
    return own.substr(0, dot) + ".log";
}

ChildProcess::~ChildProcess()
{
    if (info_.hProcess) {
        if (WaitForSingleObject(info_.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(info_.hProcess, 99);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
    }
    if (info_.hThread)
        CloseHandle(info_.hThread);
}

bool ChildProcess::Start(const std::string& commandLine)
{
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    std::string text = commandLine;
    return CreateProcessA(NULL, &text[0], NULL, NULL, FALSE, 0, NULL, NULL, &startup, &info_) !=
           0;
}

bool ChildProcess::WaitForExit(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    for (;;) {
        DWORD elapsed = GetTickCount() - start;
        DWORD left = elapsed >= milliseconds ? 0 : milliseconds - elapsed;
        DWORD result = MsgWaitForMultipleObjects(1, &info_.hProcess, FALSE, left, QS_ALLINPUT);
        if (result == WAIT_OBJECT_0)
            return true;
        if (result != WAIT_OBJECT_0 + 1)
            return false;
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

DWORD ChildProcess::ExitCode() const
{
    DWORD code = 0xFFFFFFFF;
    GetExitCodeProcess(info_.hProcess, &code);
    return code;
}

void PumpMessagesFor(DWORD milliseconds)
{
    DWORD start = GetTickCount();
    do {
        MSG message;
        while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
        MsgWaitForMultipleObjects(0, NULL, FALSE, 10, QS_ALLINPUT);
    } while (GetTickCount() - start < milliseconds);
}

void DeleteRegistryTree(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) == ERROR_SUCCESS) {
        for (;;) {
            char child[256];
            DWORD size = sizeof child;
            if (RegEnumKeyExA(key, 0, child, &size, NULL, NULL, NULL, NULL) != ERROR_SUCCESS)
                break;
            std::string childPath = std::string(path) + "\\" + child;
            DeleteRegistryTree(root, childPath.c_str());
        }
        RegCloseKey(key);
    }
    RegDeleteKeyA(root, path);
}

bool RegistryKeyExists(HKEY root, const char* path)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

void SetRegistryRaw(HKEY root, const char* path, const char* name, DWORD type, const void* data,
                    DWORD size)
{
    HKEY key;
    if (RegCreateKeyA(root, path, &key) != ERROR_SUCCESS)
        return;
    RegSetValueExA(key, name, 0, type, (const BYTE*)data, size);
    RegCloseKey(key);
}

void SetRegistryText(HKEY root, const char* path, const char* name, const char* text)
{
    SetRegistryRaw(root, path, name, REG_SZ, text, (DWORD)strlen(text) + 1);
}

void SetRegistryNumber(HKEY root, const char* path, const char* name, DWORD value)
{
    SetRegistryRaw(root, path, name, REG_DWORD, &value, sizeof value);
}

bool ReadRegistryValue(HKEY root, const char* path, const char* name, DWORD* type,
                       std::string* data)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    DWORD size = 0;
    DWORD kind = 0;
    bool ok = RegQueryValueExA(key, name, NULL, &kind, NULL, &size) == ERROR_SUCCESS;
    if (ok) {
        std::string bytes(size, '\0');
        ok = RegQueryValueExA(key, name, NULL, &kind, (BYTE*)&bytes[0], &size) == ERROR_SUCCESS;
        bytes.resize(size);
        if (data)
            *data = bytes;
        if (type)
            *type = kind;
    }
    RegCloseKey(key);
    return ok;
}

void DeleteRegistryValue(HKEY root, const char* path, const char* name)
{
    HKEY key;
    if (RegOpenKeyExA(root, path, 0, KEY_ALL_ACCESS, &key) != ERROR_SUCCESS)
        return;
    RegDeleteValueA(key, name);
    RegCloseKey(key);
}

DWORD ReadRegistryDword(HKEY root, const char* path, const char* name)
{
    DWORD type = 0;
    std::string data;
    if (!ReadRegistryValue(root, path, name, &type, &data) || type != REG_DWORD || data.size() != 4)
        return 0xFFFFFFFF;
    DWORD value;
    memcpy(&value, data.data(), 4);
    return value;
}

std::string PlayListValueName(int position)
{
    char name[32];
    snprintf(name, sizeof name, "File%10.2i", position);
    return name;
}

std::string ReadWholeFile(const std::string& path)
{
    std::string content;
    FILE* file = fopen(path.c_str(), "rb");
    if (!file)
        return content;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0)
        content.append(chunk, got);
    fclose(file);
    return content;
}

void WriteWholeFile(const std::string& path, const std::string& content)
{
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        return;
    fwrite(content.data(), 1, content.size(), file);
    fclose(file);
}
