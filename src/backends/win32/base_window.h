// A window class whose window procedure forwards to a C++ object.
#pragma once

#include <windows.h>

namespace quillop::platform::win32 {

// The object pointer travels in CreateWindowEx's lpParam and is stored in GWLP_USERDATA on
// WM_NCCREATE, so every later message reaches HandleMessage of the right object.
class BaseWindow {
public:
    BaseWindow() = default;
    BaseWindow(const BaseWindow&) = delete;
    BaseWindow& operator=(const BaseWindow&) = delete;
    virtual ~BaseWindow() = default;

    HWND Window() const { return window_; }

    // Registers the class once per process; returns the class atom name.
    static const char* RegisterClassOnce(const char* class_name, HICON icon, HBRUSH background);

protected:
    HWND CreateNative(const char* class_name, DWORD ex_style, DWORD style, const char* title, int x,
                      int y, int width, int height, HWND parent, HMENU menu);

    // Returns the result of a message; DefWindowProc for anything not handled.
    virtual LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam);
    // Called when the native window is gone; the object may still outlive it.
    virtual void Destroyed() {}

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
    HWND window_ = nullptr;
};

} // namespace quillop::platform::win32
