#include "backends/sim/loop.h"

#include <algorithm>

namespace quillop::platform::sim {

class Loop::Window final : public platform::MessageWindow {
public:
    Window(Loop& loop, WindowHandle handle) : loop_(loop), handle_(handle) {}
    ~Window() override { loop_.ReleaseWindow(handle_); }
    WindowHandle Handle() const override { return handle_; }

private:
    Loop& loop_;
    WindowHandle handle_;
};

Loop::Loop() : own_clock_(std::make_unique<System>()), clock_(*own_clock_) {
    sync_ = clock_.CreateThreadSync();
    ui_thread_ = std::this_thread::get_id();
}

Loop::Loop(System& system) : clock_(system) {
    sync_ = clock_.CreateThreadSync();
    ui_thread_ = std::this_thread::get_id();
}

Loop::~Loop() {
    {
        std::lock_guard lock(*sync_);
        std::lock_guard queue(queue_mutex_);
        for (Item& item : queue_) {
            if (item.sent) {
                item.sent->dropped = true;
            }
        }
        sync_->NotifyAll();
    }
    // The senders leave Send before the lock they wait on goes.
    clock_.Settle();
}

std::size_t Loop::Pending() const {
    std::lock_guard lock(queue_mutex_);
    return queue_.size();
}

void Loop::Post(std::function<void()> work) {
    std::lock_guard lock(queue_mutex_);
    queue_.push_back(Item{std::move(work), nullptr});
}

bool Loop::Send(const std::function<void()>& work) {
    if (std::this_thread::get_id() == ui_thread_) {
        work();
        return true;
    }
    auto sent = std::make_shared<Sent>();
    {
        std::lock_guard lock(queue_mutex_);
        queue_.push_back(Item{work, sent});
    }
    std::unique_lock lock(*sync_);
    while (!sent->done && !sent->dropped) {
        sync_->Wait(kInfinite);
    }
    return sent->done;
}

bool Loop::RunOne() {
    clock_.Settle();
    Item item;
    {
        std::lock_guard lock(queue_mutex_);
        if (!queue_.empty()) {
            item = std::move(queue_.front());
            queue_.pop_front();
        }
    }
    if (item.work) {
        if (!item.sent) {
            item.work();
            return true;
        }
        // The sender waits until the work has run, even when it fails.
        struct Release {
            Loop& loop;
            Sent& sent;
            ~Release() {
                std::lock_guard lock(*loop.sync_);
                sent.done = true;
                loop.sync_->NotifyAll();
            }
        } release{*this, *item.sent};
        item.work();
        return true;
    }
    SignalDueTimers();
    for (auto& [key, timer] : timers_) {
        if (timer.signalled) {
            timer.signalled = false;
            const auto it = windows_.find(key.first);
            if (it != windows_.end()) {
                // The procedure may release its own window.
                const std::shared_ptr<WindowProcedure> procedure = it->second;
                (*procedure)(key.first, kWmTimer, key.second, 0);
            }
            return true;
        }
    }
    return false;
}

void Loop::ProcessMessages() {
    ++process_calls_;
    if (hook_) {
        hook_(process_calls_);
    }
    while (RunOne()) {
    }
    clock_.Settle();
}

void Loop::Run() {
    quit_ = false;
    while (!quit_ && RunOne()) {
    }
}

void Loop::SignalDueTimers() {
    const std::uint64_t now = clock_.Now();
    for (auto& [key, timer] : timers_) {
        if (timer.due <= now) {
            // Missed periods coalesce into one message, as Windows does.
            timer.signalled = true;
            while (timer.due <= now) {
                timer.due += timer.elapse;
            }
        }
    }
}

std::uint64_t Loop::NextDue() const {
    std::uint64_t next = System::kNever;
    for (const auto& [key, timer] : timers_) {
        next = std::min(next, timer.due);
    }
    return next;
}

void Loop::RunFor(std::uint32_t ms) {
    const std::uint64_t target = clock_.Now() + ms;
    for (;;) {
        ProcessMessages();
        const std::uint64_t now = clock_.Now();
        if (now >= target) {
            break;
        }
        clock_.AdvanceTo(std::min({target, clock_.NextDeadline(), NextDue()}));
    }
}

std::unique_ptr<platform::MessageWindow> Loop::AllocateHWnd(WindowProcedure procedure) {
    const WindowHandle handle = next_window_;
    next_window_ += 4;
    windows_[handle] = std::make_shared<WindowProcedure>(std::move(procedure));
    calls_.push_back("AllocateHWnd -> " + std::to_string(handle));
    return std::make_unique<Window>(*this, handle);
}

void Loop::ReleaseWindow(WindowHandle window) {
    windows_.erase(window);
    // Destroying a window kills its timers.
    for (auto it = timers_.begin(); it != timers_.end();) {
        it = it->first.first == window ? timers_.erase(it) : std::next(it);
    }
    calls_.push_back("DeallocateHWnd(" + std::to_string(window) + ")");
}

bool Loop::SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t elapse) {
    const bool ok = !fail_set_timer_ && windows_.count(window) != 0;
    calls_.push_back("SetTimer(" + std::to_string(window) + ", " + std::to_string(id) + ", " +
                     std::to_string(elapse) + ") -> " + (ok ? "1" : "0"));
    if (!ok) {
        return false;
    }
    // USER_TIMER_MINIMUM and USER_TIMER_MAXIMUM.
    const std::uint32_t period = std::clamp<std::uint32_t>(elapse, 10, 0x7FFFFFFF);
    timers_[{window, id}] = Timer{period, clock_.Now() + period};
    return true;
}

bool Loop::KillTimer(WindowHandle window, std::uintptr_t id) {
    const bool ok = timers_.erase({window, id}) != 0;
    calls_.push_back("KillTimer(" + std::to_string(window) + ", " + std::to_string(id) + ") -> " +
                     (ok ? "1" : "0"));
    return ok;
}

std::intptr_t Loop::DefWindowProcA(WindowHandle, unsigned, std::uintptr_t, std::intptr_t) {
    return 0;
}

} // namespace quillop::platform::sim
