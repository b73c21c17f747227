// A registry key that closes itself, with bounded, typed reads and writes
// that never trust what is stored. Used by both programs, the samples and
// the tests.
#pragma once
#include <windows.h>

class RegistryKey {
public:
    RegistryKey() = default;
    ~RegistryKey() { Close(); }
    RegistryKey(const RegistryKey&) = delete;
    RegistryKey& operator=(const RegistryKey&) = delete;

    // An existing key; false when it cannot be opened.
    bool Open(HKEY root, const char* path, REGSAM access);
    // The key, made when missing; created tells whether it was.
    bool Create(HKEY root, const char* path, REGSAM access = KEY_ALL_ACCESS, bool* created = NULL);
    void Close();
    bool IsOpen() const { return key_ != NULL; }
    HKEY Handle() const { return key_; }

    // A REG_SZ or REG_EXPAND_SZ text, stored with or without its terminator,
    // into buffer (always terminated): the text runs to the stored size or the
    // first NUL. False when missing, of another type, or longer than
    // capacity - 1 characters.
    bool ReadText(const char* name, char* buffer, DWORD capacity) const;
    // A REG_DWORD of exactly 4 bytes.
    bool ReadDword(const char* name, DWORD* value) const;
    // At most *size bytes as stored, whatever the type; *size becomes the
    // stored size. False when missing or larger than the buffer.
    bool ReadRaw(const char* name, DWORD* type, BYTE* data, DWORD* size) const;

    // A REG_SZ with its terminator counted in the size.
    bool WriteText(const char* name, const char* text);
    bool WriteDword(const char* name, DWORD value);
    bool WriteRaw(const char* name, DWORD type, const BYTE* data, DWORD size);
    bool DeleteValue(const char* name);

private:
    HKEY key_ = NULL;
};

// Terminates data of size bytes (held in a buffer of size + 1 bytes or more)
// at its first NUL or at size, whichever comes first.
void TerminateRegistryText(char* data, DWORD size);
