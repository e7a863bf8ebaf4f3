// Window manager behaviour the program relies on, checked on every desktop implementation.
// On the real desktop other windows exist too, so the cases look only at their own windows.
#include "contract_world.h"

#include "platform/handles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace quillop::contract {
namespace {

using platform::WindowHandle;

class DesktopContract : public ::testing::Test {
protected:
    void TearDown() override {
        for (WindowHandle h : created_) {
            world_->Destroy(h);
        }
    }
    WindowHandle Create(const std::string& title, bool visible = true) {
        const WindowHandle h = world_->CreateTopLevel(title, visible);
        created_.push_back(h);
        return h;
    }
    std::vector<WindowHandle> Enumerated() {
        std::vector<WindowHandle> all;
        world_->desktop().EnumWindows([&](WindowHandle h) {
            all.push_back(h);
            return true;
        });
        return all;
    }

    std::unique_ptr<World> world_ = MakeWorld();
    std::vector<WindowHandle> created_;
};

TEST_F(DesktopContract, EnumWindowsReportsHiddenAndUntitledWindowsOnceEach) {
    const WindowHandle shown = Create("Contract shown");
    const WindowHandle hidden = Create("Contract hidden", false);
    const WindowHandle untitled = Create("");
    const auto all = Enumerated();
    for (WindowHandle h : {shown, hidden, untitled}) {
        EXPECT_EQ(std::count(all.begin(), all.end(), h), 1) << h;
    }
}

TEST_F(DesktopContract, EnumWindowsStopsWhenTheCallbackSaysSo) {
    Create("Contract one");
    Create("Contract two");
    int calls = 0;
    world_->desktop().EnumWindows([&](WindowHandle) {
        ++calls;
        return false;
    });
    EXPECT_EQ(calls, 1);
}

TEST_F(DesktopContract, GetWindowTextACopiesAtMostMaxCountMinusOneCharacters) {
    const std::string title(300, 'Q');
    const WindowHandle h = Create(title);
    char buffer[256];
    std::fill(std::begin(buffer), std::end(buffer), '#');
    EXPECT_EQ(world_->desktop().GetWindowTextA(h, buffer, 255), 254);
    EXPECT_EQ(std::string(buffer), std::string(254, 'Q'));
    EXPECT_EQ(buffer[255], '#'); // nothing written past max_count
}

TEST_F(DesktopContract, GetWindowTextAReturnsZeroForNoTitleAndTinyBuffers) {
    const WindowHandle untitled = Create("");
    const WindowHandle titled = Create("Contract title");
    char buffer[16] = "unchanged";
    EXPECT_EQ(world_->desktop().GetWindowTextA(untitled, buffer, 16), 0);
    EXPECT_EQ(buffer[0], '\0');
    char one[4] = "xyz";
    EXPECT_EQ(world_->desktop().GetWindowTextA(titled, one, 1), 0);
    EXPECT_EQ(one[0], '\0');
}

TEST_F(DesktopContract, GetWindowTextAKeepsAnsiBytes) {
    const std::string title = "\xC9t\xE9 caf\xE9";
    const WindowHandle h = Create(title);
    char buffer[256] = {};
    EXPECT_EQ(world_->desktop().GetWindowTextA(h, buffer, 255), 8);
    EXPECT_EQ(std::string(buffer), title);
}

TEST_F(DesktopContract, TopmostWithoutMoveSizeOrActivation) {
    const WindowHandle owner = Create("Contract active");
    const WindowHandle target = Create("Contract target");
    world_->Activate(owner);
    const WindowRect before = world_->Rect(target);
    const WindowHandle active = world_->Active();
    ASSERT_FALSE(world_->IsTopmost(target));

    EXPECT_TRUE(world_->desktop().SetWindowPos(target, platform::kHwndTopmost, 0, 0, 0, 0,
                                               platform::kSwpNoSize | platform::kSwpNoMove |
                                                   platform::kSwpNoActivate));

    EXPECT_TRUE(world_->IsTopmost(target));
    EXPECT_EQ(world_->Rect(target), before);
    EXPECT_EQ(world_->Active(), active);
    // Doing it again leaves it topmost.
    EXPECT_TRUE(world_->desktop().SetWindowPos(target, platform::kHwndTopmost, 0, 0, 0, 0, 0x13));
    EXPECT_TRUE(world_->IsTopmost(target));
    // A topmost window enumerates before every window that is not.
    const auto all = Enumerated();
    const auto t = std::find(all.begin(), all.end(), target);
    const auto o = std::find(all.begin(), all.end(), owner);
    ASSERT_NE(t, all.end());
    ASSERT_NE(o, all.end());
    EXPECT_LT(t - all.begin(), o - all.begin());
}

TEST_F(DesktopContract, SetWindowPosOnAClosedWindowFails) {
    const WindowHandle h = world_->CreateTopLevel("Contract closed", true);
    world_->Destroy(h);
    EXPECT_FALSE(world_->desktop().SetWindowPos(h, platform::kHwndTopmost, 0, 0, 0, 0, 0x13));
}

TEST_F(DesktopContract, ShowWindowReportsThePreviousVisibility) {
    const WindowHandle h = Create("Contract show", false);
    EXPECT_FALSE(world_->desktop().ShowWindow(h, platform::kSwShowNa));
    EXPECT_TRUE(world_->IsVisible(h));
    EXPECT_TRUE(world_->desktop().ShowWindow(h, platform::kSwHide));
    EXPECT_FALSE(world_->IsVisible(h));
}

TEST_F(DesktopContract, IsZoomedFollowsMaximizeAndRestore) {
    const WindowHandle h = Create("Contract zoom");
    EXPECT_FALSE(world_->desktop().IsZoomed(h));
    world_->desktop().ShowWindow(h, platform::kSwShowMaximized);
    EXPECT_TRUE(world_->desktop().IsZoomed(h));
    world_->desktop().ShowWindow(h, platform::kSwRestore);
    EXPECT_FALSE(world_->desktop().IsZoomed(h));
    world_->desktop().ShowWindow(h, platform::kSwMinimize);
    EXPECT_FALSE(world_->desktop().IsZoomed(h));
    world_->Destroy(h);
    created_.clear();
    EXPECT_FALSE(world_->desktop().IsZoomed(h)) << "a closed window";
}

} // namespace
} // namespace quillop::contract
