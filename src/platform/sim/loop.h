#pragma once
// A message loop whose queue the test fills. Posted work runs when the program processes
// messages, so a test can make an event arrive in the middle of a long operation. Like the
// Win32 loop, Post may be called from any thread; the rest belongs to the user-interface
// thread.

#include "platform/loop.h"

#include <cstddef>
#include <deque>
#include <mutex>

namespace quillop::platform::sim {

class Loop final : public platform::Loop {
public:
    // Runs every queued item, including items queued while it runs, until the queue is empty.
    void ProcessMessages() override;
    void Post(std::function<void()> work) override;
    void Quit() override { quit_ = true; }
    // Runs queued items until Quit; returns early when the queue runs dry (it doesn't wait
    // for work from other threads).
    void Run() override;

    // Called at the start of every ProcessMessages, with its 1-based call number; lets a test
    // inject an event at a chosen moment.
    void SetOnProcessMessages(std::function<void(std::size_t)> hook) { hook_ = std::move(hook); }
    std::size_t ProcessMessagesCalls() const { return process_calls_; }
    std::size_t Pending() const;
    bool QuitRequested() const { return quit_; }

private:
    // Takes the oldest queued item; false when there is none.
    bool PopFront(std::function<void()>& work);
    void Drain();

    mutable std::mutex mutex_;
    std::deque<std::function<void()>> queue_;
    std::function<void(std::size_t)> hook_;
    std::size_t process_calls_ = 0;
    bool quit_ = false;
};

} // namespace quillop::platform::sim
