// Contract cases for the loop's hidden windows, timers and Send: the same cases over the sim and
// over Win32 under Wine. Counts are exact: each case stops its timer from its procedure, then
// lets time pass to see that nothing more arrives.
#include "loop_world.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quillop::contract {
namespace {

using platform::WindowHandle;

class LoopContract : public ::testing::Test {
protected:
    std::unique_ptr<LoopWorld> world = MakeLoopWorld();
    platform::Loop& loop = world->loop();
};

TEST_F(LoopContract, TimerMessagesCarryTheirIdAndEndWithKillTimer) {
    std::vector<std::uintptr_t> ids;
    auto window =
        loop.AllocateHWnd([&](WindowHandle w, unsigned message, std::uintptr_t id, std::intptr_t) {
            if (message == platform::kWmTimer) {
                ids.push_back(id);
                if (id == 1 || ids.size() >= 4) {
                    EXPECT_TRUE(loop.KillTimer(w, id));
                }
            }
            return std::intptr_t{0};
        });
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(loop.SetTimer(window->Handle(), 1, 10));
    EXPECT_TRUE(loop.SetTimer(window->Handle(), 9, 10));
    EXPECT_TRUE(world->RunUntil([&] { return ids.size() >= 4; }, 10000));
    world->RunUntil([] { return false; }, 100);
    ASSERT_EQ(ids.size(), 4u);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 1u), 1);
    EXPECT_EQ(std::count(ids.begin(), ids.end(), 9u), 3);
    EXPECT_FALSE(loop.KillTimer(window->Handle(), 1)); // already gone
}

TEST_F(LoopContract, SetTimerAgainReplacesTheTimer) {
    auto window = loop.AllocateHWnd(
        [](WindowHandle, unsigned, std::uintptr_t, std::intptr_t) { return std::intptr_t{0}; });
    EXPECT_TRUE(loop.SetTimer(window->Handle(), 1, 1000));
    EXPECT_TRUE(loop.SetTimer(window->Handle(), 1, 50));
    EXPECT_TRUE(loop.KillTimer(window->Handle(), 1));
    EXPECT_FALSE(loop.KillTimer(window->Handle(), 1));
    EXPECT_FALSE(loop.KillTimer(window->Handle(), 2)); // never set
}

TEST_F(LoopContract, AReleasedWindowTakesItsTimersAndTakesNoNewOnes) {
    auto window = loop.AllocateHWnd(
        [](WindowHandle, unsigned, std::uintptr_t, std::intptr_t) { return std::intptr_t{0}; });
    const WindowHandle handle = window->Handle();
    EXPECT_TRUE(loop.SetTimer(handle, 1, 10));
    window.reset();
    EXPECT_FALSE(loop.KillTimer(handle, 1));
    EXPECT_FALSE(loop.SetTimer(handle, 1, 10));
}

TEST_F(LoopContract, AProcedureMayReleaseItsOwnWindow) {
    int ticks = 0;
    std::unique_ptr<platform::MessageWindow> window;
    window = loop.AllocateHWnd([&](WindowHandle, unsigned message, std::uintptr_t, std::intptr_t) {
        if (message == platform::kWmTimer) {
            ++ticks;
            window.reset();
        }
        return std::intptr_t{0};
    });
    EXPECT_TRUE(loop.SetTimer(window->Handle(), 1, 10));
    EXPECT_TRUE(world->RunUntil([&] { return window == nullptr; }, 10000));
    world->RunUntil([] { return false; }, 100);
    EXPECT_EQ(ticks, 1);
}

TEST_F(LoopContract, SendOnTheLoopsThreadRunsAtOncePostRunsLater) {
    std::vector<int> order;
    loop.Post([&] { order.push_back(2); });
    EXPECT_TRUE(loop.Send([&] { order.push_back(1); }));
    EXPECT_EQ(order, std::vector<int>{1});
    world->RunUntil([&] { return order.size() == 2; }, 10000);
    EXPECT_EQ(order, (std::vector<int>{1, 2}));
}

TEST_F(LoopContract, DefWindowProcAnswersZeroToATimerMessage) {
    auto window = loop.AllocateHWnd(
        [](WindowHandle, unsigned, std::uintptr_t, std::intptr_t) { return std::intptr_t{0}; });
    EXPECT_EQ(loop.DefWindowProcA(window->Handle(), platform::kWmTimer, 1, 0), 0);
}

} // namespace
} // namespace quillop::contract
