#include "backends/sim/world.h"
#include "ui/application.h"
#include "ui/error.h"
#include "ui/form.h"

#include <gtest/gtest.h>

namespace quillop::ui {
namespace {

TEST(Application, ErrorBoxTextAppendsAFullStopAfterBytesAboveIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"'x' is not a valid integer value", "'x' is not a valid integer value."},
        {"Done.", "Done."},
        {"Stop!", "Stop!"},         // '!' sorts before '.'
        {"Trailing ", "Trailing "}, // so does a blank
        {"slash/", "slash/."},      // '/' sorts after '.'
        {"digit 5", "digit 5."},
        {"caf\xE9", "caf\xE9."}, // bytes compare unsigned
        {"", ""},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(Application::ErrorBoxText(text), shown) << text;
    }
}

TEST(Application, DispatchShowsTheErrorUnderTheTitleAndGoesOn) {
    platform::sim::World world;
    Application app(world.services, nullptr);
    app.SetTitle("Quillop v1.0f");
    bool after = false;
    app.Dispatch([] { throw Error("Unable to write to C:\\x.ini"); });
    app.Dispatch([] { throw std::runtime_error("other failure"); });
    app.Dispatch([&] { after = true; });
    EXPECT_TRUE(after);
    EXPECT_EQ(
        world.boxes.Shown(),
        (std::vector<platform::sim::ShownBox>{
            {platform::BoxKind::ApplicationError, "Unable to write to C:\\x.ini.", "Quillop v1.0f"},
            {platform::BoxKind::ApplicationError, "other failure.", "Quillop v1.0f"}}));
}

TEST(Application, RunShowsTheMainFormAndEndsWhenItCloses) {
    platform::sim::World world;
    Application app(world.services, nullptr);
    Form form("Main");
    std::vector<std::string> events;
    form.OnShow = [&](Component&) { events.push_back("show"); };
    form.OnActivate = [&](Component&) { events.push_back("activate"); };
    // A message waiting in the queue: the user closes the window.
    world.loop.Post([&] {
        events.push_back("close");
        form.Close();
    });
    world.loop.Post([&] { events.push_back("never"); });
    app.Run(form);
    EXPECT_EQ(events, (std::vector<std::string>{"show", "activate", "close"}));
    EXPECT_EQ(app.MainForm(), &form);
    EXPECT_TRUE(form.IsClosed());
}

TEST(Application, AnErrorInFormShowReachesTheErrorBox) {
    platform::sim::World world;
    Application app(world.services, nullptr);
    Form form("Main");
    form.OnShow = [](Component&) { throw Error("bad show"); };
    app.Run(form);
    ASSERT_EQ(world.boxes.Shown().size(), 1u);
    EXPECT_EQ(world.boxes.Shown()[0].text, "bad show.");
    EXPECT_EQ(world.boxes.Shown()[0].caption, "Quillop");
}

} // namespace
} // namespace quillop::ui
