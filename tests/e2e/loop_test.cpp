// The Win32 message loop: posted work runs later, in order, from the loop; Quit ends Run.
#include "win32_services.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

namespace quillop::platform::win32 {
namespace {

TEST(Win32Loop, PostedWorkRunsLaterInOrderFromProcessMessages) {
    Loop loop;
    std::vector<int> ran;
    loop.Post([&] { ran.push_back(1); });
    loop.Post([&] {
        ran.push_back(2);
        loop.Post([&] { ran.push_back(3); }); // posted while running: runs after
    });
    EXPECT_TRUE(ran.empty());
    loop.ProcessMessages();
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(Win32Loop, RunDispatchesUntilQuit) {
    Loop loop;
    std::vector<int> ran;
    loop.Post([&] { ran.push_back(1); });
    loop.Post([&] {
        ran.push_back(2);
        loop.Quit();
    });
    loop.Post([&] { ran.push_back(3); });
    loop.Run();
    EXPECT_EQ(ran, (std::vector<int>{1, 2}));
    // The rest stays queued for the next round of the loop.
    loop.ProcessMessages();
}

TEST(Win32Loop, PostedWorkAlsoRunsInsideAModalLoop) {
    Loop loop;
    bool ran = false;
    loop.Post([&] { ran = true; });
    // A foreign message loop, as a dialog or a menu runs it.
    MSG msg;
    const DWORD start = GetTickCount();
    while (!ran && GetTickCount() - start < 5000) {
        if (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
    }
    EXPECT_TRUE(ran);
}

} // namespace
} // namespace quillop::platform::win32
