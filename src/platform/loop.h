#pragma once
// The message loop of the user-interface thread.

#include <functional>

namespace quillop::platform {

class Loop {
public:
    virtual ~Loop() = default;

    // Dispatches every message that is pending now, then returns.
    virtual void ProcessMessages() = 0;

    // Queues work to run later on the user-interface thread, from the loop, in the order
    // posted. May be called from any thread (a worker thread hands its results over this way);
    // every other member is called on the user-interface thread only.
    virtual void Post(std::function<void()> work) = 0;

    // Makes Run return once the current message has been handled.
    virtual void Quit() = 0;

    // Dispatches messages until Quit.
    virtual void Run() = 0;
};

} // namespace quillop::platform
