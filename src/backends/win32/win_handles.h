// Owning wrappers for the Win32 handles the program keeps: each closes its handle exactly once.
#pragma once

#include <windows.h>

#include <commctrl.h>

#include <utility>

namespace quillop::platform::win32 {

// A move-only owner of a handle of type H, released by Traits::Close.
template <typename Traits> class Owned {
public:
    using Handle = typename Traits::Handle;

    Owned() = default;
    explicit Owned(Handle h) : handle_(h) {}
    Owned(const Owned&) = delete;
    Owned& operator=(const Owned&) = delete;
    Owned(Owned&& other) noexcept : handle_(other.Release()) {}
    Owned& operator=(Owned&& other) noexcept {
        if (this != &other)
            Reset(other.Release());
        return *this;
    }
    ~Owned() { Reset(); }

    Handle Get() const { return handle_; }
    explicit operator bool() const { return Traits::Valid(handle_); }
    Handle Release() { return std::exchange(handle_, Traits::Invalid()); }
    void Reset(Handle h = Traits::Invalid()) {
        Handle old = std::exchange(handle_, h);
        if (Traits::Valid(old))
            Traits::Close(old);
    }

private:
    Handle handle_ = Traits::Invalid();
};

struct WindowTraits {
    using Handle = HWND;
    static Handle Invalid() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyWindow(h); }
};

template <typename T> struct GdiTraits {
    using Handle = T;
    static Handle Invalid() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteObject(h); }
};

struct MenuTraits {
    using Handle = HMENU;
    static Handle Invalid() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DestroyMenu(h); }
};

struct KeyTraits {
    using Handle = HKEY;
    static Handle Invalid() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { RegCloseKey(h); }
};

struct KernelTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { CloseHandle(h); }
};

struct FindTraits {
    using Handle = HANDLE;
    static Handle Invalid() { return INVALID_HANDLE_VALUE; }
    static bool Valid(Handle h) { return h != nullptr && h != INVALID_HANDLE_VALUE; }
    static void Close(Handle h) { FindClose(h); }
};

struct ImageListTraits {
    using Handle = HIMAGELIST;
    static Handle Invalid() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { ImageList_Destroy(h); }
};

struct EnhMetafileTraits {
    using Handle = HENHMETAFILE;
    static Handle Invalid() { return nullptr; }
    static bool Valid(Handle h) { return h != nullptr; }
    static void Close(Handle h) { DeleteEnhMetaFile(h); }
};

using OwnedWindow = Owned<WindowTraits>;
using OwnedFont = Owned<GdiTraits<HFONT>>;
using OwnedBitmap = Owned<GdiTraits<HBITMAP>>;
using OwnedGdiObject = Owned<GdiTraits<HGDIOBJ>>;
using OwnedMenu = Owned<MenuTraits>;
using OwnedKey = Owned<KeyTraits>;
using OwnedHandle = Owned<KernelTraits>;
using OwnedFind = Owned<FindTraits>;
using OwnedImageList = Owned<ImageListTraits>;
using OwnedEnhMetafile = Owned<EnhMetafileTraits>;

// A window's device context from GetDC, given back with ReleaseDC.
class WindowDc {
public:
    explicit WindowDc(HWND window) : window_(window), dc_(GetDC(window)) {}
    WindowDc(const WindowDc&) = delete;
    WindowDc& operator=(const WindowDc&) = delete;
    ~WindowDc() {
        if (dc_)
            ReleaseDC(window_, dc_);
    }
    HDC Get() const { return dc_; }

private:
    HWND window_;
    HDC dc_;
};

// A memory device context from CreateCompatibleDC, deleted with DeleteDC.
class MemoryDc {
public:
    explicit MemoryDc(HDC like) : dc_(CreateCompatibleDC(like)) {}
    MemoryDc(const MemoryDc&) = delete;
    MemoryDc& operator=(const MemoryDc&) = delete;
    ~MemoryDc() {
        if (dc_)
            DeleteDC(dc_);
    }
    HDC Get() const { return dc_; }

private:
    HDC dc_;
};

// Selects an object into a DC for the lifetime of this guard.
class Selected {
public:
    Selected(HDC dc, HGDIOBJ object) : dc_(dc), old_(SelectObject(dc, object)) {}
    Selected(const Selected&) = delete;
    Selected& operator=(const Selected&) = delete;
    ~Selected() {
        if (old_ && old_ != HGDI_ERROR)
            SelectObject(dc_, old_);
    }

private:
    HDC dc_;
    HGDIOBJ old_;
};

} // namespace quillop::platform::win32
