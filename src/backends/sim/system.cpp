#include "backends/sim/system.h"

#include <algorithm>
#include <cstring>

namespace quillop::platform::sim {

// Every Sync of one System shares its lock, so the clock sees every wait at once.
class System::Sync final : public platform::ThreadSync {
public:
    explicit Sync(System& system) : system_(system) {}
    void lock() override { system_.mutex_.lock(); }
    void unlock() override { system_.mutex_.unlock(); }
    void Wait(std::uint32_t ms) override {
        std::unique_lock lock(system_.mutex_, std::adopt_lock);
        system_.WaitOn(lock, *this, ms);
        lock.release();
    }
    void NotifyAll() override { system_.Wake(*this); }

private:
    System& system_;
};

System::~System() {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [&] { return live_ == 0; });
}

int System::GetModuleFileNameA(char* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    const auto cap = static_cast<std::size_t>(size - 1);
    const std::size_t n = std::min(module_.size(), cap);
    std::memcpy(buffer, module_.data(), n);
    buffer[n] = '\0';
    return module_.size() > cap ? size : static_cast<int>(n);
}

std::unique_ptr<platform::ThreadSync> System::CreateThreadSync() {
    return std::make_unique<Sync>(*this);
}

std::thread System::StartThread(std::function<void()> body) {
    int number = 0;
    {
        std::lock_guard lock(mutex_);
        ++running_;
        ++live_;
        number = ++started_;
    }
    return std::thread([this, number, body = std::move(body)]() mutable {
        {
            std::lock_guard lock(mutex_);
            numbers_[std::this_thread::get_id()] = number;
        }
        body();
        body = nullptr; // what it holds goes before the System may
        std::lock_guard lock(mutex_);
        numbers_.erase(std::this_thread::get_id());
        --running_;
        --live_;
        changed_.notify_all();
    });
}

int System::ThreadNumber() const {
    const auto it = numbers_.find(std::this_thread::get_id());
    return it == numbers_.end() ? 0 : it->second;
}

bool System::SetThreadPriority(int priority) {
    std::lock_guard lock(mutex_);
    calls_.push_back("thread " + std::to_string(ThreadNumber()) + ": SetThreadPriority(" +
                     std::to_string(priority) + ")");
    return true;
}

std::vector<std::string> System::Calls() const {
    std::lock_guard lock(mutex_);
    return calls_;
}

int System::LiveThreads() const {
    std::lock_guard lock(mutex_);
    return live_;
}

std::uint64_t System::Now() const {
    std::lock_guard lock(mutex_);
    return now_;
}

std::uint64_t System::NextDeadline() const {
    std::lock_guard lock(mutex_);
    std::uint64_t next = kNever;
    for (const Waiter* w : waiters_) {
        if (!w->woken) {
            next = std::min(next, w->deadline);
        }
    }
    return next;
}

void System::WaitOn(std::unique_lock<std::mutex>& lock, const Sync& sync, std::uint32_t ms) {
    if (ms == 0) {
        return;
    }
    const bool counted = numbers_.count(std::this_thread::get_id()) != 0;
    // The test's thread cannot wait for the clock: only it moves the clock.
    Waiter self{&sync, counted && ms != kInfinite ? now_ + ms : kNever, counted};
    waiters_.push_back(&self);
    if (counted) {
        --running_;
        changed_.notify_all();
    }
    changed_.wait(lock, [&] { return self.woken; });
    waiters_.remove(&self);
}

void System::Wake(const Sync& sync) {
    for (Waiter* w : waiters_) {
        if (w->sync == &sync && !w->woken) {
            w->woken = true;
            if (w->counted) {
                ++running_;
            }
        }
    }
    changed_.notify_all();
}

void System::SettleLocked(std::unique_lock<std::mutex>& lock) {
    changed_.wait(lock, [&] { return running_ == 0; });
}

void System::Settle() {
    std::unique_lock lock(mutex_);
    SettleLocked(lock);
}

void System::AdvanceTo(std::uint64_t when) {
    std::unique_lock lock(mutex_);
    SettleLocked(lock);
    while (now_ < when) {
        std::uint64_t next = when;
        for (const Waiter* w : waiters_) {
            if (!w->woken) {
                next = std::min(next, w->deadline);
            }
        }
        next = std::max(next, now_);
        ticks_ += static_cast<std::uint32_t>(next - now_);
        now_ = next;
        for (Waiter* w : waiters_) {
            if (!w->woken && w->deadline <= now_) {
                w->woken = true;
                ++running_;
            }
        }
        changed_.notify_all();
        SettleLocked(lock);
    }
}

void System::Advance(std::uint32_t ms) {
    AdvanceTo(Now() + ms);
}

} // namespace quillop::platform::sim
