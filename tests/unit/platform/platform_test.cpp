#include "backends/sim/world.h"
#include "platform/handles.h"
#include "platform/mul_div.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

namespace quillop::platform {
namespace {

TEST(Handles, WindowIdIsTheLow32BitsUnsigned) {
    EXPECT_EQ(window_id_text(65552), "65552");
    EXPECT_EQ(window_id_text(0), "0");
    EXPECT_EQ(window_id_text(handle_from_window_id(0x80000010u)), "2147483664");
    EXPECT_EQ(window_id_text(kHwndTopmost), "4294967295");
}

TEST(Handles, WidenLikeWindows) {
    EXPECT_EQ(handle_from_window_id(65552), WindowHandle{65552});
    EXPECT_EQ(handle_from_window_id(0xFFFFFFFFu), kHwndTopmost);
    EXPECT_EQ(handle_from_window_id(0xFFFFFFFEu), kHwndNoTopmost);
    if constexpr (sizeof(WindowHandle) == 8) {
        EXPECT_EQ(handle_from_window_id(0x80000010u), WindowHandle{0xFFFFFFFF80000010ull});
    }
}

TEST(MulDiv, RoundsHalfAwayFromZeroAndFailsLikeKernel32) {
    static_assert(MulDiv(11, 96, 72) == 15);
    EXPECT_EQ(MulDiv(10, 96, 72), 13);
    EXPECT_EQ(MulDiv(-11, 96, 72), -15);
    EXPECT_EQ(MulDiv(3, 1, 2), 2);
    EXPECT_EQ(MulDiv(-3, 1, 2), -2);
    EXPECT_EQ(MulDiv(5, 7, -2), -18);
    EXPECT_EQ(MulDiv(1, 1, 0), -1);
    EXPECT_EQ(MulDiv(0x40000000, 8, 1), -1);
}

TEST(SimDesktop, FaultSwitchesFailTheWayWindowsFails) {
    sim::Desktop d;
    const WindowHandle a = d.AddWindow("A");
    d.FailEnumWindows(true);
    int calls = 0;
    EXPECT_FALSE(d.EnumWindows([&](WindowHandle) { return ++calls, true; }));
    EXPECT_EQ(calls, 0);
    d.FailEnumWindows(false);

    d.FailGetWindowText(a);
    char buf[8] = "junk";
    EXPECT_EQ(d.GetWindowTextA(a, buf, 8), 0);
    EXPECT_EQ(buf[0], '\0');

    d.FailSetWindowPos(true);
    EXPECT_FALSE(d.SetWindowPos(a, kHwndTopmost, 0, 0, 0, 0, 0x13));
    EXPECT_FALSE(d.Find(a)->topmost);
    EXPECT_EQ(d.Calls().back(), "SetWindowPos(65552, -1, 0, 0, 0, 0, 0x13) -> 0");
}

TEST(SimDesktop, TopmostBandAndNotTopmost) {
    sim::Desktop d;
    const WindowHandle a = d.AddWindow("A");
    const WindowHandle b = d.AddWindow("B");
    const WindowHandle c = d.AddWindow("C");
    EXPECT_EQ(d.ZOrder(), (std::vector<WindowHandle>{a, b, c}));
    d.SetWindowPos(c, kHwndTopmost, 0, 0, 0, 0, 0x13);
    d.SetWindowPos(b, kHwndTopmost, 0, 0, 0, 0, 0x13);
    EXPECT_EQ(d.ZOrder(), (std::vector<WindowHandle>{b, c, a}));
    d.SetWindowPos(b, kHwndNoTopmost, 0, 0, 0, 0, 0x13);
    EXPECT_EQ(d.ZOrder(), (std::vector<WindowHandle>{c, b, a})); // top of the normal band
    EXPECT_FALSE(d.Find(b)->topmost);
}

TEST(SimLoop, ProcessMessagesRunsWhatArrivesMeanwhileAndRunStopsAtQuit) {
    sim::Loop loop;
    std::vector<int> order;
    loop.Post([&] {
        order.push_back(1);
        loop.Post([&] { order.push_back(3); });
    });
    loop.Post([&] { order.push_back(2); });
    loop.ProcessMessages();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
    loop.Post([&] {
        order.push_back(4);
        loop.Quit();
    });
    loop.Post([&] { order.push_back(5); });
    loop.Run();
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4}));
    EXPECT_EQ(loop.Pending(), 1u);
}

TEST(SimLoop, TimersFollowTheVirtualClockLikeWindowsTimers) {
    sim::World world;
    std::vector<std::string> got;
    auto window = world.loop.AllocateHWnd(
        [&](WindowHandle, unsigned message, std::uintptr_t id, std::intptr_t) -> std::intptr_t {
            got.push_back(std::to_string(message) + "/" + std::to_string(id) + "@" +
                          std::to_string(world.system.Now()));
            return 0;
        });
    const WindowHandle w = window->Handle();
    EXPECT_TRUE(world.loop.SetTimer(w, 1, 5)); // raised to 10
    EXPECT_TRUE(world.loop.SetTimer(w, 2, 25));
    world.loop.RunFor(30);
    EXPECT_EQ(got, (std::vector<std::string>{"275/1@10", "275/1@20", "275/2@25", "275/1@30"}));
    got.clear();
    // Periods missed while no messages are processed come as one message.
    world.system.Advance(100);
    world.loop.ProcessMessages();
    EXPECT_EQ(got, (std::vector<std::string>{"275/1@130", "275/2@130"}));
    EXPECT_TRUE(world.loop.KillTimer(w, 1));
    EXPECT_FALSE(world.loop.KillTimer(w, 1));
    world.loop.FailSetTimer(true);
    EXPECT_FALSE(world.loop.SetTimer(w, 1, 10));
    world.loop.FailSetTimer(false);
    window.reset(); // takes its timers with it
    EXPECT_EQ(world.loop.Timers(), 0u);
    EXPECT_FALSE(world.loop.SetTimer(w, 1, 10));
    const std::string h = std::to_string(w);
    EXPECT_EQ(world.loop.Calls(), (std::vector<std::string>{
                                      "AllocateHWnd -> " + h,
                                      "SetTimer(" + h + ", 1, 5) -> 1",
                                      "SetTimer(" + h + ", 2, 25) -> 1",
                                      "KillTimer(" + h + ", 1) -> 1",
                                      "KillTimer(" + h + ", 1) -> 0",
                                      "SetTimer(" + h + ", 1, 10) -> 0",
                                      "DeallocateHWnd(" + h + ")",
                                      "SetTimer(" + h + ", 1, 10) -> 0",
                                  }));
}

TEST(SimLoop, SendFromAnotherThreadRunsOnTheLoopsThreadAndWaits) {
    sim::World world;
    const auto ui = std::this_thread::get_id();
    std::vector<std::string> order;
    bool sent = false;
    std::thread worker = world.system.StartThread([&] {
        sent = world.loop.Send([&] {
            EXPECT_EQ(std::this_thread::get_id(), ui);
            order.push_back("sent");
        });
        order.push_back("after");
    });
    world.system.Settle(); // the worker now waits in Send
    EXPECT_EQ(world.loop.Pending(), 1u);
    EXPECT_EQ(order, std::vector<std::string>{});
    world.loop.ProcessMessages(); // runs it, then lets the worker run on to its end
    EXPECT_EQ(order, (std::vector<std::string>{"sent", "after"}));
    EXPECT_TRUE(sent);
    worker.join();
    // On the loop's own thread it runs at once.
    EXPECT_TRUE(world.loop.Send([&] { order.push_back("direct"); }));
    EXPECT_EQ(order.back(), "direct");
}

TEST(SimLoop, SendStillWaitingWhenTheLoopGoesReturnsFalse) {
    sim::System system;
    bool sent = true;
    std::thread worker;
    {
        sim::Loop loop(system);
        worker = system.StartThread([&] { sent = loop.Send([] { ADD_FAILURE() << "ran"; }); });
        system.Settle();
    }
    worker.join();
    EXPECT_FALSE(sent);
}

TEST(SimMessageBoxes, RecordsFixedCaptionsAndAnswersFromTheScript) {
    sim::MessageBoxes boxes;
    boxes.Script(BoxAnswer::No);
    EXPECT_EQ(boxes.Show(BoxKind::WarningQuestion, "Sure?", "ignored"), BoxAnswer::No);
    EXPECT_EQ(boxes.Show(BoxKind::WarningQuestion, "Again?", "ignored"), BoxAnswer::None);
    EXPECT_EQ(boxes.Show(BoxKind::Information, "i", "ignored"), BoxAnswer::Ok);
    EXPECT_EQ(boxes.Show(BoxKind::Error, "e", "ignored"), BoxAnswer::Ok);
    EXPECT_EQ(boxes.Show(BoxKind::ApplicationError, "a", "Quillop"), BoxAnswer::Ok);
    std::vector<std::string> captions;
    for (const auto& b : boxes.Shown()) {
        captions.push_back(b.caption);
    }
    EXPECT_EQ(captions,
              (std::vector<std::string>{"Warning", "Warning", "Information", "Error", "Quillop"}));
}

TEST(SimSystem, ModuleFileNameIsCutLikeWindows) {
    sim::System s;
    s.SetModuleFileName("C:\\Q\\Quillop.exe");
    char big[64];
    EXPECT_EQ(s.GetModuleFileNameA(big, 64), 16);
    EXPECT_STREQ(big, "C:\\Q\\Quillop.exe");
    char small[5];
    EXPECT_EQ(s.GetModuleFileNameA(small, 5), 5);
    EXPECT_STREQ(small, "C:\\Q");
}

} // namespace
} // namespace quillop::platform
