// The contract cases over the simulated desktop.
#include "contract_world.h"

#include "backends/sim/desktop.h"

namespace quillop::contract {

namespace {

class SimWorld final : public World {
public:
    platform::Desktop& desktop() override { return desktop_; }
    platform::WindowHandle CreateTopLevel(const std::string& title, bool visible) override {
        return desktop_.AddWindow(title, visible, {100, 120, 400, 320});
    }
    void Destroy(platform::WindowHandle window) override { desktop_.RemoveWindow(window); }
    bool IsTopmost(platform::WindowHandle window) override {
        const auto* w = desktop_.Find(window);
        return w != nullptr && w->topmost;
    }
    bool IsVisible(platform::WindowHandle window) override {
        const auto* w = desktop_.Find(window);
        return w != nullptr && w->visible;
    }
    WindowRect Rect(platform::WindowHandle window) override {
        const auto* w = desktop_.Find(window);
        if (w == nullptr) {
            return {};
        }
        return {w->rect.left, w->rect.top, w->rect.right, w->rect.bottom};
    }
    platform::WindowHandle Active() override { return desktop_.ActiveWindow(); }
    void Activate(platform::WindowHandle window) override { desktop_.SetActiveWindow(window); }

private:
    platform::sim::Desktop desktop_;
};

} // namespace

std::unique_ptr<World> MakeWorld() {
    return std::make_unique<SimWorld>();
}

} // namespace quillop::contract
