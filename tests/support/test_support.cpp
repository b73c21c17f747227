#include "test_support.h"

#include "shared/registry_key.h"

#include <shlobj.h>
#include <stdio.h>
#include <stdlib.h>

std::string BesideTests(const char* fileName)
{
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, sizeof path);
    std::string directory(path, length);
    size_t slash = directory.find_last_of("\\/");
    return directory.substr(0, slash + 1) + fileName;
}

bool RunsThirtyTwoBitPrograms(std::string* why)
{
    char wow64[MAX_PATH] = "", off[8] = "";
    typedef UINT(WINAPI * GetFolder)(LPSTR, UINT);
    GetFolder get = (GetFolder)(void*)GetProcAddress(GetModuleHandleA("kernel32.dll"),
                                                     "GetSystemWow64DirectoryA");
    ChildProcess probe;
    if (GetEnvironmentVariableA("ROTAVEIL_NO_32_BIT", off, sizeof off) && off[0] && off[0] != '0')
        *why = "ROTAVEIL_NO_32_BIT is set";
    else if (!get || !get(wow64, sizeof wow64))
        *why = "this Windows has no 32-bit system folder";
    // Wine starts nothing and may still say it did: only the exit code the
    // command asked for tells.
    else if (!probe.Start("\"" + std::string(wow64) + "\\cmd.exe\" /c exit 37") ||
             !probe.WaitForExit(60000) || probe.ExitCode() != 37)
        *why = "a 32-bit program did not run";
    else
        return true;
    return false;
}

bool DropFiles(HANDLE process, HWND window, const std::string& files, BOOL wide)
{
    DROPFILES header = {sizeof header, {5, 5}, FALSE, wide};
    std::string block = std::string((const char*)&header, sizeof header) + files;
    void* remote =
        VirtualAllocEx(process, NULL, block.size(), MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
    return remote && WriteProcessMemory(process, remote, block.data(), block.size(), NULL) &&
           PostMessageA(window, WM_DROPFILES, (WPARAM)remote, 0);
}

RECT VirtualScreenRect()
{
    int x = GetSystemMetrics(SM_XVIRTUALSCREEN), y = GetSystemMetrics(SM_YVIRTUALSCREEN);
    RECT screen = {x, y, x + GetSystemMetrics(SM_CXVIRTUALSCREEN),
                   y + GetSystemMetrics(SM_CYVIRTUALSCREEN)};
    return screen;
}

std::string OwnLogPath()
{
    return BesideTests("_Rotaveil.log");
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
    // The programs started here, and what they start, get NUL for their
    // standard handles rather than the test runner's output pipe: one that
    // outlives its test would otherwise hold the runner until its time-out.
    SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, NULL, TRUE};
    HANDLE nul = CreateFileA("NUL", GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                             &inheritable, OPEN_EXISTING, 0, NULL);
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    if (nul != INVALID_HANDLE_VALUE) {
        startup.dwFlags = STARTF_USESTDHANDLES;
        startup.hStdInput = startup.hStdOutput = startup.hStdError = nul;
    }
    std::string text = commandLine;
    bool started = CreateProcessA(NULL, &text[0], NULL, NULL, nul != INVALID_HANDLE_VALUE, 0, NULL,
                                  NULL, &startup, &info_) != 0;
    // A start that fails says why: the assertion on it shows only "false".
    if (!started)
        fprintf(stderr, "CreateProcess failed with error %lu: %s\n", GetLastError(),
                commandLine.c_str());
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    return started;
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
    RegistryKey key;
    if (key.Open(root, path, KEY_ALL_ACCESS)) {
        for (;;) {
            char child[256];
            DWORD size = sizeof child;
            if (RegEnumKeyExA(key.Handle(), 0, child, &size, NULL, NULL, NULL, NULL) !=
                ERROR_SUCCESS)
                break;
            std::string childPath = std::string(path) + "\\" + child;
            DeleteRegistryTree(root, childPath.c_str());
        }
    }
    key.Close();
    RegDeleteKeyA(root, path);
}

bool RegistryKeyExists(HKEY root, const char* path)
{
    RegistryKey key;
    return key.Open(root, path, KEY_READ);
}

void SetRegistryRaw(HKEY root, const char* path, const char* name, DWORD type, const void* data,
                    DWORD size)
{
    RegistryKey key;
    if (key.Create(root, path))
        key.WriteRaw(name, type, (const BYTE*)data, size);
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
    RegistryKey key;
    DWORD size = 0;
    DWORD kind = 0;
    if (!key.Open(root, path, KEY_READ) || !key.ReadRaw(name, &kind, NULL, &size))
        return false;
    std::string bytes(size, '\0');
    if (!key.ReadRaw(name, &kind, (BYTE*)&bytes[0], &size))
        return false;
    bytes.resize(size);
    if (data)
        *data = bytes;
    if (type)
        *type = kind;
    return true;
}

void DeleteRegistryValue(HKEY root, const char* path, const char* name)
{
    RegistryKey key;
    if (key.Open(root, path, KEY_ALL_ACCESS))
        key.DeleteValue(name);
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

long NumberAfter(const std::string& text, const char* prefix)
{
    size_t at = text.find(prefix);
    if (at == std::string::npos)
        return 0;
    return strtol(text.c_str() + at + strlen(prefix), NULL, 10);
}

WineVersionFor::WineVersionFor(const char* program, const char* version)
    : key_(std::string("Software\\Wine\\AppDefaults\\") + program)
{
    SetRegistryText(HKEY_CURRENT_USER, key_.c_str(), "Version", version);
}

WineVersionFor::~WineVersionFor()
{
    DeleteRegistryTree(HKEY_CURRENT_USER, key_.c_str());
}

DWORD ClockStep()
{
    DWORD first = GetTickCount(), next;
    while ((next = GetTickCount()) == first) {
    }
    DWORD after;
    while ((after = GetTickCount()) == next) {
    }
    return after - next;
}
