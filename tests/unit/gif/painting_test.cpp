// The control painted on the sim's software canvas, pixel by pixel: every placement mode,
// tiling, transparency against the surface, the Opaque fill, a frame-1-opaque picture, the
// stretch modes, the paint message's flag rule and the immediate repaint on the parent.
#include "backends/sim/peers.h"
#include "backends/sim/software_canvas.h"
#include "backends/sim/world.h"
#include "gif/GIFImage.h"
#include "gif/gif_recipe.h"
#include "ui/form.h"
#include "ui/group_box.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>

namespace quillop::gif::test {
namespace {

using platform::sim::SoftwareCanvas;

constexpr uint32_t kBack = 0x123456; // the surface before painting

// Colour of palette index I: distinct for all 256 indices, never the surface's colour.
RGB ColorOf(int I) {
    return RGB{static_cast<uint8_t>(I), static_cast<uint8_t>(255 - I),
               static_cast<uint8_t>((I * 7) & 0xFF)};
}
uint32_t Rgb(int I) {
    const RGB C = ColorOf(I);
    return static_cast<uint32_t>(C.R) << 16 | static_cast<uint32_t>(C.G) << 8 | C.B;
}
int IndexAt(int X, int Y) {
    return (X + 11 * Y) % 200 + 1; // index 0 stays free for transparency
}

// A W x H picture whose pixel (X, Y) has index IndexAt(X, Y); with Hole, index 0 (made the
// transparent index) where X + Y is even and X < W / 2.
Bytes Picture(int W, int H, bool Hole = false) {
    std::vector<RGB> Colors;
    for (int I = 0; I < 256; ++I) {
        Colors.push_back(ColorOf(I));
    }
    Bytes Pixels;
    for (int Y = 0; Y < H; ++Y) {
        for (int X = 0; X < W; ++X) {
            Pixels.push_back(
                static_cast<uint8_t>(Hole && (X + Y) % 2 == 0 && X < W / 2 ? 0 : IndexAt(X, Y)));
        }
    }
    GIFRecipe R;
    R.Header().Screen(static_cast<uint16_t>(W), static_cast<uint16_t>(H), Colors);
    if (Hole) {
        R.GraphicControl(0, true, 0);
    }
    R.Image(0, 0, static_cast<uint16_t>(W), static_cast<uint16_t>(H), Pixels, 8).Trailer();
    return R.Build();
}

bool IsHole(int X, int Y, int W) {
    return (X + Y) % 2 == 0 && X < W / 2;
}

struct Flags {
    bool Stretch = false, Ratio = false, BigOnly = false, Tile = false, Center = false;
};

void Apply(TGIFImage& G, const Flags& F) {
    G.SetStretch(F.Stretch);
    G.SetStretchRatio(F.Ratio);
    G.SetStretchBigOnly(F.BigOnly);
    G.SetTile(F.Tile);
    G.SetCenter(F.Center);
}

// Every pixel of the canvas against the expected colour; the first few differences.
std::string Diff(const SoftwareCanvas& C, const std::function<uint32_t(int, int)>& Expected) {
    std::ostringstream Out;
    int Count = 0;
    for (int Y = 0; Y < C.Pixels().Height(); ++Y) {
        for (int X = 0; X < C.Pixels().Width(); ++X) {
            const uint32_t Got = C.Pixels().Pixel(X, Y), Want = Expected(X, Y);
            if (Got != Want && ++Count <= 4) {
                Out << "(" << X << "," << Y << ") got " << std::hex << Got << " want " << Want
                    << std::dec << "; ";
            }
        }
    }
    if (Count > 4) {
        Out << Count << " pixels differ";
    }
    return Out.str();
}

TEST(Painting, PlacementModesPixelByPixel) {
    // Unscaled modes: the picture at an offset (DX, DY), cut off by the surface. Scaled modes
    // of a one-colour picture: exactly the destination rectangle painted.
    struct Case {
        const char* What;
        int W, H, IW, IH;
        Flags F;
        TRect Painted; // where the picture lands (scaled cases: filled with one colour)
        bool Scaled;
    };
    const std::vector<Case> Cases = {
        {"stretch, logo size", 173, 165, 135, 125, {true}, {0, 0, 173, 165}, true},
        {"ratio wide", 200, 100, 100, 100, {false, true}, {50, 0, 150, 100}, true},
        {"ratio tall", 100, 200, 100, 100, {false, true}, {0, 50, 100, 150}, true},
        {"both flags ignore the ratio", 200, 100, 100, 100, {true, true}, {0, 0, 200, 100}, true},
        {"big only, larger control, centred",
         150,
         120,
         100,
         100,
         {true, false, true, false, true},
         {25, 10, 125, 110},
         false},
        {"big only, larger control, top left",
         150,
         120,
         100,
         100,
         {true, false, true},
         {0, 0, 100, 100},
         false},
        {"big only, smaller one way",
         150,
         90,
         100,
         100,
         {true, false, true},
         {0, 0, 150, 90},
         true},
        {"same size never scaled", 100, 100, 100, 100, {true, true}, {0, 0, 100, 100}, false},
        {"center, picture 7 wider", 93, 100, 100, 100, {.Center = true}, {-3, 0, 97, 100}, false},
        {"plain, larger picture", 40, 30, 100, 100, {}, {0, 0, 100, 100}, false},
        {"plain, smaller picture", 40, 30, 10, 20, {}, {0, 0, 10, 20}, false},
        {"center ignored when scaled",
         50,
         60,
         100,
         100,
         {.Stretch = true, .Center = true},
         {0, 0, 50, 60},
         true},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        TGIFImage G;
        G.SetBounds({0, 0, C.W, C.H});
        Apply(G, C.F);
        const Bytes File = C.Scaled ? [&] {
            // One colour, so that scaling leaves nothing to the filter.
            GIFRecipe R;
            R.Header().Screen(static_cast<uint16_t>(C.IW), static_cast<uint16_t>(C.IH),
                              {{9, 8, 7}, {1, 2, 3}});
            R.Image(0, 0, static_cast<uint16_t>(C.IW), static_cast<uint16_t>(C.IH),
                    Bytes(static_cast<size_t>(C.IW * C.IH), 1), 2);
            return R.Trailer().Build();
        }()
                                    : Picture(C.IW, C.IH);
        ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
        EXPECT_EQ(G.Stretching(), C.Scaled);
        SoftwareCanvas Canvas(C.W, C.H);
        Canvas.FillRect({0, 0, C.W, C.H}, 0x563412);
        G.DrawTo(Canvas);
        const TRect P = C.Painted;
        EXPECT_EQ(Diff(Canvas,
                       [&](int X, int Y) -> uint32_t {
                           if (X < P.Left || X >= P.Right || Y < P.Top || Y >= P.Bottom) {
                               return kBack;
                           }
                           return C.Scaled ? 0x010203u : Rgb(IndexAt(X - P.Left, Y - P.Top));
                       }),
                  "");
    }
}

TEST(Painting, TilingPaintsOnlyTilesThatMeetTheClip) {
    struct Case {
        const char* What;
        int W, H, IW, IH;
        platform::Rect Clip;
        int Blits;
    };
    const std::vector<Case> Cases = {
        // Rows 0 ... 2, columns 0 ... 3: twelve tiles, all meeting the control.
        {"30 x 40 over 100 x 100", 100, 100, 30, 40, {0, 0, 100, 100}, 12},
        {"clip in one tile", 100, 100, 30, 40, {31, 41, 59, 79}, 1},
        {"clip over a tile corner", 100, 100, 30, 40, {25, 35, 35, 45}, 4},
        // The loop would draw 2 x 2, three of them wholly outside.
        {"picture the control's size", 50, 50, 50, 50, {0, 0, 50, 50}, 1},
        {"1 x 1 over a large control", 400, 300, 1, 1, {10, 10, 12, 11}, 2},
    };
    for (const Case& C : Cases) {
        SCOPED_TRACE(C.What);
        TGIFImage G;
        G.SetBounds({0, 0, C.W, C.H});
        G.SetTile(true);
        const Bytes File = Picture(C.IW, C.IH);
        ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
        SoftwareCanvas Canvas(C.W, C.H);
        Canvas.FillRect({0, 0, C.W, C.H}, 0x563412);
        Canvas.IntersectClipRect(C.Clip);
        G.DrawTo(Canvas);
        EXPECT_EQ(Canvas.StretchCalls(), C.Blits);
        EXPECT_EQ(Diff(Canvas,
                       [&](int X, int Y) {
                           const bool In = X >= C.Clip.left && X < C.Clip.right &&
                                           Y >= C.Clip.top && Y < C.Clip.bottom;
                           return In ? Rgb(IndexAt(X % C.IW, Y % C.IH)) : kBack;
                       }),
                  "");
    }
}

TEST(Painting, TransparencyShowsTheSurfaceOrTheControlsColour) {
    const Bytes File = Picture(6, 4, true);
    for (const bool Opaque : {false, true}) {
        SCOPED_TRACE(Opaque ? "Opaque" : "not Opaque");
        TGIFImage G;
        G.SetBounds({0, 0, 8, 5});
        G.SetOpaque(Opaque);
        G.SetColor(0x00AA00FF); // COLORREF: red FF, green 00, blue AA
        ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
        EXPECT_FALSE(G.CoversClient());
        SoftwareCanvas Canvas(8, 5);
        Canvas.FillRect({0, 0, 8, 5}, 0x563412);
        G.DrawTo(Canvas);
        const uint32_t Behind = Opaque ? 0xFF00AAu : kBack;
        EXPECT_EQ(Diff(Canvas,
                       [&](int X, int Y) {
                           if (X >= 6 || Y >= 4 || IsHole(X, Y, 6)) {
                               return Behind;
                           }
                           return Rgb(IndexAt(X, Y));
                       }),
                  "");
    }
}

TEST(Painting, FrameOneOpaqueIsCopiedWholeBlackIncluded) {
    // Frame 1 opaque and smaller than the screen; frame 2 is transparent, so the picture has a
    // mask, but only frame 1 decides: the black where nothing was drawn yet is copied too.
    GIFRecipe R;
    R.Header().Screen(3, 2, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}});
    R.GraphicControl(1, false, 0, 10).Image(1, 0, 2, 1, {0, 1}, 2);
    R.GraphicControl(1, true, 3, 10).Image(0, 0, 3, 2, {3, 3, 2, 2, 3, 3}, 2).Trailer();
    TGIFImage G;
    G.SetBounds({0, 0, 3, 2});
    ASSERT_TRUE(G.LoadFromBuffer(R.Build().data(), R.Build().size()));
    ASSERT_TRUE(G.HasTransparency());
    EXPECT_TRUE(G.CoversClient());
    SoftwareCanvas Canvas(3, 2);
    Canvas.FillRect({0, 0, 3, 2}, 0x563412);
    G.DrawTo(Canvas);
    const std::vector<uint32_t> Want = {0, 0xFF0000, 0x00FF00, 0, 0, 0};
    EXPECT_EQ(Canvas.Pixels().Pixels(), Want);
    // Frame 2 drawn over it: still copied whole, its transparent pixels black.
    G.SetCurrentFrame(2);
    G.DrawTo(Canvas);
    const std::vector<uint32_t> Want2 = {0, 0xFF0000, 0x0000FF, 0x0000FF, 0, 0};
    EXPECT_EQ(Canvas.Pixels().Pixels(), Want2);
}

TEST(Painting, InvisibleDrawsNothingDesignModeDrawsTheOutline) {
    const Bytes File = Picture(4, 4);
    TGIFImage G;
    G.SetBounds({0, 0, 8, 6});
    G.SetOpaque(true);
    ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
    G.SetVisible(false);
    SoftwareCanvas Canvas(8, 6);
    Canvas.FillRect({0, 0, 8, 6}, 0x563412);
    G.DrawTo(Canvas);
    EXPECT_EQ(Diff(Canvas, [](int, int) { return kBack; }), "");
    G.SetDesignMode(true);
    G.DrawTo(Canvas);
    // Dots of 3 on, 3 off around the border, starting at the top-left corner.
    const uint32_t Shadow = platform::sim::sim_system_color(platform::kColorBtnShadow);
    std::string Top, Right;
    for (int X = 0; X < 8; ++X) {
        Top += Canvas.Pixels().Pixel(X, 0) == Shadow ? '*' : '.';
    }
    for (int Y = 0; Y < 6; ++Y) {
        Right += Canvas.Pixels().Pixel(7, Y) == Shadow ? '*' : '.';
    }
    EXPECT_EQ(Top, "***...**");
    EXPECT_EQ(Right, "**...*");
    EXPECT_EQ(Canvas.Pixels().Pixel(1, 1), Rgb(IndexAt(1, 1)));
}

TEST(Painting, StretchModeFollowsTheSurfaceDepth) {
    const Bytes File = Picture(4, 4);
    struct Case {
        int Bits;
        bool Stretch;
        int Mode;
    };
    for (const Case& C :
         {Case{8, true, platform::kStretchHalftone}, Case{32, true, platform::kStretchColorOnColor},
          Case{8, false, platform::kStretchBlackOnWhite}}) {
        TGIFImage G;
        G.SetBounds({0, 0, 9, 9});
        G.SetStretch(C.Stretch);
        ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
        SoftwareCanvas Canvas(9, 9, C.Bits);
        Canvas.SetBrushOrg({3, 2});
        G.DrawTo(Canvas);
        EXPECT_EQ(Canvas.GetStretchBltMode(), C.Mode) << C.Bits << " " << C.Stretch;
        EXPECT_EQ(Canvas.GetBrushOrg(), (platform::Point{3, 2}));
    }
    // The transparent picture's mask is monochrome: WHITEONBLACK for it, then the image's mode.
    const Bytes Holes = Picture(4, 4, true);
    TGIFImage T;
    T.SetBounds({0, 0, 9, 9});
    T.SetStretch(true);
    ASSERT_TRUE(T.LoadFromBuffer(Holes.data(), Holes.size()));
    SoftwareCanvas Canvas(9, 9, 32);
    T.DrawTo(Canvas);
    EXPECT_EQ(Canvas.StretchCalls(), 2);
    EXPECT_EQ(Canvas.GetStretchBltMode(), platform::kStretchColorOnColor);
}

// A form on the sim desktop with the control on it.
struct OnForm : ::testing::Test {
    platform::sim::World World;
    platform::sim::PeerFactory Peers{World.desktop};
    ui::Form Form{"Form1"};
    TGIFImage G{"GIFImage1", &Form};
    ui::GraphicControl Neighbour{"Neighbour", &Form};

    void SetUp() override {
        Form.SetClientWidth(60);
        Form.SetClientHeight(40);
        Form.AddComponent(G);
        Form.AddComponent(Neighbour);
        Form.Realise(Peers);
    }
    platform::sim::FormPeer& Peer() {
        return *dynamic_cast<platform::sim::FormPeer*>(Form.GetPeer());
    }
    uint32_t At(int X, int Y) { return Peer().ClientSurface().Pixel(X, Y); }
};

TEST_F(OnForm, RepaintClipsToTheControlsOwnBounds) {
    // A centred 20 x 20 picture in a 10 x 8 control at (5, 6): the picture reaches past the
    // control on every side, and nothing outside the control changes.
    const Bytes File = Picture(20, 20, true);
    G.SetBounds({5, 6, 10, 8});
    G.SetCenter(true);
    ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
    for (const bool Buffered : {true, false}) {
        SCOPED_TRACE(Buffered ? "double buffered" : "direct");
        Peer().ClientSurface().Resize(60, 40, kBack);
        G.SetDoubleBuffered(Buffered);
        G.Repaint();
        EXPECT_FALSE(G.InRepaint());
        const uint32_t Face = platform::sim::sim_system_color(platform::kColorBtnFace);
        SoftwareCanvas View(Peer().ClientSurface());
        EXPECT_EQ(Diff(View,
                       [&](int X, int Y) {
                           if (X < 5 || X >= 15 || Y < 6 || Y >= 14) {
                               return kBack;
                           }
                           // Picture offsets (10 - 20) div 2 = -5 and (8 - 20) div 2 = -6.
                           const int PX = X - 5 + 5, PY = Y - 6 + 6;
                           return IsHole(PX, PY, 20) ? Face : Rgb(IndexAt(PX, PY));
                       }),
                  "");
    }
}

TEST_F(OnForm, OpaqueControlRepaintsWithoutTheParent) {
    const Bytes File = Picture(10, 8);
    G.SetBounds({5, 6, 10, 8});
    ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
    ASSERT_TRUE(G.ControlOpaque());
    Peer().ClientSurface().Resize(60, 40, kBack);
    G.Repaint();
    SoftwareCanvas View(Peer().ClientSurface());
    EXPECT_EQ(Diff(View,
                   [&](int X, int Y) {
                       const bool In = X >= 5 && X < 15 && Y >= 6 && Y < 14;
                       return In ? Rgb(IndexAt(X - 5, Y - 6)) : kBack;
                   }),
              "");
}

TEST_F(OnForm, ParentPaintSkipsTheBackgroundBehindAnOpaqueControl) {
    const Bytes File = Picture(10, 8);
    G.SetBounds({5, 6, 10, 8});
    ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
    Peer().ClientSurface().Resize(60, 40, kBack);
    // The picture's pixels come from the control; the rest is the form's button face.
    SoftwareCanvas Canvas(Peer().ClientSurface());
    ui::PaintControls(Form, Canvas);
    const uint32_t Face = platform::sim::sim_system_color(platform::kColorBtnFace);
    EXPECT_EQ(At(4, 6), Face);
    EXPECT_EQ(At(5, 6), Rgb(IndexAt(0, 0)));
    EXPECT_EQ(At(14, 13), Rgb(IndexAt(9, 7)));
    EXPECT_EQ(At(15, 13), Face);
}

TEST_F(OnForm, PaintMessageInvalidatesWhenTheOpaqueFlagChanges) {
    const Bytes File = Picture(10, 8);
    G.SetBounds({0, 0, 10, 8});
    ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
    ASSERT_TRUE(G.ControlOpaque());
    G.SetBounds({0, 0, 12, 8}); // no longer covered
    // The first paint message finds the flag changed: it asks for a paint and draws nothing.
    Peer().ClientSurface().Resize(60, 40, kBack);
    const int Before = Peer().Invalidations();
    SoftwareCanvas Canvas(Peer().ClientSurface());
    G.PaintMessage(Canvas);
    EXPECT_FALSE(G.ControlOpaque());
    EXPECT_EQ(Peer().Invalidations(), Before + 1);
    EXPECT_EQ(At(0, 0), kBack);
    // The parent's paint then paints its background and the picture.
    Peer().PaintInvalid();
    EXPECT_EQ(At(0, 0), Rgb(IndexAt(0, 0)));
    EXPECT_EQ(At(11, 0), platform::sim::sim_system_color(platform::kColorBtnFace));
}

TEST(GraphicControls, InsideAGroupBoxPaintAtTheSumOfThePositions) {
    platform::sim::World World;
    platform::sim::PeerFactory Peers(World.desktop);
    ui::Form Form("Form1");
    ui::GroupBox Box("Box", &Form);
    TGIFImage G("GIFImage1", &Box);
    Form.SetClientWidth(40);
    Form.SetClientHeight(30);
    Box.SetBounds({10, 5, 25, 20});
    G.SetBounds({2, 3, 6, 4});
    Form.AddComponent(Box);
    Form.AddComponent(G);
    Form.Realise(Peers);
    const Bytes File = Picture(6, 4);
    ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
    EXPECT_EQ(G.SurfaceBounds(), (platform::Rect{12, 8, 18, 12}));
    auto& Peer = *dynamic_cast<platform::sim::FormPeer*>(Form.GetPeer());
    Peer.ClientSurface().Resize(40, 30, kBack);
    G.Repaint();
    SoftwareCanvas View(Peer.ClientSurface());
    EXPECT_EQ(Diff(View,
                   [](int X, int Y) {
                       const bool In = X >= 12 && X < 18 && Y >= 8 && Y < 12;
                       return In ? Rgb(IndexAt(X - 12, Y - 8)) : kBack;
                   }),
              "");
    // Moving it invalidates where it was and where it is.
    Peer.PaintInvalid();
    G.SetLeft(20);
    EXPECT_EQ(Peer.InvalidArea(), (platform::Rect{12, 8, 36, 12}));
}

TEST_F(OnForm, SettersInvalidateAndLoadsAndVisibilityPostPaletteNotices) {
    const Bytes File = Picture(4, 4);
    ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
    EXPECT_EQ(Peer().PaletteQueries(), 1);
    int Before = Peer().Invalidations();
    G.SetStretch(true);
    G.SetStretch(true);
    EXPECT_EQ(Peer().Invalidations(), Before + 1);
    ASSERT_NE(G.GetPalette(), nullptr);
    EXPECT_EQ(G.GetPalette()->at(5), Rgb(5));
    G.SetVisible(false); // the parent has no focus yet: no notice
    EXPECT_EQ(Peer().PaletteQueries(), 1);
    EXPECT_EQ(G.GetPalette(), nullptr);
    Before = Peer().Invalidations();
    Form.Show(); // activates: the parent has the focus
    G.SetVisible(true);
    EXPECT_EQ(Peer().PaletteQueries(), 2);
    EXPECT_EQ(Peer().Invalidations(), Before + 1);
}

} // namespace
} // namespace quillop::gif::test
