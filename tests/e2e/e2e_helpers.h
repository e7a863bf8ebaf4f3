#pragma once
// Helpers of the tests that drive the real Quillop.exe from another process.
#include <windows.h>

#include <algorithm>
#include <functional>
#include <string>

namespace quillop::e2e {

inline constexpr int kWaitMs = 20000; // a generous limit: reaching it fails the test

// Pumps this thread's messages until `done` holds or the limit passes.
inline bool WaitUntil(const std::function<bool()>& done, int limit_ms = kWaitMs) {
    const DWORD start = GetTickCount();
    for (;;) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        if (done())
            return true;
        if (GetTickCount() - start > static_cast<DWORD>(limit_ms))
            return false;
        Sleep(20);
    }
}

inline std::string WindowText(HWND w) {
    char buf[1024] = {};
    SendMessageTimeoutA(w, WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf), SMTO_NORMAL, 5000,
                        nullptr);
    return buf;
}

inline std::string ClassOf(HWND w) {
    char buf[64] = {};
    GetClassNameA(w, buf, sizeof buf);
    return buf;
}

inline std::string ToWindowsPath(std::string path) {
    if (!path.empty() && path[0] == '/') {
        std::replace(path.begin(), path.end(), '/', '\\');
        path = "Z:" + path;
    }
    return path;
}

} // namespace quillop::e2e
