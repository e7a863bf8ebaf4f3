// What a worker thread needs from the kernel: a lock with a condition on the real clock, the
// thread itself, its priority.
#include "win32_services.h"

#include <chrono>
#include <condition_variable>

namespace quillop::platform::win32 {

namespace {

class ThreadSync final : public platform::ThreadSync {
public:
    void lock() override { mutex_.lock(); }
    void unlock() override { mutex_.unlock(); }
    void Wait(std::uint32_t ms) override {
        if (ms == 0)
            return;
        std::unique_lock lock(mutex_, std::adopt_lock);
        if (ms == kInfinite)
            condition_.wait(lock);
        else
            condition_.wait_for(lock, std::chrono::milliseconds(ms));
        lock.release();
    }
    void NotifyAll() override { condition_.notify_all(); }

private:
    std::mutex mutex_;
    std::condition_variable condition_;
};

} // namespace

std::unique_ptr<platform::ThreadSync> System::CreateThreadSync() {
    return std::make_unique<ThreadSync>();
}

std::thread System::StartThread(std::function<void()> body) {
    return std::thread(std::move(body));
}

bool System::SetThreadPriority(int priority) {
    return ::SetThreadPriority(GetCurrentThread(), priority) != FALSE;
}

} // namespace quillop::platform::win32
