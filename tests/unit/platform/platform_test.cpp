#include "backends/sim/world.h"
#include "platform/handles.h"
#include "platform/mul_div.h"

#include <gtest/gtest.h>

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
