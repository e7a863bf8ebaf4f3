#pragma once
// A simulated desktop: top-level windows with handles, titles, show state, a topmost band and
// a z-order, a log of every call, and switches that make calls fail the way Windows fails.

#include "platform/desktop.h"

#include <map>
#include <set>
#include <string>
#include <vector>

namespace quillop::platform::sim {

struct Rect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Window {
    WindowHandle handle = 0;
    WindowHandle parent = 0; // 0 for a top-level window
    std::string title;
    bool visible = true;
    bool minimized = false;
    bool maximized = false;
    bool topmost = false;
    Rect rect;
    std::intptr_t horizontal_extent = 0; // last kLbSetHorizontalExtent
};

class Desktop final : public platform::Desktop {
public:
    Desktop();

    // Adds a top-level window below every existing non-topmost one (so enumeration follows
    // creation order until windows are reordered) and returns its handle.
    WindowHandle AddWindow(std::string title, bool visible = true, Rect rect = {10, 10, 210, 110});
    // Adds a top-level window with a chosen handle (e.g. one whose low 32 bits exceed 2^31).
    WindowHandle AddWindowWithHandle(WindowHandle handle, std::string title, bool visible = true);
    // Adds a child window; children are never enumerated.
    WindowHandle AddChildWindow(WindowHandle parent, std::string title = {});
    void RemoveWindow(WindowHandle window);
    void SetTitle(WindowHandle window, std::string title);
    // Changes visibility without a logged call (what the window system does on its own).
    void SetVisible(WindowHandle window, bool visible);

    // nullptr for an unknown handle.
    const Window* Find(WindowHandle window) const;
    bool Exists(WindowHandle window) const { return Find(window) != nullptr; }
    // Top-level handles in z-order from the top.
    std::vector<WindowHandle> ZOrder() const { return z_order_; }
    WindowHandle ActiveWindow() const { return active_; }
    void SetActiveWindow(WindowHandle window) { active_ = window; }

    void SetStartupInfo(StartupInfo info) { startup_ = info; }

    // Fault switches.
    void FailEnumWindows(bool fail) { fail_enum_ = fail; }
    void FailGetWindowText(WindowHandle window) { failing_titles_.insert(window); }
    void FailSetWindowPos(bool fail) { fail_set_window_pos_ = fail; }

    // Every call of the platform interface, one line each, e.g.
    // "SetWindowPos(65552, -1, 0, 0, 0, 0, 0x13) -> 1".
    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    // When false, EnumWindows and GetWindowTextA are not logged (benchmarks, big tables).
    void SetLogging(bool on) { logging_ = on; }

    bool EnumWindows(const std::function<bool(WindowHandle)>& callback) override;
    int GetWindowTextA(WindowHandle window, char* buffer, int max_count) override;
    bool SetWindowPos(WindowHandle window, WindowHandle insert_after, int x, int y, int cx, int cy,
                      unsigned flags) override;
    bool ShowWindow(WindowHandle window, int command) override;
    bool IsZoomed(WindowHandle window) override;
    StartupInfo GetStartupInfoA() override;
    std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wparam,
                               std::intptr_t lparam) override;

private:
    Window* FindMutable(WindowHandle window);
    void Log(std::string line);
    void PlaceAtTopOfBand(WindowHandle window);

    std::map<WindowHandle, Window> windows_;
    std::vector<WindowHandle> z_order_;
    WindowHandle next_handle_ = 0x10010;
    WindowHandle active_ = 0;
    StartupInfo startup_{};
    bool fail_enum_ = false;
    bool fail_set_window_pos_ = false;
    std::set<WindowHandle> failing_titles_;
    std::vector<std::string> calls_;
    bool logging_ = true;
};

} // namespace quillop::platform::sim
