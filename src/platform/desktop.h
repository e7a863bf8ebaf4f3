#pragma once
// The window manager operations the program uses, with their Win32 results and limits.

#include "platform/handles.h"

#include <cstdint>
#include <functional>

namespace quillop::platform {

// The members of STARTUPINFOA the program reads.
struct StartupInfo {
    std::uint32_t dwFlags = 0;
    std::uint16_t wShowWindow = 0;
};

class Desktop {
public:
    virtual ~Desktop() = default;

    // Calls the callback once per top-level window, in z-order from the top, until it
    // returns false. Returns false when the enumeration itself failed.
    virtual bool EnumWindows(const std::function<bool(WindowHandle)>& callback) = 0;

    // Copies at most max_count - 1 characters of the title and a terminating NUL into
    // buffer; returns the number of characters copied, 0 for no title, a bad handle or
    // max_count <= 0.
    virtual int GetWindowTextA(WindowHandle window, char* buffer, int max_count) = 0;

    virtual bool SetWindowPos(WindowHandle window, WindowHandle insert_after, int x, int y, int cx,
                              int cy, unsigned flags) = 0;

    // Returns whether the window was visible before the call.
    virtual bool ShowWindow(WindowHandle window, int command) = 0;

    // Whether the window is maximized; false for a bad handle.
    virtual bool IsZoomed(WindowHandle window) = 0;

    virtual StartupInfo GetStartupInfoA() = 0;

    virtual std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wparam,
                                       std::intptr_t lparam) = 0;
};

} // namespace quillop::platform
