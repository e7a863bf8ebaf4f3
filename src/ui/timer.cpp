#include "ui/timer.h"

#include "ui/application.h"
#include "ui/error.h"

namespace quillop::ui {

namespace {
constexpr std::uintptr_t kTimerId = 1;
}

Timer::Timer(std::string name, Application& app) : Component(std::move(name)), app_(app) {}

Timer::~Timer() = default;

void Timer::SetEnabled(bool on) {
    if (enabled_ == on) {
        return;
    }
    enabled_ = on;
    Update();
}

void Timer::SetInterval(std::uint32_t ms) {
    if (interval_ == ms) {
        return;
    }
    interval_ = ms;
    Update();
}

void Timer::SetOnTimer(std::function<void(Component&)> handler) {
    on_timer_ = std::move(handler);
    Update();
}

void Timer::Update() {
    // Releasing the window kills its timer.
    window_.reset();
    if (!enabled_ || interval_ == 0 || !on_timer_) {
        return;
    }
    platform::Loop& loop = app_.Services().loop;
    window_ = loop.AllocateHWnd([this, &loop](platform::WindowHandle window, unsigned message,
                                              std::uintptr_t wparam, std::intptr_t lparam) {
        if (message == platform::kWmTimer) {
            Tick();
            return std::intptr_t{0};
        }
        return loop.DefWindowProcA(window, message, wparam, lparam);
    });
    if (!window_ || !loop.SetTimer(window_->Handle(), kTimerId, interval_)) {
        window_.reset();
        throw Error("Not enough timers available");
    }
}

void Timer::Tick() {
    app_.Dispatch([this] {
        if (on_timer_) {
            on_timer_(*this);
        }
    });
}

} // namespace quillop::ui
