// The form timer on the sim loop's virtual clock, the modal showing of a form, key preview
// and the z-order of SendToBack.
#include "backends/sim/world.h"
#include "ui/application.h"
#include "ui/bevel.h"
#include "ui/error.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/image.h"
#include "ui/label.h"
#include "ui/timer.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillop::ui {
namespace {

class TimerTest : public ::testing::Test {
protected:
    platform::sim::World world;
    Application app{world.services, nullptr};
    Timer timer{"T", app};
    std::vector<std::uint64_t> ticks;

    void Count() {
        timer.SetOnTimer([this](Component&) { ticks.push_back(world.system.Now()); });
    }
};

TEST_F(TimerTest, FiresEveryIntervalWhileEnabled) {
    timer.SetEnabled(false);
    timer.SetInterval(500);
    Count();
    EXPECT_FALSE(timer.Running());
    world.loop.RunFor(2000);
    EXPECT_TRUE(ticks.empty());

    timer.SetEnabled(true);
    EXPECT_TRUE(timer.Running());
    world.loop.RunFor(1600);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{2500, 3000, 3500}));

    timer.SetEnabled(false);
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(world.loop.Timers(), 0u);
    EXPECT_EQ(world.loop.Windows(), 0u);
    world.loop.RunFor(2000);
    EXPECT_EQ(ticks.size(), 3u);
}

TEST_F(TimerTest, EveryChangeStartsItAfresh) {
    timer.SetInterval(1000);
    Count();
    world.loop.RunFor(700);
    timer.SetInterval(400); // from now: ticks at 1100, 1500 ...
    world.loop.RunFor(900);
    EXPECT_EQ(ticks, (std::vector<std::uint64_t>{1100, 1500}));
    timer.SetInterval(0);
    EXPECT_FALSE(timer.Running());
}

TEST_F(TimerTest, NeedsAHandler) {
    timer.SetInterval(100);
    EXPECT_FALSE(timer.Running());
    Count();
    EXPECT_TRUE(timer.Running());
    timer.SetOnTimer(nullptr);
    EXPECT_FALSE(timer.Running());
}

TEST_F(TimerTest, AHandlerErrorReachesTheErrorBox) {
    timer.SetInterval(100);
    timer.SetOnTimer([](Component&) { throw Error("tick failed"); });
    world.loop.RunFor(250);
    ASSERT_EQ(world.boxes.Shown().size(), 2u);
    EXPECT_EQ(world.boxes.Shown()[0].text, "tick failed.");
    EXPECT_TRUE(timer.Running());
}

TEST_F(TimerTest, NoTimerLeftIsAnError) {
    world.loop.FailSetTimer(true);
    timer.SetInterval(100);
    EXPECT_THROW(Count(), Error);
    EXPECT_FALSE(timer.Running());
    EXPECT_EQ(world.loop.Windows(), 0u);
}

struct Dialog : Form {
    Dialog() : Form("Dialog") {}
};

TEST(ShowModal, DisablesTheMainFormUntilTheFormCloses) {
    platform::sim::World world;
    Application app{world.services, nullptr};
    Form main("Main");
    std::vector<std::string> events;
    main.OnActivate = [&](Component&) { events.push_back("main activated"); };
    app.Run(main); // no peers: shows and activates, then the loop runs dry
    Dialog dialog;
    dialog.OnActivate = [&](Component&) { events.push_back("dialog activated"); };
    dialog.OnCloseQuery = [&](Component&, bool&) { events.push_back("dialog close query"); };
    events.clear();

    dialog.ShowModal(app);
    EXPECT_TRUE(dialog.Visible());
    EXPECT_TRUE(dialog.Modal());
    EXPECT_FALSE(main.Enabled());
    EXPECT_EQ(events, (std::vector<std::string>{"dialog activated"}));

    dialog.Close();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Modal());
    EXPECT_TRUE(main.Enabled());
    EXPECT_FALSE(main.IsClosed());
    EXPECT_FALSE(world.loop.QuitRequested());
    EXPECT_EQ(events, (std::vector<std::string>{"dialog activated", "dialog close query",
                                                "main activated"}));

    // And again.
    events.clear();
    dialog.ShowModal(app);
    EXPECT_TRUE(dialog.Visible());
    dialog.Close();
    EXPECT_FALSE(dialog.Visible());
    EXPECT_EQ(events, (std::vector<std::string>{"dialog activated", "dialog close query",
                                                "main activated"}));
}

TEST(ShowModal, ClosedFromQueuedWorkEndsInsideTheLoop) {
    platform::sim::World world;
    Application app{world.services, nullptr};
    Form main("Main");
    app.Run(main);
    Dialog dialog;
    world.loop.Post([&] { dialog.Close(); });
    dialog.ShowModal(app); // the loop runs the close: the showing ends before it returns
    EXPECT_FALSE(dialog.Visible());
    EXPECT_FALSE(dialog.Modal());
    EXPECT_TRUE(main.Enabled());
}

TEST(KeyPreview, TheFormSeesKeysOnlyWhenItIsOn) {
    Form form("F");
    std::vector<std::uint16_t> seen;
    form.OnKeyDown = [&](Component&, std::uint16_t& key, std::uint16_t) {
        seen.push_back(key);
        if (key == 27) {
            key = 0;
        }
    };
    EXPECT_EQ(form.KeyDown(27, 0), 27);
    EXPECT_TRUE(seen.empty());
    form.SetKeyPreview(true);
    EXPECT_EQ(form.KeyDown(27, 0), 0);
    EXPECT_EQ(form.KeyDown(13, 0), 13);
    EXPECT_EQ(seen, (std::vector<std::uint16_t>{27, 13}));
}

TEST(SendToBack, PutsTheControlFirstAmongItsSiblings) {
    Form form("F");
    GroupBox box("Box", &form);
    Label a("A", &box);
    Bevel frame("Frame", &box);
    Image picture("Picture", &box);
    Label b("B", &box);
    picture.SendToBack();
    frame.SendToBack();
    EXPECT_EQ(box.Children(), (std::vector<Control*>{&frame, &picture, &a, &b}));
    frame.SendToBack(); // already there
    EXPECT_EQ(box.Children(), (std::vector<Control*>{&frame, &picture, &a, &b}));
}

} // namespace
} // namespace quillop::ui
