#include "platform/handles.h"
#include "platform/mul_div.h"
#include "platform/sim/world.h"

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

namespace quillop::platform {
namespace {

TEST(Handles, WindowIdIsTheLow32BitsUnsigned) {
    EXPECT_EQ(window_id_text(65552), "65552");
    EXPECT_EQ(window_id_text(0), "0");
    EXPECT_EQ(window_id_text(handle_from_window_id(0x80000010u)), "2147483664");
    EXPECT_EQ(window_id_text(HWND_TOPMOST), "4294967295");
}

TEST(Handles, WidenLikeWindows) {
    EXPECT_EQ(handle_from_window_id(65552), WindowHandle{65552});
    EXPECT_EQ(handle_from_window_id(0xFFFFFFFFu), HWND_TOPMOST);
    EXPECT_EQ(handle_from_window_id(0xFFFFFFFEu), HWND_NOTOPMOST);
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
    EXPECT_FALSE(d.SetWindowPos(a, HWND_TOPMOST, 0, 0, 0, 0, 0x13));
    EXPECT_FALSE(d.Find(a)->topmost);
    EXPECT_EQ(d.Calls().back(), "SetWindowPos(65552, -1, 0, 0, 0, 0, 0x13) -> 0");
}

TEST(SimDesktop, TopmostBandAndNotTopmost) {
    sim::Desktop d;
    const WindowHandle a = d.AddWindow("A");
    const WindowHandle b = d.AddWindow("B");
    const WindowHandle c = d.AddWindow("C");
    EXPECT_EQ(d.ZOrder(), (std::vector<WindowHandle>{a, b, c}));
    d.SetWindowPos(c, HWND_TOPMOST, 0, 0, 0, 0, 0x13);
    d.SetWindowPos(b, HWND_TOPMOST, 0, 0, 0, 0, 0x13);
    EXPECT_EQ(d.ZOrder(), (std::vector<WindowHandle>{b, c, a}));
    d.SetWindowPos(b, HWND_NOTOPMOST, 0, 0, 0, 0, 0x13);
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

TEST(SimLoop, WorkPostedFromOtherThreadsRunsOnTheLoopsThreadInOrder) {
    // Worker threads post while this thread processes messages, as a timer's worker will.
    sim::Loop loop;
    constexpr int kThreads = 4;
    constexpr int kPosts = 20000;
    std::vector<std::vector<int>> ran(kThreads); // written by the loop's thread only
    const std::thread::id loop_thread = std::this_thread::get_id();
    std::atomic<int> off_thread{0};
    std::atomic<int> done{0};
    std::atomic<int> ready{0};
    std::vector<std::thread> workers;
    for (int t = 0; t < kThreads; ++t) {
        workers.emplace_back([&, t] {
            // All start together, so that posts meet posts and the draining.
            ++ready;
            while (ready < kThreads) {
                std::this_thread::yield();
            }
            for (int i = 0; i < kPosts; ++i) {
                loop.Post([&, t, i] {
                    if (std::this_thread::get_id() != loop_thread) {
                        ++off_thread;
                    }
                    ran[static_cast<std::size_t>(t)].push_back(i);
                });
            }
            ++done;
        });
    }
    while (done < kThreads) {
        loop.ProcessMessages();
    }
    for (std::thread& w : workers) {
        w.join();
    }
    loop.ProcessMessages();
    EXPECT_EQ(loop.Pending(), 0u);
    EXPECT_EQ(off_thread, 0);
    std::vector<int> expected(kPosts);
    for (int i = 0; i < kPosts; ++i) {
        expected[static_cast<std::size_t>(i)] = i;
    }
    for (int t = 0; t < kThreads; ++t) {
        EXPECT_EQ(ran[static_cast<std::size_t>(t)], expected) << t;
    }
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
