// The composed picture pixel by pixel: drawing, the disposal methods, the mask, the raster
// operations, and the draw-state computations.
#include "gif/GIFImage.h"
#include "gif/gif_recipe.h"
#include "gif/picture.h"

#include <gtest/gtest.h>

#include <random>

namespace quillop::gif::test {
namespace {

// Index 0 red, 1 green, 2 blue, 3 white.
const std::vector<RGB> Four = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
constexpr uint32_t R_ = 0xFF0000, G_ = 0x00FF00, B_ = 0x0000FF, W_ = 0xFFFFFF, K_ = 0;

std::vector<uint32_t> Picture(const TGIFPicture& G) {
    std::vector<uint32_t> Out;
    const TBitmap& B = *G.ComposedImage();
    for (int32_t Y = 0; Y < B.Height(); ++Y) {
        for (int32_t X = 0; X < B.Width(); ++X) {
            Out.push_back(B.Pixel(X, Y));
        }
    }
    return Out;
}

std::string MaskOf(const TBitmap* M) {
    if (M == nullptr) {
        return "none";
    }
    std::string Out;
    for (int32_t Y = 0; Y < M->Height(); ++Y) {
        for (int32_t X = 0; X < M->Width(); ++X) {
            Out += M->Pixel(X, Y) ? '1' : '0';
        }
        Out += '\n';
    }
    return Out;
}

bool Load(TGIFPicture& G, const Bytes& B) {
    return G.LoadFromBuffer(B.data(), B.size());
}

bool Load(TGIFImage& G, const Bytes& B) {
    return G.LoadFromBuffer(B.data(), B.size());
}

TEST(Composition, OpaqueFrameSmallerThanScreenLeavesBlack) {
    GIFRecipe R;
    R.Header().Screen(3, 2, Four).Image(1, 0, 2, 1, {0, 1}, 2).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(Picture(G), (std::vector<uint32_t>{K_, R_, G_, K_, K_, K_}));
    EXPECT_EQ(G.ComposedImage()->BitCount(), 32);
    EXPECT_EQ(MaskOf(G.ComposedMask()), "none");
}

TEST(Composition, TransparentFirstFrameIsBlackAndMaskedWhereTransparent) {
    GIFRecipe R;
    R.Header().Screen(4, 2, Four).GraphicControl(0, true, 2);
    R.Image(0, 0, 3, 2, {0, 2, 1, 2, 3, 0}, 2).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(Picture(G), (std::vector<uint32_t>{R_, K_, G_, K_, K_, W_, R_, K_}));
    // Column 3 was never covered: transparent as well.
    EXPECT_EQ(MaskOf(G.ComposedMask()), "0101\n1001\n");
}

// A transparent frame 1 that covers the whole screen is composed in one pass (black only where
// it is transparent, its colours elsewhere): whole transparent mask bytes, mixed bytes, the
// row's tail, and a row without any transparent pixel.
TEST(Composition, TransparentFirstFrameCoveringTheScreen) {
    Bytes Pixels;
    const Bytes Row0 = {2, 2, 2, 2, 2, 2, 2, 2, 0, 2, 1, 2, 3, 2, 2, 0, 2};
    const Bytes Row1 = {0, 1, 0, 1, 3, 3, 3, 3, 1, 1, 1, 1, 0, 0, 0, 0, 3};
    Pixels.insert(Pixels.end(), Row0.begin(), Row0.end());
    Pixels.insert(Pixels.end(), Row1.begin(), Row1.end());
    GIFRecipe R;
    R.Header().Screen(17, 2, Four).GraphicControl(0, true, 2);
    R.Image(0, 0, 17, 2, Pixels, 2).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    const uint32_t Colour[4] = {R_, G_, K_, W_};
    std::vector<uint32_t> Want;
    for (uint8_t P : Pixels) {
        Want.push_back(Colour[P]);
    }
    EXPECT_EQ(Picture(G), Want);
    EXPECT_EQ(MaskOf(G.ComposedMask()), "11111111010101101\n00000000000000000\n");
}

// A handler of the change notice before frame 1 is drawn sees the picture filled black, also
// when frame 1 covers it (the single-pass composition is then not used).
TEST(Composition, ChangingHandlerSeesABlackPictureBeforeFrameOne) {
    GIFRecipe R;
    R.Header().Screen(4, 2, Four).Image(0, 0, 4, 2, {0, 1, 3, 3, 1, 0, 3, 1}, 2).Trailer();
    for (const bool Transparent : {false, true}) {
        GIFRecipe T;
        T.Header().Screen(4, 2, Four).GraphicControl(0, true, 2);
        T.Image(0, 0, 4, 2, {0, 1, 3, 3, 1, 0, 3, 1}, 2).Trailer();
        TGIFPicture G;
        std::vector<uint32_t> Seen;
        G.OnChanging = [&](TGIFPicture& P) {
            if (Seen.empty() && P.ComposedImage()) {
                Seen = Picture(P);
            }
        };
        ASSERT_TRUE(Load(G, (Transparent ? T : R).Build()));
        EXPECT_EQ(Seen, std::vector<uint32_t>(8, K_)) << Transparent;
        EXPECT_EQ(Picture(G), (std::vector<uint32_t>{R_, G_, W_, W_, G_, R_, W_, G_}));
    }
}

// Frame 1: red 3 x 2, frame 2 at (1, 0) 2 x 2 with index 2 transparent and disposal D,
// frame 3: one white pixel at (0, 1).
Bytes DisposalFixture(int D) {
    GIFRecipe R;
    R.Header().Screen(3, 2, Four).GraphicControl(1, false, 0);
    R.Image(0, 0, 3, 2, Bytes(6, 0), 2);
    R.GraphicControl(D, true, 2).Image(1, 0, 2, 2, {1, 2, 2, 1}, 2);
    R.Image(0, 1, 1, 1, {3}, 2).Trailer();
    return R.Build();
}

TEST(Composition, EachDisposalMethodPixelByPixel) {
    struct Case {
        int Disposal;
        std::vector<uint32_t> After3;
        std::string Mask3;
    };
    const std::vector<Case> Cases = {
        {0, {R_, G_, R_, W_, R_, G_}, "000\n000\n"}, {1, {R_, G_, R_, W_, R_, G_}, "000\n000\n"},
        {2, {R_, K_, K_, W_, K_, K_}, "011\n011\n"}, {3, {R_, R_, R_, W_, R_, R_}, "000\n000\n"},
        {5, {R_, K_, K_, W_, K_, K_}, "011\n011\n"},
    };
    for (const Case& C : Cases) {
        TGIFPicture G;
        ASSERT_TRUE(Load(G, DisposalFixture(C.Disposal)));
        EXPECT_EQ(Picture(G), (std::vector<uint32_t>(6, R_))) << C.Disposal;
        EXPECT_EQ(MaskOf(G.ComposedMask()), "000\n000\n");
        G.SetCurrentFrame(2);
        EXPECT_EQ(Picture(G), (std::vector<uint32_t>{R_, G_, R_, R_, R_, G_})) << C.Disposal;
        EXPECT_EQ(MaskOf(G.ComposedMask()), "000\n000\n");
        G.SetCurrentFrame(3);
        EXPECT_EQ(Picture(G), C.After3) << C.Disposal;
        EXPECT_EQ(MaskOf(G.ComposedMask()), C.Mask3) << C.Disposal;
        EXPECT_EQ(G.Status(), 0);
    }
}

TEST(Composition, RestoreToPreviousKeepsTheCoveredArea) {
    TGIFPicture G;
    ASSERT_TRUE(Load(G, DisposalFixture(3)));
    G.SetCurrentFrame(2);
    const TGIFFrame& F = *G.Frames(2);
    for (int32_t Y = 0; Y < 2; ++Y) {
        for (int32_t X = 0; X < 2; ++X) {
            EXPECT_EQ(F.SavedImage.Pixel(X, Y), R_);
            EXPECT_EQ(F.SavedMask.Pixel(X, Y), 0u);
        }
    }
}

TEST(Composition, RestoreToBackgroundWithoutMaskIsBlack) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four).GraphicControl(2, false, 0);
    R.Image(0, 0, 2, 2, {0, 1, 2, 3}, 2);
    R.Image(1, 1, 1, 1, {1}, 2).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(Picture(G), (std::vector<uint32_t>{R_, G_, B_, W_}));
    G.SetCurrentFrame(2);
    EXPECT_EQ(Picture(G), (std::vector<uint32_t>{K_, K_, K_, G_}));
    EXPECT_EQ(MaskOf(G.ComposedMask()), "none");
}

TEST(Composition, WrappingBackToFrameOneDisposesTheLastFrame) {
    TGIFPicture G;
    GIFRecipe R;
    R.Header().Screen(2, 1, Four).GraphicControl(0, true, 3).Image(0, 0, 2, 1, {0, 3}, 2);
    R.GraphicControl(2, false, 0).Image(1, 0, 1, 1, {1}, 2).Trailer();
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(MaskOf(G.ComposedMask()), "01\n");
    G.SetCurrentFrame(2);
    EXPECT_EQ(Picture(G), (std::vector<uint32_t>{R_, G_}));
    EXPECT_EQ(MaskOf(G.ComposedMask()), "00\n");
    G.SetCurrentFrame(1);
    // Frame 2's area went back to transparent; frame 1 leaves it so.
    EXPECT_EQ(Picture(G), (std::vector<uint32_t>{R_, K_}));
    EXPECT_EQ(MaskOf(G.ComposedMask()), "01\n");
}

TEST(Composition, FrameNumbersOutsideTheRangeSetStatus5AndChangeNothing) {
    TGIFPicture G;
    ASSERT_TRUE(Load(G, DisposalFixture(2)));
    const auto Before = Picture(G);
    int Events = 0;
    G.OnChange = [&](TGIFPicture&) { ++Events; };
    for (int32_t N : {0, -1, 4}) {
        G.SetCurrentFrame(N);
        EXPECT_EQ(G.Status(), 5);
        G.DisposeFrame(N);
        EXPECT_EQ(G.Status(), 5);
    }
    EXPECT_EQ(G.CurrentFrame(), 1);
    EXPECT_EQ(Picture(G), Before);
    EXPECT_EQ(Events, 0);
    G.Clear();
    EXPECT_TRUE(G.Empty());
    EXPECT_EQ(G.ComposedImage(), nullptr);
    G.DrawFrame();
    EXPECT_EQ(G.Status(), 5);
}

TEST(Composition, SettingTheSameFrameDoesNothing) {
    TGIFPicture G;
    ASSERT_TRUE(Load(G, DisposalFixture(2)));
    int Events = 0;
    G.OnChanging = [&](TGIFPicture&) { ++Events; };
    G.SetCurrentFrame(1);
    EXPECT_EQ(Events, 0);
    G.SetCurrentFrame(2);
    EXPECT_EQ(Events, 1);
}

TEST(RasterOps, MaskedDrawEqualsTheThreeOperations) {
    std::mt19937 Rng(3);
    for (int Case = 0; Case < 200; ++Case) {
        const int32_t W = 1 + static_cast<int32_t>(Rng() % 20),
                      H = 1 + static_cast<int32_t>(Rng() % 10);
        TBitmap Image, Mask, A, B;
        ASSERT_TRUE(Image.Create(W, H, 8));
        ASSERT_TRUE(Mask.Create(W, H, 1));
        std::vector<TRGBQuad> Pal(1 + Rng() % 256);
        for (auto& Q : Pal) {
            Q = TRGBQuad{static_cast<uint8_t>(Rng()), static_cast<uint8_t>(Rng()),
                         static_cast<uint8_t>(Rng()), 0};
        }
        Image.SetPalette(Pal);
        for (size_t I = 0; I < Image.DataSize(); ++I) {
            Image.Data()[I] = static_cast<uint8_t>(Rng());
        }
        for (size_t I = 0; I < Mask.DataSize(); ++I) {
            Mask.Data()[I] = static_cast<uint8_t>(Rng());
        }
        const int32_t DW = 1 + static_cast<int32_t>(Rng() % 25),
                      DH = 1 + static_cast<int32_t>(Rng() % 12);
        ASSERT_TRUE(A.Create(DW, DH, 32));
        ASSERT_TRUE(B.Create(DW, DH, 32));
        for (size_t I = 0; I < A.DataSize(); ++I) {
            A.Data()[I] = B.Data()[I] = (I % 4 == 3) ? 0 : static_cast<uint8_t>(Rng());
        }
        const int32_t X = static_cast<int32_t>(Rng() % 30) - 5,
                      Y = static_cast<int32_t>(Rng() % 14) - 3;
        MaskedDraw(A, X, Y, Image, Mask);
        BitBlt(B, X, Y, W, H, &Image, 0, 0, kSrcInvert);
        BitBlt(B, X, Y, W, H, &Mask, 0, 0, kSrcAnd);
        BitBlt(B, X, Y, W, H, &Image, 0, 0, kSrcInvert);
        ASSERT_EQ(std::vector<uint8_t>(A.Data(), A.Data() + A.DataSize()),
                  std::vector<uint8_t>(B.Data(), B.Data() + B.DataSize()))
            << "case " << Case;
    }
}

TEST(RasterOps, MonochromeOperationsMatchBitByBit) {
    std::mt19937 Rng(8);
    for (int Case = 0; Case < 2000; ++Case) {
        const int32_t DW = 1 + static_cast<int32_t>(Rng() % 100),
                      DH = 1 + static_cast<int32_t>(Rng() % 4);
        const int32_t SW = 1 + static_cast<int32_t>(Rng() % 100),
                      SH = 1 + static_cast<int32_t>(Rng() % 4);
        TBitmap D, S;
        ASSERT_TRUE(D.Create(DW, DH, 1));
        ASSERT_TRUE(S.Create(SW, SH, 1));
        for (size_t I = 0; I < D.DataSize(); ++I) {
            D.Data()[I] = static_cast<uint8_t>(Rng());
        }
        for (size_t I = 0; I < S.DataSize(); ++I) {
            S.Data()[I] = static_cast<uint8_t>(Rng());
        }
        const uint32_t Ops[] = {kSrcCopy, kSrcAnd, kSrcInvert, kBlackness, kWhiteness};
        const uint32_t Op = Ops[Rng() % 5];
        const int32_t X = static_cast<int32_t>(Rng() % 110) - 10,
                      Y = static_cast<int32_t>(Rng() % 6) - 2;
        const int32_t SX = static_cast<int32_t>(Rng() % 60) - 10,
                      SY = static_cast<int32_t>(Rng() % 3);
        const int32_t W = static_cast<int32_t>(Rng() % 110), H = static_cast<int32_t>(Rng() % 5);
        // Expected, pixel by pixel; padding bits past the width must stay as they were.
        std::vector<uint8_t> Expected(D.Data(), D.Data() + D.DataSize());
        const bool UsesSource = Op != kBlackness && Op != kWhiteness;
        for (int32_t j = 0; j < H; ++j) {
            for (int32_t i = 0; i < W; ++i) {
                const int32_t dx = X + i, dy = Y + j, sx = SX + i, sy = SY + j;
                if (dx < 0 || dy < 0 || dx >= DW || dy >= DH) {
                    continue;
                }
                if (UsesSource && (sx < 0 || sy < 0 || sx >= SW || sy >= SH)) {
                    continue;
                }
                const uint32_t d = D.Pixel(dx, dy), s = UsesSource ? S.Pixel(sx, sy) : 0;
                const uint32_t r = Op == kSrcCopy     ? s
                                   : Op == kSrcAnd    ? (d & s)
                                   : Op == kSrcInvert ? (d ^ s)
                                   : Op == kWhiteness ? 1
                                                      : 0;
                uint8_t& Byte = Expected[D.Stride() * static_cast<size_t>(DH - 1 - dy) +
                                         static_cast<size_t>(dx / 8)];
                Byte = static_cast<uint8_t>(r ? (Byte | (0x80 >> (dx % 8)))
                                              : (Byte & ~(0x80 >> (dx % 8))));
            }
        }
        BitBlt(D, X, Y, W, H, &S, SX, SY, Op);
        ASSERT_EQ(std::vector<uint8_t>(D.Data(), D.Data() + D.DataSize()), Expected)
            << "case " << Case;
    }
}

TEST(RasterOps, OperationsConversionsAndClipping) {
    TBitmap D;
    ASSERT_TRUE(D.Create(3, 2, 32));
    TBitmap M;
    ASSERT_TRUE(M.Create(2, 2, 1));
    M.Row(0)[0] = 0x80; // (0, 0) = 1
    M.Row(1)[0] = 0x40; // (1, 1) = 1
    // Monochrome onto colour: 1 is white, 0 black. Placed at (2, 1): only (2, 1) lands.
    EXPECT_TRUE(BitBlt(D, 2, 1, 2, 2, &M, 0, 0, kSrcCopy));
    EXPECT_EQ(D.Pixel(2, 1), W_);
    EXPECT_EQ(D.Pixel(1, 1), K_);
    EXPECT_TRUE(BitBlt(D, 0, 0, 3, 2, nullptr, 0, 0, kWhiteness));
    EXPECT_TRUE(BitBlt(D, -1, -1, 2, 2, &M, 0, 0, kSrcAnd)); // (0, 0) gets M(1, 1) = 1
    EXPECT_EQ(D.Pixel(0, 0), W_);
    EXPECT_TRUE(BitBlt(D, 1, 0, 2, 2, &M, 0, 0, kSrcAnd));
    EXPECT_EQ(D.Pixel(1, 0), W_);
    EXPECT_EQ(D.Pixel(2, 0), K_);
    EXPECT_EQ(D.Pixel(1, 1), K_);
    EXPECT_EQ(D.Pixel(2, 1), W_);
    TBitmap I;
    ASSERT_TRUE(I.Create(1, 1, 8));
    I.SetPalette({TRGBQuad{0x33, 0x22, 0x11, 0}});
    EXPECT_TRUE(BitBlt(D, 0, 1, 1, 1, &I, 0, 0, kSrcInvert));
    EXPECT_EQ(D.Pixel(0, 1), W_ ^ 0x112233u);
    I.Row(0)[0] = 7; // past the palette: black
    EXPECT_TRUE(BitBlt(D, 0, 1, 1, 1, &I, 0, 0, kSrcCopy));
    EXPECT_EQ(D.Pixel(0, 1), K_);
    // Entirely outside, unknown operations, colour onto monochrome: nothing.
    EXPECT_FALSE(BitBlt(D, 3, 0, 1, 1, nullptr, 0, 0, kBlackness));
    EXPECT_FALSE(BitBlt(D, 0, 0, 1, 1, &I, 0, 0, 0xF00021));
    EXPECT_FALSE(BitBlt(M, 0, 0, 1, 1, &I, 0, 0, kSrcCopy));
    // Monochrome destination with monochrome source.
    TBitmap M2;
    ASSERT_TRUE(M2.Create(2, 2, 1));
    EXPECT_TRUE(BitBlt(M2, 0, 0, 2, 2, nullptr, 0, 0, kWhiteness));
    EXPECT_TRUE(BitBlt(M2, 0, 0, 2, 2, &M, 0, 0, kSrcInvert));
    EXPECT_EQ(M2.Pixel(0, 0), 0u);
    EXPECT_EQ(M2.Pixel(1, 0), 1u);
    EXPECT_EQ(M2.Pixel(1, 1), 0u);
}

TEST(DrawState, DestinationRectangles) {
    struct Case {
        const char* What;
        int32_t W, H;
        bool Stretch, Ratio, BigOnly, Tile, Center;
        TRect Rect;
        bool Stretching;
    };
    // Picture 100 x 100 unless noted by the size list below.
    const std::vector<Case> Cases = {
        {"ratio wide", 200, 100, false, true, false, false, false, {50, 0, 150, 100}, true},
        {"ratio tall", 100, 200, false, true, false, false, false, {0, 50, 100, 150}, true},
        {"both flags", 200, 100, true, true, false, false, false, {0, 0, 200, 100}, true},
        {"stretch", 173, 165, true, false, false, false, false, {0, 0, 173, 165}, true},
        {"big only, larger control",
         150,
         120,
         true,
         false,
         true,
         false,
         true,
         {25, 10, 125, 110},
         false},
        {"big only, smaller one way",
         150,
         90,
         true,
         false,
         true,
         false,
         false,
         {0, 0, 150, 90},
         true},
        // One side exactly the picture's: "larger than the control" needs one side past it.
        {"big only, same width, taller control",
         100,
         120,
         true,
         false,
         true,
         false,
         false,
         {0, 0, 100, 100},
         false},
        {"big only, same width, shorter control",
         100,
         90,
         true,
         false,
         true,
         false,
         false,
         {0, 0, 100, 90},
         true},
        {"same size never scaled",
         100,
         100,
         true,
         true,
         false,
         false,
         false,
         {0, 0, 100, 100},
         false},
        {"center, 7 wider picture",
         93,
         100,
         false,
         false,
         false,
         false,
         true,
         {-3, 0, 97, 100},
         false},
        {"tile", 100, 100, false, false, false, true, false, {0, 0, 100, 100}, false},
        {"tile ignored when scaled", 50, 60, true, false, false, true, true, {0, 0, 50, 60}, true},
        {"plain", 40, 30, false, false, false, false, false, {0, 0, 100, 100}, false},
    };
    GIFRecipe R;
    R.Header().Screen(100, 100, Four).Image(0, 0, 1, 1, {0}, 2).Trailer();
    for (const Case& C : Cases) {
        TGIFImage G;
        G.SetBounds({5, 6, C.W, C.H});
        G.SetStretch(C.Stretch);
        G.SetStretchRatio(C.Ratio);
        G.SetStretchBigOnly(C.BigOnly);
        G.SetTile(C.Tile);
        G.SetCenter(C.Center);
        ASSERT_TRUE(Load(G, R.Build()));
        EXPECT_EQ(G.Stretching(), C.Stretching) << C.What;
        const TRect D = G.GetDestRect();
        EXPECT_EQ(D, C.Rect) << C.What << ": " << D.Left << "," << D.Top << "," << D.Right << ","
                             << D.Bottom;
    }
}

TEST(DrawState, RatioRoundsHalvesToEven) {
    // Picture 4 x 1 in a control 7 x 3: rx 1.75 is not above ry 3, so the height is fitted:
    // d = (3 - 1 x 1.75) / 2 = 0.625 -> 1, bottom [3 - 0.625] = 2.
    GIFRecipe R;
    R.Header().Screen(4, 1, Four).Image(0, 0, 4, 1, {0, 0, 0, 0}, 2).Trailer();
    TGIFImage G;
    G.SetBounds({0, 0, 7, 3});
    G.SetStretchRatio(true);
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.GetDestRect(), (TRect{0, 1, 7, 2}));
    // Picture 2 x 1 in 5 x 1: rx 2.5 > ry 1: d = (5 - 2) / 2 = 1.5 -> 2, right [3.5] = 4.
    GIFRecipe S;
    S.Header().Screen(2, 1, Four).Image(0, 0, 2, 1, {0, 0}, 2).Trailer();
    TGIFImage H;
    H.SetBounds({0, 0, 5, 1});
    H.SetStretchRatio(true);
    ASSERT_TRUE(Load(H, S.Build()));
    EXPECT_EQ(H.GetDestRect(), (TRect{2, 0, 4, 1}));
}

TEST(DrawState, CoversClientOnlyWhenOpaqueFirstFrameCoversTheControl) {
    GIFRecipe Opaque;
    Opaque.Header().Screen(10, 10, Four).Image(0, 0, 10, 10, Bytes(100, 1), 2).Trailer();
    GIFRecipe Transparent;
    Transparent.Header().Screen(10, 10, Four).GraphicControl(0, true, 0);
    Transparent.Image(0, 0, 10, 10, Bytes(100, 1), 2).Trailer();
    struct Case {
        const Bytes* File;
        int32_t W, H;
        bool Visible, Covers;
    };
    for (const Case& C :
         {Case{&Opaque.Build(), 10, 10, true, true}, Case{&Opaque.Build(), 8, 10, true, true},
          Case{&Opaque.Build(), 11, 10, true, false}, Case{&Opaque.Build(), 10, 10, false, false},
          Case{&Transparent.Build(), 10, 10, true, false}}) {
        TGIFImage G;
        G.SetBounds({0, 0, C.W, C.H});
        G.SetVisible(C.Visible);
        ASSERT_TRUE(Load(G, *C.File));
        EXPECT_EQ(G.CoversClient(), C.Covers) << C.W << " " << C.Visible;
        EXPECT_EQ(G.ControlOpaque(), C.Covers);
    }
    TGIFImage Empty;
    Empty.UpdateDrawState();
    EXPECT_FALSE(Empty.CoversClient());
    EXPECT_EQ(Empty.GetDestRect(), TRect{});
}

TEST(DrawState, AutoSizeTakesThePictureSize) {
    GIFRecipe R;
    R.Header().Screen(7, 5, Four).Image(0, 0, 1, 1, {0}, 2).Trailer();
    TGIFImage G;
    G.SetBounds({3, 4, 100, 100});
    G.SetAutoSize(true);
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.Left(), 3);
    EXPECT_EQ(G.Top(), 4);
    EXPECT_EQ(G.Width(), 7);
    EXPECT_EQ(G.Height(), 5);
}

} // namespace
} // namespace quillop::gif::test
