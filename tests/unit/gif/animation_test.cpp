// The control's animation on the sim's virtual clock and loop: periods and speed, the first
// frame's double period, looping, frame choice, switching the animation off, the mouse test,
// the timer's settings, and assignment.
#include "backends/sim/peers.h"
#include "backends/sim/software_canvas.h"
#include "backends/sim/world.h"
#include "gif/GIFImage.h"
#include "gif/TimerEx.h"
#include "gif/gif_recipe.h"
#include "ui/application.h"
#include "ui/error.h"
#include "ui/form.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace quillop::gif::test {
namespace {

// Frame I (from 1) is a full 4 x 2 picture of palette colour I; index 0 is black.
std::vector<RGB> Colors() {
    std::vector<RGB> C = {{0, 0, 0}};
    for (int I = 1; I < 16; ++I) {
        C.push_back(RGB{static_cast<uint8_t>(16 * I), static_cast<uint8_t>(255 - 16 * I), 7});
    }
    return C;
}
uint32_t FrameColor(int I) {
    const RGB C = Colors()[static_cast<size_t>(I)];
    return static_cast<uint32_t>(C.R) << 16 | static_cast<uint32_t>(C.G) << 8 | C.B;
}

// Frames: count; DelayCs: each frame's delay in hundredths; LoopValue < 0: no NETSCAPE block.
Bytes Animation(int Frames, uint16_t DelayCs, int LoopValue = 0) {
    GIFRecipe R;
    R.Header().Screen(4, 2, Colors());
    if (LoopValue >= 0) {
        R.Netscape(static_cast<uint16_t>(LoopValue));
    }
    for (int I = 1; I <= Frames; ++I) {
        R.GraphicControl(1, false, 0, DelayCs);
        R.Image(0, 0, 4, 2, Bytes(8, static_cast<uint8_t>(I)), 4);
    }
    return R.Trailer().Build();
}

struct Animating : ::testing::Test {
    platform::sim::World World;
    ui::Application App{World.services, nullptr};
    platform::sim::PeerFactory Peers{World.desktop};
    ui::Form Form{"Form1"};
    TGIFImage G{"GIFImage1", &Form, &World.services,
                [this](const std::function<void()>& H) { App.Dispatch(H); }};
    struct Change {
        uint64_t At;
        int32_t Frame; // CurrentFrame after the change
    };
    std::vector<Change> Changes;
    int Changings = 0, Wraps = 0;

    void SetUp() override {
        Form.SetClientWidth(20);
        Form.SetClientHeight(10);
        Form.AddComponent(G);
        Form.Realise(Peers);
        G.SetBounds({2, 3, 4, 2});
        G.OnChanging = [this](TGIFImage& S) {
            EXPECT_EQ(&S, &G);
            ++Changings;
        };
        G.OnChange = [this](TGIFImage&) {
            Changes.push_back({World.system.Now(), G.CurrentFrame()});
        };
        G.OnWrapAnimation = [this](TGIFImage&) { ++Wraps; };
    }
    platform::sim::FormPeer& Peer() {
        return *dynamic_cast<platform::sim::FormPeer*>(Form.GetPeer());
    }
    void Load(const Bytes& File) {
        ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
        Changes.clear();
        Changings = 0;
        Wraps = 0;
    }
    // The window system paints the form (and so the control) now.
    void Paint() {
        Peer().Invalidate({0, 0, 20, 10});
        Peer().PaintInvalid();
    }
    // The colour on screen at the control's top-left pixel.
    uint32_t OnScreen() { return Peer().ClientSurface().Pixel(2, 3); }
    std::vector<uint64_t> ChangeTimes() const {
        std::vector<uint64_t> T;
        for (const Change& C : Changes) {
            T.push_back(C.At);
        }
        return T;
    }
};

TEST(FramePeriod, DelaysAndSpeeds) {
    struct Case {
        uint16_t DelayCs;
        int32_t Speed;
        int32_t Period;
    };
    for (const Case& C : {Case{0, 100, 50}, Case{1, 100, 50}, Case{4, 100, 50}, Case{5, 100, 50},
                          Case{10, 100, 100}, Case{10, 200, 50}, Case{10, 10, 1000},
                          Case{10, 0, 10000}, Case{0, 100000, 1}, Case{7, 300, 23}}) {
        TGIFImage G;
        const Bytes File = Animation(2, C.DelayCs);
        ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
        G.SetSpeed(C.Speed);
        EXPECT_EQ(G.FramePeriod(1), C.Period) << C.DelayCs << " cs at " << C.Speed;
    }
}

TEST_F(Animating, TicksFollowThePeriodsFrameOneShownTwice) {
    struct Case {
        uint16_t DelayCs;
        int32_t Speed;
        uint64_t P;
    };
    for (const Case& C : {Case{0, 100, 50}, Case{4, 100, 50}, Case{10, 100, 100}, Case{10, 200, 50},
                          Case{10, 10, 1000}}) {
        SCOPED_TRACE(std::to_string(C.DelayCs) + " cs at " + std::to_string(C.Speed));
        Load(Animation(3, C.DelayCs));
        G.SetSpeed(C.Speed);
        G.SetAnimate(true);
        Paint();
        const uint64_t T0 = World.system.Now();
        ASSERT_NE(G.AnimationTimer(), nullptr);
        EXPECT_EQ(OnScreen(), FrameColor(1));
        // The first tick only marks the start: frame 1 stays for two periods.
        World.loop.RunFor(static_cast<uint32_t>(2 * C.P - 1));
        EXPECT_EQ(OnScreen(), FrameColor(1));
        World.loop.RunFor(1);
        EXPECT_EQ(OnScreen(), FrameColor(2));
        World.loop.RunFor(static_cast<uint32_t>(C.P));
        EXPECT_EQ(OnScreen(), FrameColor(3));
        World.loop.RunFor(static_cast<uint32_t>(C.P));
        EXPECT_EQ(OnScreen(), FrameColor(1)); // wrapped, endless (loop value 0)
        const std::vector<uint64_t> Want = {T0 + C.P, T0 + 2 * C.P, T0 + 3 * C.P, T0 + 4 * C.P};
        EXPECT_EQ(ChangeTimes(), Want);
        EXPECT_EQ(Changings, 4);
        EXPECT_EQ(Wraps, 1);
        G.SetAnimate(false);
    }
}

TEST_F(Animating, TheTicksOwnTimeComesOffTheNextPeriod) {
    Load(Animation(3, 10));
    G.SetAnimate(true);
    Paint();
    // Every tick appears to take 30 ms: the next one comes 100 - 30 ms later.
    G.OnChanging = [this](TGIFImage&) {
        World.system.SetTickCount(World.system.GetTickCount() + 30);
    };
    World.loop.RunFor(400);
    EXPECT_EQ(ChangeTimes(), (std::vector<uint64_t>{100, 170, 240, 310, 380}));
}

TEST_F(Animating, SpeedBelowOneReadsOneAndAChangeAppliesAtOnce) {
    Load(Animation(3, 10));
    G.SetAnimate(true);
    Paint();
    World.loop.RunFor(250); // ticks at 100 and 200, frame 2 on screen
    ASSERT_EQ(ChangeTimes(), (std::vector<uint64_t>{100, 200}));
    G.SetSpeed(0);
    EXPECT_EQ(G.Speed(), 1);
    G.SetSpeed(-5);
    EXPECT_EQ(G.Speed(), 1);
    // The next tick comes at once: an interval of 1 ms, which the system raises to its
    // minimum of 10 ms. Frame 3 then lasts 100 x 100 ms.
    EXPECT_EQ(G.AnimationTimer()->Interval(), 1u);
    World.loop.RunFor(10);
    EXPECT_EQ(ChangeTimes(), (std::vector<uint64_t>{100, 200, 260}));
    EXPECT_EQ(OnScreen(), FrameColor(3));
    World.loop.RunFor(9999);
    EXPECT_EQ(Changes.size(), 3u);
    World.loop.RunFor(1);
    EXPECT_EQ(Changes.size(), 4u);
}

TEST_F(Animating, LoopValueThreePlaysThreePassesThenStopsOnTheLastFrame) {
    Load(Animation(2, 10, 3));
    EXPECT_EQ(G.LoopCount(), 3);
    G.SetAnimate(true);
    Paint();
    World.loop.RunFor(2000);
    EXPECT_EQ(Wraps, 3);
    EXPECT_EQ(G.AnimationTimer(), nullptr);
    EXPECT_EQ(G.CurrentFrame(), 3); // FrameCount + 1
    EXPECT_EQ(G.LoopIteration(), 4);
    EXPECT_EQ(OnScreen(), FrameColor(2));
    // Ticks: 100 (start), 200 (frame 2, wrap), 300 (frame 1), 400 (wrap), 500, 600 (wrap).
    EXPECT_EQ(ChangeTimes(), (std::vector<uint64_t>{100, 200, 300, 400, 500, 600}));
    // A paint does not bring the timer back: the passes are used up.
    Paint();
    EXPECT_EQ(G.AnimationTimer(), nullptr);
    // Loop on: the animation restarts at frame 1.
    G.SetLoop(true);
    EXPECT_EQ(G.CurrentFrame(), 1);
    EXPECT_EQ(G.LoopIteration(), 1);
    ASSERT_NE(G.AnimationTimer(), nullptr);
    World.loop.RunFor(100);
    EXPECT_EQ(OnScreen(), FrameColor(1));
    World.loop.RunFor(1000); // to 3100: wraps at 2200, 2400 ... 3000
    EXPECT_NE(G.AnimationTimer(), nullptr);
    EXPECT_EQ(Wraps, 3 + 5);
}

TEST_F(Animating, WithoutNetscapeItPlaysOnceUnlessLoopIsOn) {
    Load(Animation(3, 10, -1));
    EXPECT_EQ(G.LoopCount(), 1);
    G.SetAnimate(true);
    Paint();
    World.loop.RunFor(1000);
    EXPECT_EQ(Wraps, 1);
    EXPECT_EQ(G.AnimationTimer(), nullptr);
    EXPECT_EQ(OnScreen(), FrameColor(3));

    Load(Animation(3, 10, -1));
    G.SetLoop(true);
    Paint();
    World.loop.RunFor(3000); // wraps every 300 ms from the third tick on
    EXPECT_EQ(Wraps, 10);
    EXPECT_NE(G.AnimationTimer(), nullptr);
}

TEST_F(Animating, SingleFrameHasNoTimerAndNoEvents) {
    Load(Animation(1, 10));
    G.SetAnimate(true);
    Paint();
    EXPECT_EQ(G.AnimationTimer(), nullptr);
    World.loop.RunFor(1000);
    EXPECT_TRUE(Changes.empty());
    EXPECT_EQ(Changings, 0);
    EXPECT_EQ(World.loop.Timers(), 0u);
}

TEST_F(Animating, FrameNumbersOutOfRangeChangeNothing) {
    Load(Animation(3, 10));
    Paint();
    G.SetCurrentFrame(2);
    EXPECT_EQ(OnScreen(), FrameColor(2)); // painted at once
    ASSERT_EQ(Changes.size(), 1u);
    for (const int32_t Bad : {0, 4}) {
        G.SetCurrentFrame(Bad);
        EXPECT_EQ(G.Status(), GIFStatusBadFrameNumber);
        EXPECT_EQ(G.CurrentFrame(), 2);
        EXPECT_EQ(G.ComposedImage()->Pixel(0, 0), FrameColor(2));
    }
    EXPECT_EQ(Changes.size(), 1u);
}

TEST_F(Animating, AnimateOffAtFrameFourOfSixShowsFrameOne) {
    Load(Animation(6, 10));
    G.SetAnimate(true);
    Paint();
    World.loop.RunFor(400); // 100 start, 200: 2, 300: 3, 400: 4
    ASSERT_EQ(OnScreen(), FrameColor(4));
    ASSERT_EQ(G.CurrentFrame(), 5);
    const size_t Events = Changes.size();
    G.SetAnimate(false);
    EXPECT_EQ(G.CurrentFrame(), 1);
    EXPECT_EQ(G.AnimationTimer(), nullptr);
    EXPECT_EQ(G.ComposedImage()->Pixel(0, 0), FrameColor(1));
    EXPECT_EQ(Changes.size(), Events); // no change events
    Peer().PaintInvalid();             // it invalidated itself
    EXPECT_EQ(OnScreen(), FrameColor(1));
}

TEST_F(Animating, ThreadingSettingsReachTheTimer) {
    G.SetThreadPriority(tpHighest);
    Load(Animation(3, 10));
    G.SetAnimate(true);
    ASSERT_NE(G.AnimationTimer(), nullptr);
    EXPECT_EQ(G.AnimationTimer()->ThreadPriority(), tpHighest);
    EXPECT_FALSE(G.AnimationTimer()->Threaded());
    G.SetThreaded(true);
    EXPECT_TRUE(G.AnimationTimer()->Threaded());
    G.SetThreadPriority(tpLower);
    EXPECT_EQ(G.AnimationTimer()->ThreadPriority(), tpLower);
    // Threaded ticks run on the UI thread through the loop, at the same times.
    Paint();
    World.loop.RunFor(300);
    EXPECT_EQ(ChangeTimes(), (std::vector<uint64_t>{100, 200, 300}));
    EXPECT_EQ(OnScreen(), FrameColor(3));
    G.SetAnimate(false);
    World.system.Settle();
}

TEST_F(Animating, LoadingDestroysTheTimer) {
    Load(Animation(3, 10));
    G.SetAnimate(true);
    ASSERT_NE(G.AnimationTimer(), nullptr);
    Load(Animation(2, 10));
    EXPECT_EQ(G.AnimationTimer(), nullptr);
    Paint(); // the first paint of the loaded control brings it back
    EXPECT_NE(G.AnimationTimer(), nullptr);
}

TEST(Mouse, CentredTransparentPicture) {
    // 135 x 125 in 173 x 165, centred: offsets 19 and 20. Pixel (0, 0) is transparent,
    // (1, 0) opaque.
    Bytes Pixels(135 * 125, 1);
    Pixels[0] = 0;
    GIFRecipe R;
    R.Header().Screen(135, 125, Colors()).GraphicControl(0, true, 0);
    R.Image(0, 0, 135, 125, Pixels, 4).Trailer();
    TGIFImage G;
    G.SetBounds({0, 0, 173, 165});
    G.SetCenter(true);
    ASSERT_TRUE(G.LoadFromBuffer(R.Build().data(), R.Build().size()));
    G.MouseMove(20, 20);
    EXPECT_FALSE(G.MouseOverTransparent());
    G.MouseMove(19, 20);
    EXPECT_TRUE(G.MouseOverTransparent());
    G.MouseMove(20, 20);
    G.MouseMove(10, 10); // outside the picture
    EXPECT_TRUE(G.MouseOverTransparent());
    G.MouseMove(19 + 135, 20);
    EXPECT_TRUE(G.MouseOverTransparent());
    // Scaled: never over transparency.
    G.SetStretch(true);
    G.UpdateDrawState();
    G.MouseMove(19, 20);
    EXPECT_FALSE(G.MouseOverTransparent());
}

TEST(Control, DefaultsGraphicAndAssignment) {
    TGIFImage A;
    EXPECT_EQ(A.Width(), 105);
    EXPECT_EQ(A.Height(), 105);
    EXPECT_TRUE(A.DoubleBuffered());
    EXPECT_TRUE(A.Empty());
    EXPECT_EQ(A.Speed(), 100);
    EXPECT_EQ(A.ThreadPriority(), tpNormal);
    EXPECT_TRUE(A.Visible());
    EXPECT_FALSE(A.ControlOpaque());
    EXPECT_EQ(A.Graphic(), &A);
    A.SetGraphic(nullptr);
    EXPECT_EQ(A.Graphic(), &A);

    GIFRecipe R;
    R.Header().Screen(5, 4, Colors());
    R.GraphicControl(1, false, 0, 10).Image(1, 1, 2, 3, {1, 2, 3, 4, 5, 6}, 4);
    R.GraphicControl(1, false, 0, 10).Image(0, 0, 5, 4, Bytes(20, 7), 4).Trailer();
    ASSERT_TRUE(A.LoadFromBuffer(R.Build().data(), R.Build().size()));

    // AutoSize switched on with a picture loaded: the picture's size at once, place kept.
    A.SetBounds({7, 8, 105, 105});
    A.SetAutoSize(true);
    EXPECT_EQ(A.GetBounds(), (ui::Bounds{7, 8, 5, 4}));

    // To a bitmap: frame 1's own image at its own size.
    TBitmap B;
    A.AssignTo(B);
    ASSERT_EQ(B.Width(), 2);
    ASSERT_EQ(B.Height(), 3);
    EXPECT_EQ(B.Pixel(0, 0), 1u);
    EXPECT_EQ(B.Pixel(1, 2), 6u);
    EXPECT_EQ(B.Color(1, 0), FrameColor(2));

    // To another control: the same GIF, the same frames.
    TGIFImage C;
    C.Assign(&A);
    EXPECT_EQ(C.DataStream().Content(), A.DataStream().Content());
    C.SetCurrentFrame(2);
    A.SetCurrentFrame(2);
    for (int Y = 0; Y < 4; ++Y) {
        for (int X = 0; X < 5; ++X) {
            EXPECT_EQ(C.ComposedImage()->Pixel(X, Y), A.ComposedImage()->Pixel(X, Y));
        }
    }
    // Empty sources and nothing: Clear.
    TGIFImage Empty;
    C.Assign(&Empty);
    EXPECT_TRUE(C.Empty());
    A.Assign(static_cast<const TGIFImage*>(nullptr));
    EXPECT_TRUE(A.Empty());
    A.AssignTo(B);
    EXPECT_TRUE(B.IsEmpty());
    // Anything else: the conversion error.
    ui::Form Other("Form1");
    EXPECT_THROW(A.Assign(static_cast<const ui::Component*>(&Other)), quillop::Error);
}

} // namespace
} // namespace quillop::gif::test
