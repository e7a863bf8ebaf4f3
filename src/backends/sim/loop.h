#pragma once
// A message loop whose queue the test fills, with hidden message windows and their timers on
// the virtual clock of a sim::System. Posted work runs when the program processes messages, so
// a test can make an event arrive in the middle of a long operation; RunFor lets virtual time
// pass and delivers every timer message and every worker's hand-off on the way, in order.

#include "backends/sim/system.h"
#include "platform/loop.h"

#include <cstddef>
#include <cstdint>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

namespace quillop::platform::sim {

class Loop final : public platform::Loop {
public:
    // A loop on its own clock.
    Loop();
    // A loop on the clock of system, which must outlive it (sim::World does this).
    explicit Loop(System& system);
    // Work that a thread is still waiting on is dropped: its Send returns false.
    ~Loop() override;
    Loop(const Loop&) = delete;
    Loop& operator=(const Loop&) = delete;

    // Runs every queued item, including items queued while it runs, then every timer message
    // that is due, until nothing is left. Before each item it lets the worker threads come to
    // rest, so a thread woken by sent work has run on before the next item.
    void ProcessMessages() override;
    void Post(std::function<void()> work) override;
    bool Send(const std::function<void()>& work) override;
    void Quit() override { quit_ = true; }
    // Runs queued items and due timer messages until Quit; returns early when nothing is left
    // (the clock does not move here; see RunFor).
    void Run() override;
    std::unique_ptr<platform::MessageWindow> AllocateHWnd(WindowProcedure procedure) override;
    bool SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t elapse) override;
    bool KillTimer(WindowHandle window, std::uintptr_t id) override;
    std::intptr_t DefWindowProcA(WindowHandle window, unsigned message, std::uintptr_t wparam,
                                 std::intptr_t lparam) override;

    // Lets ms milliseconds of virtual time pass: steps the clock to each timer's due time and
    // each worker's deadline in turn, processing messages at every step.
    void RunFor(std::uint32_t ms);

    // Fault switch: SetTimer fails (returns false) while it is on.
    void FailSetTimer(bool fail) { fail_set_timer_ = fail; }
    // "SetTimer(W, 1, 100) -> 1", "KillTimer(W, 1) -> 1", "AllocateHWnd -> W",
    // "DeallocateHWnd(W)", W the window's handle in decimal.
    const std::vector<std::string>& Calls() const { return calls_; }
    void ClearCalls() { calls_.clear(); }
    std::size_t Windows() const { return windows_.size(); }
    std::size_t Timers() const { return timers_.size(); }

    // Called at the start of every ProcessMessages, with its 1-based call number; lets a test
    // inject an event at a chosen moment.
    void SetOnProcessMessages(std::function<void(std::size_t)> hook) { hook_ = std::move(hook); }
    std::size_t ProcessMessagesCalls() const { return process_calls_; }
    std::size_t Pending() const;
    bool QuitRequested() const { return quit_; }
    System& Clock() const { return clock_; }

private:
    class Window;
    struct Sent {
        bool done = false;
        bool dropped = false;
    };
    struct Item {
        std::function<void()> work;
        std::shared_ptr<Sent> sent; // set for Send
    };
    struct Timer {
        std::uint32_t elapse;
        std::uint64_t due;
        bool signalled = false;
    };
    using TimerKey = std::pair<WindowHandle, std::uintptr_t>;

    bool RunOne();
    void SignalDueTimers();
    std::uint64_t NextDue() const;
    void ReleaseWindow(WindowHandle window);

    std::unique_ptr<System> own_clock_;
    System& clock_;
    std::unique_ptr<platform::ThreadSync> sync_; // what senders wait on
    std::thread::id ui_thread_;

    mutable std::mutex queue_mutex_;
    std::deque<Item> queue_;

    std::map<WindowHandle, std::shared_ptr<WindowProcedure>> windows_;
    WindowHandle next_window_ = 0x7F0000;
    std::map<TimerKey, Timer> timers_; // in key order: handle, then id
    bool fail_set_timer_ = false;
    std::vector<std::string> calls_;

    std::function<void(std::size_t)> hook_;
    std::size_t process_calls_ = 0;
    bool quit_ = false;
};

} // namespace quillop::platform::sim
