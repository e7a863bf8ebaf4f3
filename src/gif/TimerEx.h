// TTimerEx: a timer component that calls OnTimer every Interval milliseconds, in one of two
// modes, switchable at any time:
//   - unthreaded (the default): timer 1 on a hidden message window of the UI thread, delivered
//     through the message loop (SetTimer / KillTimer through platform::Loop);
//   - threaded: a TTimerThread worker sleeps for the interval on the system's clock, then hands
//     the tick to the UI thread (platform::Loop::Send) and waits until it has run there, or,
//     with ThreadSafe, fires on the worker itself.
//
// Properties (in this order, with their defaults): Enabled true, Interval 1000, Threaded false,
// ThreadPriority tpNormal, ThreadSafe false, OnTimer none. Setting Enabled, Interval, Threaded
// or ThreadPriority to the value it already has does nothing; ThreadPriority reconfigures only
// in threaded mode; ThreadSafe is only stored (the worker reads it at every tick); OnTimer
// always reconfigures. The timer is active when Interval is not 0, Enabled is true and OnTimer
// is set. In unthreaded mode every reconfiguration starts a fresh full period.
//
// Threads: properties are set and the timer is created and destroyed on the UI thread only.
// Setting properties, and destroying the timer, is allowed from inside OnTimer (on the UI
// thread). A worker asked to stop never touches the timer again, and destruction never waits
// for a worker that waits for the UI thread. With ThreadSafe, OnTimer runs on the worker,
// concurrently with the UI thread; destroying the timer then waits for a tick in progress on
// the worker, so such a handler must not wait for the UI thread itself.
//
// Errors: a failed SetTimer raises EOutOfResources("No More Timers Available") to whoever
// changed the property (the new value stays, the timer stays stopped). OnTimer runs through
// the Dispatch callback given at construction, which shows an error the handler raises in the
// application's error box (the program passes ui::Application::Dispatch); ticking goes on. On
// the threaded path a handler error goes the same way on the UI thread, and ends that worker;
// the next reconfiguration creates a fresh one.
#pragma once

#include "platform/loop.h"
#include "platform/services.h"
#include "platform/system.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <thread>

namespace quillop::gif {

enum TThreadPriority : uint8_t {
    tpIdle,
    tpLowest,
    tpLower,
    tpNormal,
    tpHigher,
    tpHighest,
    tpTimeCritical
};

// The Windows thread priority each level is given (THREAD_PRIORITY_IDLE ... _TIME_CRITICAL).
int WindowsThreadPriority(TThreadPriority Priority);

class TTimerEx;
class TTimerThread;

using TTimerEvent = std::function<void(TTimerEx& Sender)>;

// Runs a handler and shows an error it raises in the application's error box, letting no error
// escape (ticks run inside window procedures); the program passes ui::Application::Dispatch,
// the one error boundary.
using TDispatchEvent = std::function<void(const std::function<void()>& Handler)>;

// A resource of the system ran out ("No More Timers Available").
class EOutOfResources : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

inline constexpr const char* kNoMoreTimersText = "No More Timers Available";

class TTimerEx {
public:
    static constexpr bool DefaultEnabled = true;
    static constexpr uint32_t DefaultInterval = 1000;
    static constexpr bool DefaultThreaded = false;
    static constexpr TThreadPriority DefaultThreadPriority = tpNormal;

    // Services must outlive the timer. Dispatch must not be empty (std::invalid_argument).
    // Creates the hidden window; starts nothing, since OnTimer is not set.
    TTimerEx(platform::Services& Services, TDispatchEvent Dispatch);
    virtual ~TTimerEx();
    TTimerEx(const TTimerEx&) = delete;
    TTimerEx& operator=(const TTimerEx&) = delete;

    bool Enabled() const { return FEnabled; }
    void SetEnabled(bool Value);
    uint32_t Interval() const { return FInterval; }
    void SetInterval(uint32_t Value);
    bool Threaded() const { return FThreaded; }
    void SetThreaded(bool Value);
    TThreadPriority ThreadPriority() const { return FThreadPriority; }
    void SetThreadPriority(TThreadPriority Value);
    bool ThreadSafe() const { return FThreadSafe; }
    void SetThreadSafe(bool Value);
    const TTimerEvent& OnTimer() const { return FOnTimer; }
    void SetOnTimer(TTimerEvent Value);

    // Interval not 0, Enabled and OnTimer set.
    bool Active() const;

    // The tick: calls OnTimer with this timer as sender when Enabled is true and OnTimer is
    // set at this moment; otherwise does nothing. A derived class that replaces it disables the
    // timer in its own destructor: the base stops ticking only after the derived part is gone.
    virtual void Fire();

private:
    friend class TTimerThread;

    void Reconfigure();
    void ReleaseWorker();
    std::intptr_t WindowProcedure(platform::WindowHandle Window, unsigned Message,
                                  std::uintptr_t WParam, std::intptr_t LParam);

    platform::Services& FServices;
    std::shared_ptr<const TDispatchEvent> FDispatch;
    bool FEnabled = DefaultEnabled;
    uint32_t FInterval = DefaultInterval;
    bool FThreaded = DefaultThreaded;
    TThreadPriority FThreadPriority = DefaultThreadPriority;
    bool FThreadSafe = false;
    TTimerEvent FOnTimer;
    std::shared_ptr<TTimerThread> FWorker;            // threaded mode only
    std::unique_ptr<platform::MessageWindow> FWindow; // unthreaded mode only
};

// The worker of the threaded mode: a std::thread that sleeps on the system's clock, with a
// condition for pause, resume and stop. Created paused; the timer only asks it to stop and
// forgets it, and it is freed when its loop has ended and the last tick it handed off is gone.
// Its loop also ends after a handler error (Finished); the timer then makes a fresh one.
class TTimerThread : public std::enable_shared_from_this<TTimerThread> {
public:
    // Starts the thread, paused, with the timer's Interval, ThreadPriority and ThreadSafe.
    static std::shared_ptr<TTimerThread> Create(TTimerEx& Timer);
    ~TTimerThread();
    TTimerThread(const TTimerThread&) = delete;
    TTimerThread& operator=(const TTimerThread&) = delete;

    // UI thread only. Pausing takes effect at once: no tick fires, and no tick handed off
    // before is run, until Resume. Resuming does not restart a sleep under way.
    void Pause();
    void Resume();
    // The settings the worker reads: Interval at the start of each sleep, ThreadPriority when
    // it is resumed, ThreadSafe at each tick.
    void Configure(uint32_t Interval, TThreadPriority Priority, bool ThreadSafe);
    void SetThreadSafe(bool Value);
    // Asks the loop to stop: it ends without firing again and never touches the timer again.
    void Terminate();

    bool Suspended() const;
    bool Finished() const;

private:
    struct TToken {};

public:
    TTimerThread(TToken, TTimerEx& Timer);

private:
    void Execute();
    void HandOff(std::unique_lock<platform::ThreadSync>& Lock);
    bool SleepInterval(std::unique_lock<platform::ThreadSync>& Lock);
    void WaitWhilePaused(std::unique_lock<platform::ThreadSync>& Lock);
    void SetOwnPriority(std::unique_lock<platform::ThreadSync>& Lock);
    void ApplyPriority(std::unique_lock<platform::ThreadSync>& Lock);

    platform::Loop& FLoop;
    platform::System& FSystem;
    std::shared_ptr<const TDispatchEvent> FDispatch;
    std::unique_ptr<platform::ThreadSync> FSync;
    // Guarded by FSync.
    TTimerEx* FTimer;
    bool FSuspended = true;
    bool FTerminated = false;
    bool FFinished = false;
    uint32_t FInterval;
    TThreadPriority FPriority;
    bool FThreadSafe;
    bool FFiring = false;       // a ThreadSafe tick is running on the worker
    bool FInSystemCall = false; // the worker calls the system service without the lock
    TThreadPriority FApplied = tpNormal;
    std::thread::id FThreadId;
};

} // namespace quillop::gif
