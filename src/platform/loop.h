#pragma once
// The message loop of the user-interface thread, the hand-off of work to it from other
// threads, and the hidden message windows with their timers.

#include "platform/handles.h"

#include <cstdint>
#include <functional>
#include <memory>

namespace quillop::platform {

// Window messages the portable code handles.
inline constexpr unsigned kWmTimer = 0x0113;

// A window procedure: (window, message, wparam, lparam) -> result.
using WindowProcedure = std::function<std::intptr_t(WindowHandle window, unsigned message,
                                                    std::uintptr_t wparam, std::intptr_t lparam)>;

// A hidden message window of the user-interface thread, released (with its timers) when this
// object is destroyed, on that thread. It may be destroyed from inside its own procedure.
class MessageWindow {
public:
    virtual ~MessageWindow() = default;
    virtual WindowHandle Handle() const = 0;
};

class Loop {
public:
    virtual ~Loop() = default;

    // Dispatches every message that is pending now, then returns.
    virtual void ProcessMessages() = 0;

    // Queues work to run later on the user-interface thread, from the loop. May be called from
    // any thread.
    virtual void Post(std::function<void()> work) = 0;

    // Runs work on the user-interface thread and returns once it has run there; called on that
    // thread itself, runs it at once. May be called from any thread. Returns false, without
    // having run it, when the loop went away first. The caller must not hold anything the
    // user-interface thread may wait for.
    virtual bool Send(const std::function<void()>& work) = 0;

    // Makes Run return once the current message has been handled.
    virtual void Quit() = 0;

    // Dispatches messages until Quit.
    virtual void Run() = 0;

    // A hidden message window whose messages go to procedure; nullptr when none could be made.
    virtual std::unique_ptr<MessageWindow> AllocateHWnd(WindowProcedure procedure) = 0;

    // Starts (or restarts, from now) timer id of window: a kWmTimer message with wparam id every
    // elapse milliseconds (Windows raises an elapse under 10 to 10). Returns false when no
    // timer could be made.
    virtual bool SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t elapse) = 0;
    virtual bool KillTimer(WindowHandle window, std::uintptr_t id) = 0;

    // The default handling of a message a procedure does not handle itself.
    virtual std::intptr_t DefWindowProcA(WindowHandle window, unsigned message,
                                         std::uintptr_t wparam, std::intptr_t lparam) = 0;
};

} // namespace quillop::platform
