#include "backends/sim/desktop.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

namespace quillop::platform::sim {

namespace {

std::string handle_text(WindowHandle h) {
    // Insert-after values read best as the signed numbers Win32 defines them as.
    return std::to_string(static_cast<std::intptr_t>(h));
}

std::string hex(unsigned v) {
    char buf[16];
    std::snprintf(buf, sizeof buf, "0x%X", v);
    return buf;
}

} // namespace

Desktop::Desktop() = default;

WindowHandle Desktop::AddWindow(std::string title, bool visible, Rect rect) {
    while (windows_.count(next_handle_) != 0) {
        next_handle_ += 2;
    }
    const WindowHandle h = next_handle_;
    next_handle_ += 2;
    Window w;
    w.handle = h;
    w.title = std::move(title);
    w.visible = visible;
    w.rect = rect;
    windows_[h] = std::move(w);
    z_order_.push_back(h);
    return h;
}

WindowHandle Desktop::AddWindowWithHandle(WindowHandle handle, std::string title, bool visible) {
    if (windows_.count(handle) != 0) {
        return 0;
    }
    Window w;
    w.handle = handle;
    w.title = std::move(title);
    w.visible = visible;
    w.rect = {10, 10, 210, 110};
    windows_[handle] = std::move(w);
    z_order_.push_back(handle);
    return handle;
}

WindowHandle Desktop::AddChildWindow(WindowHandle parent, std::string title) {
    while (windows_.count(next_handle_) != 0) {
        next_handle_ += 2;
    }
    const WindowHandle h = next_handle_;
    next_handle_ += 2;
    Window w;
    w.handle = h;
    w.parent = parent;
    w.title = std::move(title);
    windows_[h] = std::move(w);
    return h;
}

void Desktop::RemoveWindow(WindowHandle window) {
    windows_.erase(window);
    z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), window), z_order_.end());
    if (active_ == window) {
        active_ = 0;
    }
}

void Desktop::SetTitle(WindowHandle window, std::string title) {
    if (Window* w = FindMutable(window)) {
        w->title = std::move(title);
    }
}

void Desktop::SetVisible(WindowHandle window, bool visible) {
    if (Window* w = FindMutable(window)) {
        w->visible = visible;
    }
}

const Window* Desktop::Find(WindowHandle window) const {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

Window* Desktop::FindMutable(WindowHandle window) {
    auto it = windows_.find(window);
    return it == windows_.end() ? nullptr : &it->second;
}

void Desktop::Log(std::string line) {
    calls_.push_back(std::move(line));
}

void Desktop::PlaceAtTopOfBand(WindowHandle window) {
    z_order_.erase(std::remove(z_order_.begin(), z_order_.end(), window), z_order_.end());
    const bool topmost = windows_.at(window).topmost;
    auto pos = z_order_.begin();
    if (!topmost) {
        // Below every topmost window.
        pos = std::find_if(z_order_.begin(), z_order_.end(),
                           [&](WindowHandle h) { return !windows_.at(h).topmost; });
    }
    z_order_.insert(pos, window);
}

bool Desktop::EnumWindows(const std::function<bool(WindowHandle)>& callback) {
    if (logging_) {
        Log("EnumWindows()");
    }
    if (fail_enum_) {
        return false;
    }
    // A snapshot, so windows the callback adds or removes don't upset the walk.
    const std::vector<WindowHandle> order = z_order_;
    for (WindowHandle h : order) {
        if (!callback(h)) {
            break;
        }
    }
    return true;
}

int Desktop::GetWindowTextA(WindowHandle window, char* buffer, int max_count) {
    if (logging_) {
        Log("GetWindowTextA(" + handle_text(window) + ", " + std::to_string(max_count) + ")");
    }
    if (buffer == nullptr || max_count <= 0) {
        return 0;
    }
    const Window* w = Find(window);
    if (w == nullptr || failing_titles_.count(window) != 0) {
        buffer[0] = '\0';
        return 0;
    }
    const std::size_t n = std::min(w->title.size(), static_cast<std::size_t>(max_count - 1));
    std::memcpy(buffer, w->title.data(), n);
    buffer[n] = '\0';
    return static_cast<int>(n);
}

bool Desktop::SetWindowPos(WindowHandle window, WindowHandle insert_after, int x, int y, int cx,
                           int cy, unsigned flags) {
    Window* w = FindMutable(window);
    const bool ok = w != nullptr && !fail_set_window_pos_;
    Log("SetWindowPos(" + handle_text(window) + ", " + handle_text(insert_after) + ", " +
        std::to_string(x) + ", " + std::to_string(y) + ", " + std::to_string(cx) + ", " +
        std::to_string(cy) + ", " + hex(flags) + ") -> " + (ok ? "1" : "0"));
    if (!ok) {
        return false;
    }
    if ((flags & kSwpNoMove) == 0) {
        const int width = w->rect.right - w->rect.left;
        const int height = w->rect.bottom - w->rect.top;
        w->rect = {x, y, x + width, y + height};
    }
    if ((flags & kSwpNoSize) == 0) {
        w->rect.right = w->rect.left + cx;
        w->rect.bottom = w->rect.top + cy;
    }
    if ((flags & kSwpNoZOrder) == 0 && w->parent == 0) {
        if (insert_after == kHwndTopmost) {
            w->topmost = true;
            PlaceAtTopOfBand(window);
        } else if (insert_after == kHwndNoTopmost) {
            w->topmost = false;
            PlaceAtTopOfBand(window);
        } else if (insert_after == kHwndTop) {
            PlaceAtTopOfBand(window);
        }
    }
    if ((flags & kSwpNoActivate) == 0) {
        active_ = window;
    }
    return true;
}

bool Desktop::ShowWindow(WindowHandle window, int command) {
    Window* w = FindMutable(window);
    const bool was_visible = w != nullptr && w->visible;
    Log("ShowWindow(" + handle_text(window) + ", " + std::to_string(command) + ") -> " +
        (was_visible ? "1" : "0"));
    if (w == nullptr) {
        return false;
    }
    switch (command) {
    case kSwHide:
        w->visible = false;
        break;
    case kSwShowNormal:
    case kSwRestore:
    case kSwShowDefault:
        w->visible = true;
        w->minimized = false;
        w->maximized = false;
        active_ = window;
        break;
    case kSwShowMinimized:
    case kSwMinimize:
    case kSwShowMinNoActive:
    case kSwForceMinimize:
        w->visible = command != kSwForceMinimize || w->visible;
        w->minimized = true;
        w->maximized = false;
        break;
    case kSwShowMaximized:
        w->visible = true;
        w->minimized = false;
        w->maximized = true;
        active_ = window;
        break;
    case kSwShowNoActivate:
    case kSwShowNa:
        w->visible = true;
        break;
    case kSwShow:
        w->visible = true;
        active_ = window;
        break;
    default:
        break;
    }
    return was_visible;
}

bool Desktop::IsZoomed(WindowHandle window) {
    const Window* w = Find(window);
    const bool zoomed = w != nullptr && w->maximized;
    Log("IsZoomed(" + handle_text(window) + ") -> " + (zoomed ? "1" : "0"));
    return zoomed;
}

StartupInfo Desktop::GetStartupInfoA() {
    Log("GetStartupInfoA()");
    return startup_;
}

std::intptr_t Desktop::SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wparam,
                                    std::intptr_t lparam) {
    Log("SendMessageA(" + handle_text(window) + ", " + hex(message) + ", " +
        std::to_string(wparam) + ", " + std::to_string(lparam) + ")");
    Window* w = FindMutable(window);
    if (w == nullptr) {
        return 0;
    }
    if (message == kLbSetHorizontalExtent) {
        w->horizontal_extent = static_cast<std::intptr_t>(wparam);
    } else if (message == kLbGetHorizontalExtent) {
        return w->horizontal_extent;
    }
    return 0;
}

} // namespace quillop::platform::sim
