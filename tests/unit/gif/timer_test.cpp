// TTimerEx on the sim's virtual clock and loop, in both modes. Worker threads are real; the sim
// steps them, so tick times are exact. These tests also run under ThreadSanitizer.
#include "backends/sim/world.h"
#include "gif/TimerEx.h"
#include "ui/application.h"
#include "ui/error.h"

#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace quillop::gif {
namespace {

using platform::BoxKind;
using platform::sim::ShownBox;
using Ticks = std::vector<std::uint64_t>;

enum class Mode { Unthreaded, Threaded, ThreadSafe };
constexpr Mode kModes[] = {Mode::Unthreaded, Mode::Threaded, Mode::ThreadSafe};
const char* Name(Mode m) {
    return m == Mode::Unthreaded ? "unthreaded" : m == Mode::Threaded ? "threaded" : "threadsafe";
}

struct Fixture {
    platform::sim::World world;
    ui::Application app{world.services, nullptr};
    std::unique_ptr<TTimerEx> timer = std::make_unique<TTimerEx>(
        world.services, [this](const std::function<void()>& h) { app.Dispatch(h); });
    Ticks ticks;                           // virtual time of every tick
    std::vector<std::thread::id> fired_on; // thread of every tick
    std::function<void(TTimerEx&)> also;   // run by the handler after recording

    TTimerEvent Recorder() {
        return [this](TTimerEx& sender) {
            EXPECT_EQ(&sender, timer.get());
            ticks.push_back(world.system.Now());
            fired_on.push_back(std::this_thread::get_id());
            if (also) {
                also(sender);
            }
        };
    }
    // An active timer of 100 ms in the given mode, started at time 0.
    void Start(Mode mode, std::uint32_t interval = 100) {
        timer->SetInterval(interval);
        timer->SetThreadSafe(mode == Mode::ThreadSafe);
        timer->SetThreaded(mode != Mode::Unthreaded);
        timer->SetOnTimer(Recorder());
    }
    std::string W() const { return std::to_string(window); }
    platform::WindowHandle window = 0x7F0000; // the sim's first hidden window
};

TEST(TTimerEx, DefaultsAndPriorityTable) {
    Fixture f;
    EXPECT_TRUE(f.timer->Enabled());
    EXPECT_EQ(f.timer->Interval(), 1000u);
    EXPECT_FALSE(f.timer->Threaded());
    EXPECT_EQ(f.timer->ThreadPriority(), tpNormal);
    EXPECT_FALSE(f.timer->ThreadSafe());
    EXPECT_FALSE(f.timer->OnTimer());
    // Create makes the hidden window and starts nothing.
    EXPECT_EQ(f.world.loop.Calls(), (std::vector<std::string>{"AllocateHWnd -> " + f.W()}));

    EXPECT_THROW(TTimerEx(f.world.services, nullptr), std::invalid_argument);

    const std::pair<TThreadPriority, int> table[] = {
        {tpIdle, -15}, {tpLowest, -2}, {tpLower, -1},        {tpNormal, 0},
        {tpHigher, 1}, {tpHighest, 2}, {tpTimeCritical, 15},
    };
    for (const auto& [level, windows] : table) {
        EXPECT_EQ(WindowsThreadPriority(level), windows) << int(level);
    }
}

TEST(TTimerEx, TicksEveryIntervalOnTheRightThread) {
    for (Mode mode : kModes) {
        SCOPED_TRACE(Name(mode));
        Fixture f;
        f.Start(mode);
        f.world.loop.RunFor(350);
        EXPECT_EQ(f.ticks, (Ticks{100, 200, 300}));
        for (auto id : f.fired_on) {
            EXPECT_EQ(id == std::this_thread::get_id(), mode != Mode::ThreadSafe);
        }
    }
}

TEST(TTimerEx, FireCallsTheHandlerOnlyWhileEnabledWithAHandler) {
    Fixture f;
    f.timer->SetOnTimer(f.Recorder());
    f.timer->Fire();
    EXPECT_EQ(f.ticks.size(), 1u);
    f.timer->SetEnabled(false);
    f.timer->Fire();
    EXPECT_EQ(f.ticks.size(), 1u);
    f.timer->SetEnabled(true);
    f.timer->SetOnTimer(nullptr);
    f.timer->Fire(); // nothing to call
    EXPECT_EQ(f.ticks.size(), 1u);
}

// Both paths tick through Fire, which a derived class may replace.
class TCountingTimer : public TTimerEx {
public:
    using TTimerEx::TTimerEx;
    ~TCountingTimer() override { SetEnabled(false); }
    void Fire() override { ++Fired; }
    std::atomic<int> Fired{0};
};

TEST(TTimerEx, EveryPathTicksThroughFire) {
    for (Mode mode : kModes) {
        SCOPED_TRACE(Name(mode));
        platform::sim::World world;
        TCountingTimer timer(world.services, [](const std::function<void()>& h) { h(); });
        timer.SetInterval(100);
        timer.SetThreadSafe(mode == Mode::ThreadSafe);
        timer.SetThreaded(mode != Mode::Unthreaded);
        timer.SetOnTimer([](TTimerEx&) { ADD_FAILURE() << "the override ticks, not the handler"; });
        world.loop.RunFor(250);
        EXPECT_EQ(timer.Fired, 2);
    }
}

TEST(TTimerEx, NeverFiresWhenIntervalIsZeroDisabledOrWithoutHandler) {
    const std::function<void(Fixture&)> inactive[] = {
        [](Fixture& f) { f.timer->SetInterval(0); },
        [](Fixture& f) { f.timer->SetEnabled(false); },
        [](Fixture& f) { f.timer->SetOnTimer(nullptr); },
    };
    for (Mode mode : kModes) {
        for (std::size_t i = 0; i < std::size(inactive); ++i) {
            SCOPED_TRACE(std::string(Name(mode)) + " case " + std::to_string(i));
            Fixture f;
            inactive[i](f);
            f.Start(mode);
            inactive[i](f);
            f.world.loop.RunFor(5000);
            EXPECT_EQ(f.ticks, Ticks{});
            EXPECT_EQ(f.world.loop.Timers(), 0u);
            // Mode resources do not depend on activity.
            EXPECT_EQ(f.world.loop.Windows(), mode == Mode::Unthreaded ? 1u : 0u);
            EXPECT_EQ(f.world.system.LiveThreads(), mode == Mode::Unthreaded ? 0 : 1);
        }
    }
}

TEST(TTimerEx, SettingTheSameValueDoesNothingExceptForOnTimer) {
    Fixture f;
    f.Start(Mode::Unthreaded);
    f.world.loop.ClearCalls();
    f.timer->SetEnabled(true);
    f.timer->SetInterval(100);
    f.timer->SetThreaded(false);
    f.timer->SetThreadPriority(tpNormal);
    f.timer->SetThreadPriority(tpHighest); // unthreaded: only stored
    f.timer->SetThreadSafe(false);
    EXPECT_EQ(f.world.loop.Calls(), std::vector<std::string>{});
    EXPECT_EQ(f.timer->ThreadPriority(), tpHighest);

    f.timer->SetOnTimer(f.timer->OnTimer());
    EXPECT_EQ(f.world.loop.Calls(),
              (std::vector<std::string>{"KillTimer(" + f.W() + ", 1) -> 1",
                                        "SetTimer(" + f.W() + ", 1, 100) -> 1"}));

    // Threaded: the same priority gives the worker nothing, another one is given at once.
    f.timer->SetThreaded(true);
    f.world.system.Settle();
    f.timer->SetThreadPriority(tpHighest);
    f.world.system.Settle();
    EXPECT_EQ(f.world.system.Calls(), (std::vector<std::string>{"thread 1: SetThreadPriority(2)"}));
    f.timer->SetThreadPriority(tpLower);
    f.world.system.Settle();
    EXPECT_EQ(f.world.system.Calls(),
              (std::vector<std::string>{"thread 1: SetThreadPriority(2)",
                                        "thread 1: SetThreadPriority(-1)"}));
}

TEST(TTimerEx, IntervalSetInsideTheHandlerRestartsThePeriodOnlyWhenItChanges) {
    {
        Fixture f;
        f.also = [](TTimerEx& t) { t.SetInterval(100); };
        f.Start(Mode::Unthreaded);
        f.world.loop.RunFor(350);
        EXPECT_EQ(f.ticks, (Ticks{100, 200, 300}));
    }
    {
        Fixture f;
        f.also = [](TTimerEx& t) { t.SetInterval(t.Interval() == 100 ? 30 : 100); };
        f.Start(Mode::Unthreaded);
        f.world.loop.RunFor(300);
        EXPECT_EQ(f.ticks, (Ticks{100, 130, 230, 260}));
    }
    {
        // A value set outside the handler restarts the period from that moment too.
        Fixture f;
        f.Start(Mode::Unthreaded);
        f.world.loop.RunFor(170);
        f.timer->SetInterval(50);
        f.world.loop.RunFor(100);
        EXPECT_EQ(f.ticks, (Ticks{100, 220, 270}));
    }
    {
        // Threaded: a new Interval applies from the next sleep on.
        Fixture f;
        f.also = [](TTimerEx& t) { t.SetInterval(30); };
        f.Start(Mode::Threaded);
        f.world.loop.RunFor(170);
        EXPECT_EQ(f.ticks, (Ticks{100, 130, 160}));
    }
}

TEST(TTimerEx, ThreadPriorityStoredUnthreadedIsGivenToALaterWorker) {
    Fixture f;
    f.Start(Mode::Unthreaded);
    f.timer->SetThreadPriority(tpTimeCritical);
    f.world.loop.RunFor(100);
    EXPECT_EQ(f.world.system.Calls(), std::vector<std::string>{});
    f.timer->SetThreaded(true);
    f.world.loop.RunFor(100);
    EXPECT_EQ(f.world.system.Calls(),
              (std::vector<std::string>{"thread 1: SetThreadPriority(15)"}));
    EXPECT_EQ(f.ticks, (Ticks{100, 200}));
}

TEST(TTimerEx, SwitchingModesNeverGivesADoubleTick) {
    for (Mode mode : {Mode::Threaded, Mode::ThreadSafe}) {
        SCOPED_TRACE(Name(mode));
        Fixture f;
        f.Start(mode);
        if (mode == Mode::Threaded) {
            // The worker has handed its tick off at 100; then the mode changes.
            f.world.system.Advance(100);
            EXPECT_EQ(f.world.loop.Pending(), 1u);
            f.timer->SetThreaded(false);
            f.world.loop.ProcessMessages();
            EXPECT_EQ(f.ticks, Ticks{});
        } else {
            f.world.loop.RunFor(100);
            f.timer->SetThreaded(false);
        }
        // Back and forth within one period: one fresh worker, the others end without firing.
        f.world.loop.RunFor(50);
        f.timer->SetThreaded(true);
        f.timer->SetThreaded(false);
        f.timer->SetThreaded(true);
        f.world.loop.RunFor(250);
        f.world.system.Settle();
        EXPECT_EQ(f.world.system.LiveThreads(), 1);
        if (mode == Mode::Threaded) {
            EXPECT_EQ(f.ticks, (Ticks{250, 350}));
        } else {
            EXPECT_EQ(f.ticks, (Ticks{100, 250, 350}));
        }
    }
}

TEST(TTimerEx, ATickHandedOffAfterDisablingIsDropped) {
    const std::function<void(TTimerEx&)> stops[] = {
        [](TTimerEx& t) { t.SetEnabled(false); },
        [](TTimerEx& t) { t.SetOnTimer(nullptr); },
        [](TTimerEx& t) { t.SetInterval(0); },
    };
    for (std::size_t i = 0; i < std::size(stops); ++i) {
        SCOPED_TRACE(i);
        Fixture f;
        f.Start(Mode::Threaded);
        f.world.system.Advance(100);
        EXPECT_EQ(f.world.loop.Pending(), 1u);
        stops[i](*f.timer);
        f.world.loop.RunFor(1000);
        EXPECT_EQ(f.ticks, Ticks{});
    }
}

TEST(TTimerEx, PausingTakesEffectAtOnceAndResumingKeepsTheSleep) {
    Fixture f;
    f.Start(Mode::Threaded);
    f.world.loop.RunFor(50);
    f.timer->SetEnabled(false);
    f.world.loop.RunFor(100);
    EXPECT_EQ(f.world.loop.Pending(), 0u);
    EXPECT_EQ(f.ticks, Ticks{});
    // The sleep begun at 0 ran out at 100 while paused: it fires as soon as it is resumed.
    f.timer->SetEnabled(true);
    f.world.loop.RunFor(150);
    EXPECT_EQ(f.ticks, (Ticks{150, 250}));
}

TEST(TTimerEx, DestroyedFromInsideItsHandler) {
    for (Mode mode : {Mode::Unthreaded, Mode::Threaded}) {
        SCOPED_TRACE(Name(mode));
        Fixture f;
        f.also = [&f](TTimerEx&) { f.timer.reset(); };
        f.Start(mode);
        f.world.loop.RunFor(500);
        f.world.system.Settle();
        EXPECT_EQ(f.timer, nullptr);
        EXPECT_EQ(f.ticks, Ticks{100});
        EXPECT_EQ(f.world.loop.Windows(), 0u);
        EXPECT_EQ(f.world.loop.Timers(), 0u);
        EXPECT_EQ(f.world.system.LiveThreads(), 0);
        EXPECT_EQ(f.world.boxes.Shown(), std::vector<ShownBox>{});
    }
}

TEST(TTimerEx, DestroyedWhileItsWorkerWaitsForTheUIThread) {
    Fixture f;
    f.Start(Mode::Threaded);
    f.world.system.Advance(100);
    EXPECT_EQ(f.world.loop.Pending(), 1u); // the worker waits in Send
    f.timer.reset();                       // does not wait for it
    f.world.loop.RunFor(500);
    f.world.system.Settle();
    EXPECT_EQ(f.ticks, Ticks{});
    EXPECT_EQ(f.world.system.LiveThreads(), 0);
}

TEST(TTimerEx, HandlerErrorGoesToTheErrorBoxAndTickingGoesOn) {
    Fixture f;
    f.also = [&f](TTimerEx&) {
        if (f.ticks.size() == 1) {
            throw Error("Frame lost");
        }
    };
    f.Start(Mode::Unthreaded);
    f.world.loop.RunFor(300);
    EXPECT_EQ(f.ticks, (Ticks{100, 200, 300}));
    EXPECT_EQ(f.world.boxes.Shown(),
              (std::vector<ShownBox>{{BoxKind::ApplicationError, "Frame lost.", "Quillop"}}));
}

TEST(TTimerEx, ThreadedHandlerErrorEndsTheWorkerAndTheNextChangeMakesAFreshOne) {
    for (Mode mode : {Mode::Threaded, Mode::ThreadSafe}) {
        SCOPED_TRACE(Name(mode));
        Fixture f;
        f.also = [&f](TTimerEx&) {
            if (f.ticks.size() == 1) {
                throw Error("Frame lost");
            }
        };
        f.Start(mode);
        f.world.loop.RunFor(300);
        EXPECT_EQ(f.ticks, Ticks{100});
        EXPECT_EQ(f.world.boxes.Shown(),
                  (std::vector<ShownBox>{{BoxKind::ApplicationError, "Frame lost.", "Quillop"}}));
        EXPECT_EQ(f.world.system.LiveThreads(), 0);
        f.timer->SetInterval(50); // at 300
        f.world.loop.RunFor(120);
        EXPECT_EQ(f.ticks, (Ticks{100, 350, 400}));
        EXPECT_EQ(f.world.system.Calls(), (std::vector<std::string>{
                                              "thread 1: SetThreadPriority(0)",
                                              "thread 2: SetThreadPriority(0)",
                                          }));
    }
}

TEST(TTimerEx, NoMoreTimersAvailableGoesToWhoeverChangedTheProperty) {
    Fixture f;
    f.timer->SetInterval(100);
    f.world.loop.FailSetTimer(true);
    try {
        f.timer->SetOnTimer(f.Recorder());
        FAIL() << "no error";
    } catch (const EOutOfResources& e) {
        EXPECT_STREQ(e.what(), "No More Timers Available");
    }
    EXPECT_TRUE(f.timer->OnTimer()); // the value stays
    f.world.loop.RunFor(500);
    EXPECT_EQ(f.ticks, Ticks{});

    // Through the error boundary, as a handler that changed it would see it.
    f.app.Dispatch([&] { f.timer->SetInterval(40); });
    EXPECT_EQ(f.timer->Interval(), 40u);
    EXPECT_EQ(f.world.boxes.Shown(),
              (std::vector<ShownBox>{
                  {BoxKind::ApplicationError, "No More Timers Available.", "Quillop"}}));
    f.world.loop.FailSetTimer(false);
    f.timer->SetInterval(100); // at 500
    f.world.loop.RunFor(100);
    EXPECT_EQ(f.ticks, Ticks{600});
}

} // namespace
} // namespace quillop::gif
