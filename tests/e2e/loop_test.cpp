// The Win32 message loop: posted work runs later, in order, from the loop; Quit ends Run.
#include "win32_services.h"

#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>
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
    EXPECT_EQ(ran, (std::vector<int>{1, 2, 3}));
}

TEST(Win32Loop, WorkPostedFromAnotherThreadRunsOnTheLoopsThreadInOrder) {
    Loop loop;
    constexpr int kPosts = 2000;
    std::vector<int> ran; // written by the loop's thread only
    const DWORD loop_thread = GetCurrentThreadId();
    int off_thread = 0;
    std::atomic<bool> done{false};
    std::thread worker([&] {
        for (int i = 0; i < kPosts; ++i) {
            loop.Post([&, i] {
                if (GetCurrentThreadId() != loop_thread)
                    ++off_thread;
                ran.push_back(i);
            });
        }
        done = true;
    });
    while (!done)
        loop.ProcessMessages();
    worker.join();
    const DWORD start = GetTickCount();
    while (ran.size() < kPosts && GetTickCount() - start < 5000)
        loop.ProcessMessages();
    std::vector<int> expected(kPosts);
    for (int i = 0; i < kPosts; ++i)
        expected[static_cast<std::size_t>(i)] = i;
    EXPECT_EQ(ran, expected);
    EXPECT_EQ(off_thread, 0);
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
