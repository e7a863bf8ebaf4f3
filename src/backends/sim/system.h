#pragma once
// Kernel services with a settable executable path and a virtual clock. The clock only moves
// when the test says so, and it moves in steps: each worker thread whose wait runs out is
// woken, and the clock waits until every worker has come to rest (waiting again, waiting for
// the user-interface thread, or ended) before it moves on. So threaded code runs the same way
// every time.

#include "platform/system.h"

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <limits>
#include <list>
#include <map>
#include <mutex>
#include <string>
#include <vector>

namespace quillop::platform::sim {

class System final : public platform::System {
public:
    System() = default;
    // Waits for the threads it started to end.
    ~System() override;
    System(const System&) = delete;
    System& operator=(const System&) = delete;

    void SetModuleFileName(std::string path) { module_ = std::move(path); }
    // Sets the value GetTickCount reports, without moving the clock.
    void SetTickCount(std::uint32_t ticks) { ticks_ = ticks; }
    // Lets ms milliseconds pass, stepping from one worker deadline to the next.
    void Advance(std::uint32_t ms);
    // Moves the clock to virtual time `when` (milliseconds since the System was made), waking
    // workers on the way, as Advance does.
    void AdvanceTo(std::uint64_t when);
    // Milliseconds of virtual time since the System was made.
    std::uint64_t Now() const;
    // The earliest virtual time a waiting worker wakes at; kNever when none waits with a limit.
    std::uint64_t NextDeadline() const;
    static constexpr std::uint64_t kNever = std::numeric_limits<std::uint64_t>::max();
    // Returns once every thread started here is at rest. Called on the test's thread only.
    void Settle();
    // Threads started here that have not ended.
    int LiveThreads() const;
    // "thread N: SetThreadPriority(P)" for each call, N counting the started threads from 1.
    std::vector<std::string> Calls() const;

    int GetModuleFileNameA(char* buffer, int size) override;
    std::uint32_t GetTickCount() override { return ticks_.load(); }
    std::unique_ptr<platform::ThreadSync> CreateThreadSync() override;
    std::thread StartThread(std::function<void()> body) override;
    bool SetThreadPriority(int priority) override;

private:
    class Sync;
    struct Waiter {
        const Sync* sync;
        std::uint64_t deadline;
        bool counted; // a started thread: it runs again when woken
        bool woken = false;
    };
    void WaitOn(std::unique_lock<std::mutex>& lock, const Sync& sync, std::uint32_t ms);
    void Wake(const Sync& sync);
    void SettleLocked(std::unique_lock<std::mutex>& lock);
    int ThreadNumber() const;

    std::string module_ = "C:\\Program Files\\Quillop\\Quillop.exe";
    std::atomic<std::uint32_t> ticks_{0};

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::uint64_t now_ = 0;
    std::list<Waiter*> waiters_;
    int running_ = 0; // started threads that are not waiting
    int live_ = 0;
    int started_ = 0;
    std::map<std::thread::id, int> numbers_;
    std::vector<std::string> calls_;
};

} // namespace quillop::platform::sim
