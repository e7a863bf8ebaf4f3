#pragma once
// The machine a contract case runs on: the desktop service under test plus the few things a
// case needs to set up and observe windows independently of that service. Implemented once
// over the sim (sim_world.cpp) and once over real Win32 (win32_world.cpp).

#include "platform/desktop.h"

#include <memory>
#include <string>

namespace quillop::contract {

struct WindowRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    friend bool operator==(const WindowRect&, const WindowRect&) = default;
};

class World {
public:
    virtual ~World() = default;
    virtual platform::Desktop& desktop() = 0;
    // A top-level window of this process, not topmost, at a fixed place.
    virtual platform::WindowHandle CreateTopLevel(const std::string& title, bool visible) = 0;
    virtual void Destroy(platform::WindowHandle window) = 0;
    virtual bool IsTopmost(platform::WindowHandle window) = 0;
    virtual bool IsVisible(platform::WindowHandle window) = 0;
    virtual WindowRect Rect(platform::WindowHandle window) = 0;
    // The window that has the activation (the foreground window on Win32).
    virtual platform::WindowHandle Active() = 0;
    // Makes a window the active one.
    virtual void Activate(platform::WindowHandle window) = 0;
};

std::unique_ptr<World> MakeWorld();

} // namespace quillop::contract
