// gifview's window on the sim: opening a file, the menu toggles and their check marks, and
// Stretch changing the painted size.
#include "backends/sim/peers.h"
#include "backends/sim/world.h"
#include "gif/gif_recipe.h"
#include "view_form.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>

namespace quillop::gif::test {
namespace {

std::string WriteGif(const std::string& name) {
    GIFRecipe R;
    R.Header().Screen(20, 10, {{0, 0, 0}, {200, 10, 10}, {10, 200, 10}, {10, 10, 200}});
    R.Netscape(0);
    R.GraphicControl(1, false, 0, 10).Image(0, 0, 20, 10, Bytes(200, 1), 2);
    R.GraphicControl(1, false, 0, 10).Image(0, 0, 20, 10, Bytes(200, 2), 2).Trailer();
    const auto Path = std::filesystem::temp_directory_path() / name;
    std::ofstream(Path, std::ios::binary)
        .write(reinterpret_cast<const char*>(R.Build().data()),
               static_cast<std::streamsize>(R.Size()));
    return Path.string();
}

// Pixels of the colour in the surface.
int Count(platform::sim::Surface& S, uint32_t Color) {
    int N = 0;
    for (uint32_t P : S.Pixels()) {
        N += P == Color;
    }
    return N;
}

TEST(GifView, OpensTogglesAndStretches) {
    platform::sim::World World;
    platform::sim::PeerFactory Peers(World.desktop);
    ui::Application App(World.services, &Peers);
    gifview::ViewForm Form(App);
    std::string Error;
    EXPECT_FALSE(Form.Open("/nonexistent/x.gif", Error));
    EXPECT_EQ(Error, "Cannot open /nonexistent/x.gif");
    ASSERT_TRUE(Form.Open(WriteGif("gifview_test.gif"), Error)) << Error;
    EXPECT_EQ(Form.Caption(), "gifview - gifview_test.gif");
    EXPECT_EQ(Form.ClientWidth(), 160);
    EXPECT_EQ(Form.ClientHeight(), 120);
    EXPECT_EQ(Form.Image.GetBounds(), (ui::Bounds{0, 0, 160, 120}));
    EXPECT_TRUE(Form.AnimateOption.Checked());
    EXPECT_TRUE(Form.SpeedOptions[2].Checked());

    Form.Realise(Peers);
    auto& Peer = *dynamic_cast<platform::sim::FormPeer*>(Form.GetPeer());
    Peer.Invalidate({0, 0, 160, 120});
    Peer.PaintInvalid();
    EXPECT_EQ(Count(Peer.ClientSurface(), 0xC80A0A), 20 * 10);

    Form.StretchOption.Click();
    EXPECT_TRUE(Form.StretchOption.Checked());
    EXPECT_TRUE(Form.Image.Stretch());
    // The first paint finds the control newly opaque: it asks for another and draws nothing.
    Peer.PaintInvalid();
    EXPECT_EQ(Count(Peer.ClientSurface(), 0xC80A0A), 0);
    Peer.PaintInvalid();
    EXPECT_EQ(Count(Peer.ClientSurface(), 0xC80A0A), 160 * 120);

    // The animation runs; frame 2 after two periods.
    World.loop.RunFor(200);
    EXPECT_EQ(Count(Peer.ClientSurface(), 0x0AC80A), 160 * 120);

    Form.SpeedOptions[4].Click();
    EXPECT_EQ(Form.Image.Speed(), 400);
    EXPECT_TRUE(Form.SpeedOptions[4].Checked());
    EXPECT_FALSE(Form.SpeedOptions[2].Checked());
    for (ui::MenuItem* Item :
         {&Form.StretchRatioOption, &Form.StretchBigOnlyOption, &Form.CenterOption,
          &Form.TileOption, &Form.OpaqueOption, &Form.LoopOption, &Form.ThreadedOption}) {
        EXPECT_FALSE(Item->Checked()) << Item->Name();
        Item->Click();
        EXPECT_TRUE(Item->Checked()) << Item->Name();
    }
    EXPECT_TRUE(Form.Image.Loop());
    EXPECT_TRUE(Form.Image.Threaded());
    Form.AnimateOption.Click();
    EXPECT_FALSE(Form.Image.Animate());
    EXPECT_EQ(Form.Image.AnimationTimer(), nullptr);
    World.system.Settle();
}

} // namespace
} // namespace quillop::gif::test
