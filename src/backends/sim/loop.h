#pragma once
// A message loop whose queue the test fills. Posted work runs when the program processes
// messages, so a test can make an event arrive in the middle of a long operation.

#include "platform/loop.h"

#include <cstddef>
#include <deque>

namespace quillop::platform::sim {

class Loop final : public platform::Loop {
public:
    // Runs every queued item, including items queued while it runs, until the queue is empty.
    void ProcessMessages() override;
    void Post(std::function<void()> work) override;
    void Quit() override { quit_ = true; }
    // Runs queued items until Quit; returns early when the queue runs dry (nothing could
    // ever arrive in a simulation).
    void Run() override;

    // Called at the start of every ProcessMessages, with its 1-based call number; lets a test
    // inject an event at a chosen moment.
    void SetOnProcessMessages(std::function<void(std::size_t)> hook) { hook_ = std::move(hook); }
    std::size_t ProcessMessagesCalls() const { return process_calls_; }
    std::size_t Pending() const { return queue_.size(); }
    bool QuitRequested() const { return quit_; }

private:
    void Drain();

    std::deque<std::function<void()>> queue_;
    std::function<void(std::size_t)> hook_;
    std::size_t process_calls_ = 0;
    bool quit_ = false;
};

} // namespace quillop::platform::sim
