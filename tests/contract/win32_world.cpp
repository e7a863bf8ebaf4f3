// The contract cases over the real window manager: windows of this test process.
// Where Wine and Windows differ, Windows is right; the cases keep to Windows' behaviour.
#include "contract_world.h"

#include "win32_services.h"

#include <windows.h>

namespace quillop::contract {

namespace {

using platform::win32::FromHwnd;
using platform::win32::ToHwnd;

constexpr const char* kClass = "QuillopContractWindow";

void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

class Win32World final : public World {
public:
    Win32World() {
        WNDCLASSA wc{};
        wc.lpfnWndProc = &DefWindowProcA;
        wc.hInstance = GetModuleHandleA(nullptr);
        wc.lpszClassName = kClass;
        RegisterClassA(&wc);
    }
    platform::Desktop& desktop() override { return desktop_; }
    platform::WindowHandle CreateTopLevel(const std::string& title, bool visible) override {
        HWND w = CreateWindowExA(0, kClass, title.c_str(),
                                 WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 100, 120, 300,
                                 200, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
        Pump();
        return FromHwnd(w);
    }
    void Destroy(platform::WindowHandle window) override {
        DestroyWindow(ToHwnd(window));
        Pump();
    }
    bool IsTopmost(platform::WindowHandle window) override {
        return (GetWindowLongPtrA(ToHwnd(window), GWL_EXSTYLE) & WS_EX_TOPMOST) != 0;
    }
    bool IsVisible(platform::WindowHandle window) override {
        return IsWindowVisible(ToHwnd(window)) != FALSE;
    }
    WindowRect Rect(platform::WindowHandle window) override {
        RECT r{};
        GetWindowRect(ToHwnd(window), &r);
        return {r.left, r.top, r.right, r.bottom};
    }
    platform::WindowHandle Active() override {
        Pump();
        return FromHwnd(GetForegroundWindow());
    }
    void Activate(platform::WindowHandle window) override {
        SetForegroundWindow(ToHwnd(window));
        Pump();
    }

private:
    platform::win32::Desktop desktop_;
};

} // namespace

std::unique_ptr<World> MakeWorld() {
    return std::make_unique<Win32World>();
}

} // namespace quillop::contract
