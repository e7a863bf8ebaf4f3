#include "gif/TimerEx.h"

#include <array>
#include <exception>
#include <mutex>

namespace quillop::gif {

namespace {

constexpr std::uintptr_t kTimerId = 1;

constexpr std::array<int, 7> kWindowsPriorities = {
    platform::kThreadPriorityIdle,         platform::kThreadPriorityLowest,
    platform::kThreadPriorityBelowNormal,  platform::kThreadPriorityNormal,
    platform::kThreadPriorityAboveNormal,  platform::kThreadPriorityHighest,
    platform::kThreadPriorityTimeCritical,
};

} // namespace

int WindowsThreadPriority(TThreadPriority Priority) {
    return kWindowsPriorities.at(static_cast<std::size_t>(Priority));
}

// ---------------------------------------------------------------------------------------------
// TTimerEx

TTimerEx::TTimerEx(platform::Services& Services, TDispatchEvent Dispatch) : FServices(Services) {
    if (!Dispatch) {
        throw std::invalid_argument("TTimerEx needs a dispatcher");
    }
    FDispatch = std::make_shared<const TDispatchEvent>(std::move(Dispatch));
    Reconfigure();
}

TTimerEx::~TTimerEx() {
    FEnabled = false;
    try {
        Reconfigure(); // stops the operating-system timer or pauses the worker; cannot fail
    } catch (...) {
    }
    ReleaseWorker();
    FWindow.reset();
}

bool TTimerEx::Active() const {
    return FInterval != 0 && FEnabled && FOnTimer;
}

void TTimerEx::SetEnabled(bool Value) {
    if (Value != FEnabled) {
        FEnabled = Value;
        Reconfigure();
    }
}

void TTimerEx::SetInterval(uint32_t Value) {
    if (Value != FInterval) {
        FInterval = Value;
        Reconfigure();
    }
}

void TTimerEx::SetThreaded(bool Value) {
    if (Value != FThreaded) {
        FThreaded = Value;
        Reconfigure();
    }
}

void TTimerEx::SetThreadPriority(TThreadPriority Value) {
    if (Value != FThreadPriority) {
        FThreadPriority = Value;
        if (FThreaded) {
            Reconfigure();
        }
    }
}

void TTimerEx::SetThreadSafe(bool Value) {
    FThreadSafe = Value;
    if (FWorker) {
        FWorker->SetThreadSafe(Value);
    }
}

void TTimerEx::SetOnTimer(TTimerEvent Value) {
    FOnTimer = std::move(Value);
    Reconfigure();
}

void TTimerEx::Fire() {
    if (FEnabled && FOnTimer) {
        // The handler may destroy this timer, and with it FOnTimer.
        const TTimerEvent Handler = FOnTimer;
        Handler(*this);
    }
}

void TTimerEx::ReleaseWorker() {
    if (FWorker) {
        FWorker->Terminate();
        FWorker.reset();
    }
}

void TTimerEx::Reconfigure() {
    // A worker whose loop ended after a handler error is never used again.
    if (FWorker && FWorker->Finished()) {
        ReleaseWorker();
    }
    // 1. Pause the worker; it takes the current settings with it.
    if (FWorker) {
        FWorker->Pause();
        FWorker->Configure(FInterval, FThreadPriority, FThreadSafe);
    }
    // 2. Stop the operating-system timer.
    if (FWindow) {
        FServices.loop.KillTimer(FWindow->Handle(), kTimerId);
    }
    if (FThreaded) {
        // 3. The worker replaces the hidden window.
        FWindow.reset();
        if (!FWorker) {
            FWorker = TTimerThread::Create(*this);
        }
    } else {
        // 4. The hidden window replaces the worker, which ends without firing.
        ReleaseWorker();
        if (!FWindow) {
            FWindow =
                FServices.loop.AllocateHWnd([this](platform::WindowHandle Window, unsigned Message,
                                                   std::uintptr_t WParam, std::intptr_t LParam) {
                    return WindowProcedure(Window, Message, WParam, LParam);
                });
            if (!FWindow) {
                throw EOutOfResources("Error creating window");
            }
        }
    }
    // 5. Start ticking when active.
    if (Active()) {
        if (FThreaded) {
            FWorker->Resume();
        } else if (!FServices.loop.SetTimer(FWindow->Handle(), kTimerId, FInterval)) {
            throw EOutOfResources(kNoMoreTimersText);
        }
    }
}

std::intptr_t TTimerEx::WindowProcedure(platform::WindowHandle Window, unsigned Message,
                                        std::uintptr_t WParam, std::intptr_t LParam) {
    if (Message == platform::kWmTimer) {
        // Fire may destroy this timer: nothing of it is touched after it returns.
        const std::shared_ptr<const TDispatchEvent> Dispatch = FDispatch;
        (*Dispatch)([this] { Fire(); });
        return 0;
    }
    return FServices.loop.DefWindowProcA(Window, Message, WParam, LParam);
}

// ---------------------------------------------------------------------------------------------
// TTimerThread

TTimerThread::TTimerThread(TToken, TTimerEx& Timer)
    : FLoop(Timer.FServices.loop), FSystem(Timer.FServices.system), FDispatch(Timer.FDispatch),
      FSync(FSystem.CreateThreadSync()), FTimer(&Timer), FInterval(Timer.FInterval),
      FPriority(Timer.FThreadPriority), FThreadSafe(Timer.FThreadSafe) {}

TTimerThread::~TTimerThread() = default;

std::shared_ptr<TTimerThread> TTimerThread::Create(TTimerEx& Timer) {
    auto Worker = std::make_shared<TTimerThread>(TToken{}, Timer);
    // The thread shares its own object; it is freed when the loop has ended and the timer
    // has forgotten it.
    Worker->FSystem.StartThread([Worker] { Worker->Execute(); }).detach();
    return Worker;
}

void TTimerThread::Pause() {
    std::lock_guard Lock(*FSync);
    FSuspended = true;
    FSync->NotifyAll();
}

void TTimerThread::Resume() {
    std::lock_guard Lock(*FSync);
    FSuspended = false;
    FSync->NotifyAll();
}

void TTimerThread::Configure(uint32_t Interval, TThreadPriority Priority, bool ThreadSafe) {
    std::lock_guard Lock(*FSync);
    FInterval = Interval;
    FPriority = Priority;
    FThreadSafe = ThreadSafe;
}

void TTimerThread::SetThreadSafe(bool Value) {
    std::lock_guard Lock(*FSync);
    FThreadSafe = Value;
}

void TTimerThread::Terminate() {
    std::unique_lock Lock(*FSync);
    FTerminated = true;
    FSync->NotifyAll();
    // A tick running on the worker itself (ThreadSafe) still uses the timer: wait for it,
    // unless this is that tick, destroying its own timer.
    // Nor may the worker be inside a call of the system service, which the owner may destroy
    // right after the timer.
    while ((FFiring || FInSystemCall) && std::this_thread::get_id() != FThreadId) {
        FSync->Wait(platform::kInfinite);
    }
    FTimer = nullptr;
}

bool TTimerThread::Suspended() const {
    std::lock_guard Lock(*FSync);
    return FSuspended;
}

bool TTimerThread::Finished() const {
    std::lock_guard Lock(*FSync);
    return FFinished;
}

void TTimerThread::WaitWhilePaused(std::unique_lock<platform::ThreadSync>& Lock) {
    for (;;) {
        while (FSuspended && !FTerminated) {
            FSync->Wait(platform::kInfinite);
        }
        if (FTerminated || FPriority == FApplied) {
            return;
        }
        // The lock is let go meanwhile: a pause may come in, so look again.
        ApplyPriority(Lock);
    }
}

void TTimerThread::ApplyPriority(std::unique_lock<platform::ThreadSync>& Lock) {
    while (FPriority != FApplied && !FTerminated) {
        FApplied = FPriority;
        SetOwnPriority(Lock);
    }
}

bool TTimerThread::SleepInterval(std::unique_lock<platform::ThreadSync>& Lock) {
    const uint32_t Length = FInterval;
    const uint32_t Start = FSystem.GetTickCount();
    for (;;) {
        if (FTerminated) {
            return false;
        }
        // A priority given meanwhile applies at once; the sleep goes on.
        ApplyPriority(Lock);
        const uint32_t Elapsed = FSystem.GetTickCount() - Start;
        if (Elapsed >= Length) {
            return true;
        }
        FSync->Wait(Length - Elapsed);
    }
}

void TTimerThread::SetOwnPriority(std::unique_lock<platform::ThreadSync>& Lock) {
    // The sim's lock is the system's own: the call is made without it, and Terminate waits
    // for it to return.
    FInSystemCall = true;
    Lock.unlock();
    FSystem.SetThreadPriority(WindowsThreadPriority(FApplied));
    Lock.lock();
    FInSystemCall = false;
    FSync->NotifyAll();
}

void TTimerThread::Execute() {
    std::unique_lock Lock(*FSync);
    FThreadId = std::this_thread::get_id();
    if (!FTerminated) {
        // A worker stopped before its thread ran never touches the services: they may be
        // gone already.
        FApplied = FPriority;
        SetOwnPriority(Lock);
    }
    for (;;) {
        WaitWhilePaused(Lock);
        if (FTerminated) {
            break;
        }
        if (FInterval == 0) {
            // Never fires; the timer pauses an inactive worker, this only guards the sleep.
            FSuspended = true;
            continue;
        }
        if (!SleepInterval(Lock)) {
            break;
        }
        // Pausing takes effect at once: a sleep that ran out while paused fires on resume.
        WaitWhilePaused(Lock);
        if (FTerminated) {
            break;
        }
        HandOff(Lock);
        if (FTerminated || FFinished) {
            break;
        }
    }
    FFinished = true;
    FSync->NotifyAll();
}

void TTimerThread::HandOff(std::unique_lock<platform::ThreadSync>& Lock) {
    if (FThreadSafe) {
        TTimerEx* Timer = FTimer;
        FFiring = true;
        Lock.unlock();
        std::exception_ptr Error;
        try {
            Timer->Fire();
        } catch (...) {
            Error = std::current_exception();
        }
        Lock.lock();
        FFiring = false;
        FSync->NotifyAll();
        if (Error) {
            FFinished = true;
            // The error box belongs to the UI thread; the timer may be gone by then.
            FLoop.Post([Dispatch = FDispatch, Error] {
                (*Dispatch)([&] { std::rethrow_exception(Error); });
            });
        }
        return;
    }
    Lock.unlock();
    // Runs on the UI thread, which alone sets FTerminated and destroys the timer; the worker
    // waits meanwhile. A tick handed off before a pause or a stop is dropped.
    auto Self = shared_from_this();
    const bool Delivered = FLoop.Send([Self] {
        TTimerEx* Timer = nullptr;
        {
            std::lock_guard Guard(*Self->FSync);
            if (!Self->FTerminated && !Self->FSuspended) {
                Timer = Self->FTimer;
            }
        }
        if (Timer == nullptr) {
            return;
        }
        bool Failed = false;
        const std::shared_ptr<const TDispatchEvent> Dispatch = Self->FDispatch;
        (*Dispatch)([&] {
            try {
                Timer->Fire();
            } catch (...) {
                Failed = true;
                throw;
            }
        });
        if (Failed) {
            std::lock_guard Guard(*Self->FSync);
            Self->FFinished = true;
        }
    });
    Lock.lock();
    if (!Delivered) {
        FFinished = true; // the loop has gone: nothing will ever run a tick again
    }
}

} // namespace quillop::gif
