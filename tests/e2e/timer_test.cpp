// TTimerEx on the real platform under Wine: timer 1 of a hidden message window, and the worker
// handing its tick to this (the UI) thread with SendMessage, or firing on itself. The counts
// are exact: the handler disables the timer at its third tick, and the test then pumps on for
// a while to see that nothing more arrives. The only time limits are time-outs.
#include "gif/TimerEx.h"

#include "win32_services.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <memory>
#include <vector>

namespace quillop::platform::win32 {
namespace {

using gif::TTimerEx;

// Pumps messages until done() or ms milliseconds have passed.
template <typename Done> void PumpUntil(Loop& loop, int ms, Done done) {
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < static_cast<DWORD>(ms)) {
        loop.ProcessMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
}

enum class Mode { Unthreaded, Threaded, ThreadSafe };

TEST(Win32TimerEx, FiresThroughTheHiddenWindowOrTheWorkerThenStopsWhenDisabled) {
    for (Mode mode : {Mode::Unthreaded, Mode::Threaded, Mode::ThreadSafe}) {
        SCOPED_TRACE(static_cast<int>(mode));
        Win32Services s;
        std::atomic<int> ticks{0};
        std::atomic<int> on_ui_thread{0};
        const DWORD ui = GetCurrentThreadId();
        TTimerEx timer(s.services, [](const std::function<void()>& h) { h(); });
        timer.SetInterval(20);
        timer.SetThreadSafe(mode == Mode::ThreadSafe);
        timer.SetThreaded(mode != Mode::Unthreaded);
        timer.SetOnTimer([&](TTimerEx& sender) {
            on_ui_thread += GetCurrentThreadId() == ui ? 1 : 0;
            if (++ticks == 3 && mode != Mode::ThreadSafe) {
                sender.SetEnabled(false); // from inside the handler, on the UI thread
            }
        });
        PumpUntil(s.loop, 10000, [&] { return ticks >= 3; });
        if (mode == Mode::ThreadSafe) {
            timer.SetEnabled(false);
        }
        const int seen = ticks;
        PumpUntil(s.loop, 300, [] { return false; });
        EXPECT_EQ(ticks, seen); // nothing after disabling
        if (mode == Mode::ThreadSafe) {
            EXPECT_GE(seen, 3);
            EXPECT_EQ(on_ui_thread, 0);
        } else {
            EXPECT_EQ(seen, 3);
            EXPECT_EQ(on_ui_thread, 3);
        }
    }
}

TEST(Win32TimerEx, DestroyedFromInsideItsHandlerInBothModes) {
    for (bool threaded : {false, true}) {
        SCOPED_TRACE(threaded);
        Win32Services s;
        int ticks = 0;
        auto timer =
            std::make_unique<TTimerEx>(s.services, [](const std::function<void()>& h) { h(); });
        timer->SetInterval(20);
        timer->SetThreaded(threaded);
        timer->SetOnTimer([&](TTimerEx&) {
            ++ticks;
            timer.reset();
        });
        PumpUntil(s.loop, 10000, [&] { return timer == nullptr; });
        PumpUntil(s.loop, 200, [] { return false; });
        EXPECT_EQ(ticks, 1);
    }
}

TEST(Win32TimerEx, HandlerErrorReachesTheDispatcherOnTheUIThread) {
    Win32Services s;
    std::vector<std::string> errors;
    const DWORD ui = GetCurrentThreadId();
    TTimerEx timer(s.services, [&](const std::function<void()>& h) {
        try {
            h();
        } catch (const std::exception& e) {
            EXPECT_EQ(GetCurrentThreadId(), ui);
            errors.push_back(e.what());
        }
    });
    timer.SetInterval(20);
    timer.SetThreaded(true);
    timer.SetOnTimer([](TTimerEx&) { throw std::runtime_error("late frame"); });
    PumpUntil(s.loop, 10000, [&] { return !errors.empty(); });
    PumpUntil(s.loop, 200, [] { return false; }); // the worker has ended: no second error
    EXPECT_EQ(errors, std::vector<std::string>{"late frame"});
}

TEST(Win32Loop, TimerMessagesReachTheHiddenWindowsProcedure) {
    Loop loop;
    std::vector<std::uintptr_t> ids;
    HWND seen = nullptr;
    auto window = loop.AllocateHWnd(
        [&](WindowHandle w, unsigned message, std::uintptr_t wparam, std::intptr_t) {
            if (message == kWmTimer) {
                ids.push_back(wparam);
                seen = ToHwnd(w);
                loop.KillTimer(w, wparam);
            }
            return std::intptr_t{0};
        });
    ASSERT_NE(window, nullptr);
    // A message-only window: not among the desktop's top-level windows.
    bool listed = false;
    Desktop desktop;
    desktop.EnumWindows([&](WindowHandle w) {
        listed = listed || w == window->Handle();
        return true;
    });
    EXPECT_FALSE(listed);
    EXPECT_FALSE(IsWindowVisible(ToHwnd(window->Handle())));
    EXPECT_TRUE(loop.SetTimer(window->Handle(), 7, 15));
    PumpUntil(loop, 10000, [&] { return !ids.empty(); });
    PumpUntil(loop, 100, [] { return false; });
    EXPECT_EQ(ids, std::vector<std::uintptr_t>{7});
    EXPECT_EQ(seen, ToHwnd(window->Handle()));
    const HWND native = ToHwnd(window->Handle());
    window.reset();
    EXPECT_FALSE(IsWindow(native));
}

TEST(Win32Loop, SendFromAWorkerRunsOnTheUIThreadAndWaits) {
    Win32Services s;
    const DWORD ui = GetCurrentThreadId();
    std::atomic<DWORD> ran_on{0};
    std::atomic<bool> returned{false};
    bool sent = false;
    std::thread worker = s.system.StartThread([&] {
        sent = s.loop.Send([&] { ran_on = GetCurrentThreadId(); });
        returned = true;
    });
    PumpUntil(s.loop, 10000, [&] { return returned.load(); });
    worker.join();
    EXPECT_TRUE(sent);
    EXPECT_EQ(ran_on, ui);
}

} // namespace
} // namespace quillop::platform::win32
