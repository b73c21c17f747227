// Holders that release what they hold when they go: a kernel handle, a
// loaded library, a GDI object, a menu, a C file. For a resource obtained and
// released in one operation; the registry key has its own (registry_key.h).
#pragma once
#include <windows.h>
#include <stdio.h>

template <typename T, typename Way>
class Owned {
public:
    Owned() = default;
    explicit Owned(T value) : value_(value) {}
    ~Owned() { Reset(); }
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : value_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept
    {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }

    T Get() const { return value_; }
    explicit operator bool() const { return Way::Valid(value_); }
    // Gives the value up without releasing it.
    T Release()
    {
        T value = value_;
        value_ = T();
        return value;
    }
    void Reset(T value = T())
    {
        if (Way::Valid(value_))
            Way::Free(value_);
        value_ = value;
    }

private:
    T value_ = T();
};

struct HandleWay {
    // CreateFile's failure is INVALID_HANDLE_VALUE, the others' NULL.
    static bool Valid(HANDLE handle) { return handle && handle != INVALID_HANDLE_VALUE; }
    static void Free(HANDLE handle) { CloseHandle(handle); }
};
struct LibraryWay {
    static bool Valid(HMODULE module) { return module != NULL; }
    static void Free(HMODULE module) { FreeLibrary(module); }
};
struct GdiObjectWay {
    static bool Valid(HGDIOBJ object) { return object != NULL; }
    static void Free(HGDIOBJ object) { DeleteObject(object); }
};
struct MenuWay {
    static bool Valid(HMENU menu) { return menu != NULL; }
    static void Free(HMENU menu) { DestroyMenu(menu); }
};
struct FileWay {
    static bool Valid(FILE* file) { return file != NULL; }
    static void Free(FILE* file) { fclose(file); }
};

typedef Owned<HANDLE, HandleWay> OwnedHandle;
typedef Owned<HMODULE, LibraryWay> OwnedLibrary;
typedef Owned<HMENU, MenuWay> OwnedMenu;
typedef Owned<FILE*, FileWay> OwnedFile;
template <typename T>
using OwnedGdiObject = Owned<T, GdiObjectWay>;
