// The stream decoder through the control: structure, extensions, limits, progress, status.
#include "gif/gif_recipe.h"
#include "gif/picture.h"

#include <gtest/gtest.h>

#include <cstring>

namespace quillop::gif::test {
namespace {

const std::vector<RGB> Four = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};

// A 2 x 2 image of pixels 0 1 / 2 3.
GIFRecipe& SmallImage(GIFRecipe& R, uint16_t Left = 0, uint16_t Top = 0) {
    return R.Image(Left, Top, 2, 2, {0, 1, 2, 3}, 2);
}

Bytes OneFrame() {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    return SmallImage(R).Trailer().Build();
}

bool Load(TGIFPicture& G, const Bytes& B) {
    return G.LoadFromBuffer(B.data(), B.size());
}

Bytes Rows(const TBitmap& B) {
    Bytes Out;
    for (int32_t Y = 0; Y < B.Height(); ++Y) {
        for (int32_t X = 0; X < B.Width(); ++X) {
            Out.push_back(static_cast<uint8_t>(B.Pixel(X, Y)));
        }
    }
    return Out;
}

TEST(Decoder, LoadsFramePixelsPaletteAndState) {
    TGIFPicture G;
    const Bytes B = OneFrame();
    ASSERT_TRUE(Load(G, B));
    EXPECT_EQ(G.Status(), 0);
    EXPECT_FALSE(G.Empty());
    EXPECT_FALSE(G.Animated());
    EXPECT_EQ(G.FrameCount(), 1);
    EXPECT_EQ(G.CurrentFrame(), 1);
    EXPECT_EQ(G.ColorBits(), 2);
    EXPECT_EQ(G.LoopCount(), 1);
    EXPECT_EQ(G.DataStream().Content(), B);
    EXPECT_EQ(G.WorkStream().Size(), 0);
    const TGIFFrame& F = *G.Frames(1);
    EXPECT_EQ(Rows(F.Image), (Bytes{0, 1, 2, 3}));
    EXPECT_EQ(F.Image.Palette().size(), 4u);
    EXPECT_EQ(F.Image.Palette()[1], (TRGBQuad{0, 255, 0, 0}));
    EXPECT_EQ(F.ColorTable, &G.GlobalColorTable());
    EXPECT_TRUE(F.Mask.IsEmpty());
    EXPECT_EQ(G.Frames(0), nullptr);
    EXPECT_EQ(G.Frames(2), nullptr);
}

TEST(Decoder, FrameImageIsBuiltFromTheDescribedBMP) {
    TGIFPicture G;
    GIFRecipe R;
    R.Header().Screen(3, 2, Four).GraphicControl(0, true, 2);
    R.Image(0, 0, 3, 2, {0, 1, 2, 3, 2, 1}, 2).Trailer();
    ASSERT_TRUE(Load(G, R.Build()));
    const TGIFFrame& F = *G.Frames(1);
    const auto ImageBytes = F.Image.Storage();
    const Bytes Bmp(ImageBytes.begin(), ImageBytes.end());
    // File header: "BM", size, reserved, pixel offset 14 + 40 + 4 x 4 entries.
    const Bytes Header = {'B', 'M', 78, 0, 0, 0, 0, 0, 0, 0, 70, 0, 0, 0};
    EXPECT_EQ(Bytes(Bmp.begin(), Bmp.begin() + 14), Header);
    const Bytes Info = {40, 0, 0, 0, 3, 0, 0, 0, 2, 0, 0, 0, 1, 0, 8, 0, 0, 0, 0, 0,
                        8,  0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 4, 0, 0, 0, 0, 0, 0, 0};
    EXPECT_EQ(Bytes(Bmp.begin() + 14, Bmp.begin() + 54), Info);
    // Palette blue, green, red, 0; then rows bottom-up, padded to 4 bytes.
    const Bytes Rest = {0,   0,   255, 0, 0, 255, 0, 0, 255, 0, 0, 0,
                        255, 255, 255, 0, 3, 2,   1, 0, 0,   1, 2, 0};
    EXPECT_EQ(Bytes(Bmp.begin() + 54, Bmp.end()), Rest);
    // The mask: 1 bit per pixel, palette black and white, 1 where the index is 2.
    const auto MaskBytes = F.Mask.Storage();
    const Bytes M(MaskBytes.begin(), MaskBytes.end());
    ASSERT_EQ(M.size(), 14u + 40 + 8 + 8);
    EXPECT_EQ(M[10], 62);
    EXPECT_EQ(M[28], 1); // bits per pixel
    EXPECT_EQ(M[46], 2); // palette entries
    EXPECT_EQ(Bytes(M.begin() + 54, M.end()),
              (Bytes{0, 0, 0, 0, 255, 255, 255, 0, 0x40, 0, 0, 0, 0x20, 0, 0, 0}));
    EXPECT_EQ(F.TransparentColor, (TRGBTriple{0, 0, 255}));
}

TEST(Decoder, BitmapFromDIBRefusesShortPixelPart) {
    const std::vector<TRGBQuad> Pal(2);
    Bytes Rows(8, 0x55);
    Bytes File = MakeBMP(3, 2, 8, Pal, Rows.data(), Rows.size());
    TBitmap B;
    EXPECT_TRUE(BitmapFromDIB(B, File));
    EXPECT_EQ(B.Pixel(0, 0), 0x55u);
    File.pop_back();
    EXPECT_FALSE(BitmapFromDIB(B, File));
    EXPECT_TRUE(B.IsEmpty());
    EXPECT_FALSE(BitmapFromDIB(B, Bytes{'B', 'M', 0}));
}

TEST(Decoder, BMPPaletteEntriesKeepTheirColoursAndAZeroReservedByte) {
    // Written: blue, green, red, 0 whatever the entry's reserved byte; read back the same way.
    const std::vector<TRGBQuad> Pal = {{1, 2, 3, 0xAB}, {0xFF, 0xFE, 0xFD, 0xFF}, {7, 8, 9, 0}};
    const Bytes Rows = {0, 1, 2, 0};
    Bytes File = MakeBMP(3, 1, 8, Pal, Rows.data(), Rows.size());
    ASSERT_EQ(File.size(), 54u + 12 + 4);
    EXPECT_EQ(Bytes(File.begin() + 54, File.begin() + 66),
              (Bytes{1, 2, 3, 0, 0xFF, 0xFE, 0xFD, 0, 7, 8, 9, 0}));
    File[54 + 7] = 0x7F; // a reserved byte set in the file is not taken over
    TBitmap B;
    ASSERT_TRUE(BitmapFromDIB(B, File));
    EXPECT_EQ(B.Palette(),
              (std::vector<TRGBQuad>{{1, 2, 3, 0}, {0xFF, 0xFE, 0xFD, 0}, {7, 8, 9, 0}}));
    // Through the palette into a 32-bit bitmap: every stored byte, the fourth of each pixel 0.
    TBitmap Out;
    ASSERT_TRUE(Out.Create(3, 1, 32));
    ASSERT_TRUE(BitBlt(Out, 0, 0, 3, 1, &B, 0, 0, kSrcCopy));
    EXPECT_EQ(Bytes(Out.Data(), Out.Data() + 12),
              (Bytes{1, 2, 3, 0, 0xFF, 0xFE, 0xFD, 0, 7, 8, 9, 0}));
}

TEST(Decoder, VersionComesFromTheFifthByte) {
    struct Case {
        const char* Signature;
        TGIFVersion Version;
    };
    for (const Case& C :
         {Case{"GIF87a", gvGIF87a}, Case{"GIF89a", gvGIF89a}, Case{"GIFx9y", gvGIF89a},
          Case{"GIF\0"
               "9\0",
               gvGIF89a},
          Case{"GIF8xa", gvGIF87a}}) {
        GIFRecipe R;
        R.Header(std::string(C.Signature, 6)).Screen(2, 2, Four);
        TGIFPicture G;
        EXPECT_TRUE(Load(G, SmallImage(R).Trailer().Build())) << C.Signature;
        EXPECT_EQ(G.Version(), C.Version) << C.Signature;
    }
}

TEST(Decoder, StatusCodesOfFailedLoads) {
    struct Case {
        const char* What;
        Bytes File;
        uint8_t Status;
    };
    GIFRecipe NoImage;
    NoImage.Header().Screen(2, 2, Four).Comment({"x"}).Trailer();
    GIFRecipe ZeroWidth;
    ZeroWidth.Header().Screen(2, 2, Four).ImageDescriptor(0, 0, 0, 2).Trailer();
    GIFRecipe ShortTable;
    ShortTable.Header().Screen(2, 2, Four);
    Bytes Short = ShortTable.Build();
    Short.resize(6 + 7 + 5);
    GIFRecipe BadCodeSize;
    BadCodeSize.Header()
        .Screen(2, 2, Four)
        .ImageDescriptor(0, 0, 2, 2)
        .Byte(16)
        .Byte(1)
        .Byte(0)
        .Byte(0);
    const std::vector<Case> Cases = {
        {"empty", {}, 2},
        {"not GIF", Bytes{'G', 'I', 'X', '8', '9', 'a', 2, 0, 2, 0, 0, 0, 0}, 3},
        {"short header", Bytes{'G', 'I', 'F', '8'}, 3},
        {"short screen", Bytes{'G', 'I', 'F', '8', '9', 'a', 2, 0, 2}, 3},
        {"short global table", Short, 3},
        {"no image", NoImage.Build(), 3},
        {"zero width", ZeroWidth.Build(), 3},
        {"code size 16 only", BadCodeSize.Build(), 3},
    };
    for (const Case& C : Cases) {
        TGIFPicture G;
        ASSERT_TRUE(Load(G, OneFrame()));
        EXPECT_FALSE(Load(G, C.File)) << C.What;
        EXPECT_EQ(G.Status(), C.Status) << C.What;
        // Whatever was loaded before is gone.
        EXPECT_TRUE(G.Empty()) << C.What;
        EXPECT_EQ(G.FrameCount(), 0) << C.What;
        EXPECT_EQ(G.ComposedImage(), nullptr) << C.What;
        EXPECT_EQ(G.DataStream().Size(), 0) << C.What;
    }
}

TEST(Decoder, ZeroWidthDescriptorReportsFullProgress) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    SmallImage(R).ImageDescriptor(0, 0, 0, 2).Trailer();
    TGIFPicture G;
    std::vector<int32_t> Percent;
    G.OnProgress = [&](TGIFPicture&, int32_t, int32_t, int32_t P, bool&) { Percent.push_back(P); };
    EXPECT_FALSE(Load(G, R.Build()));
    EXPECT_EQ(G.Status(), 3);
    ASSERT_FALSE(Percent.empty());
    EXPECT_EQ(Percent.back(), 100);
}

TEST(Decoder, ProgressReportsPositionsAndRoundedPercentages) {
    // 41 bytes of GIF, 158 stray bytes read in pairs, the trailer: 200 bytes.
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    SmallImage(R).Raw(Bytes(158, 0)).Trailer();
    ASSERT_EQ(R.Size(), 200u);
    TGIFPicture G;
    std::vector<std::array<int32_t, 3>> Calls;
    G.OnProgress = [&](TGIFPicture&, int32_t Done, int32_t Total, int32_t P, bool&) {
        Calls.push_back({Done, Total, P});
    };
    ASSERT_TRUE(Load(G, R.Build()));
    ASSERT_EQ(Calls.size(), 2u + 79 + 1);
    // Halves go up: 12.5 -> 13, 20.5 -> 21, 21.5 -> 22.
    EXPECT_EQ(Calls[0], (std::array<int32_t, 3>{25, 200, 13}));
    EXPECT_EQ(Calls[1], (std::array<int32_t, 3>{41, 200, 21}));
    EXPECT_EQ(Calls[2], (std::array<int32_t, 3>{43, 200, 22}));
    EXPECT_EQ(Calls[80], (std::array<int32_t, 3>{199, 200, 100}));
    EXPECT_EQ(Calls[81], (std::array<int32_t, 3>{200, 200, 100}));
}

TEST(Decoder, CancelOutsideImageDataFailsWithStatus1) {
    TGIFPicture G;
    G.OnProgress = [](TGIFPicture&, int32_t, int32_t, int32_t, bool& Keep) { Keep = false; };
    EXPECT_FALSE(Load(G, OneFrame()));
    EXPECT_EQ(G.Status(), 1);
    EXPECT_TRUE(G.Empty());
}

// Frame 1 small, frame 2 large enough (400 x 300) to report progress inside its data.
Bytes SmallThenLarge() {
    GIFRecipe R;
    R.Header().Screen(400, 300, Four);
    SmallImage(R);
    Bytes Big(400 * 300);
    for (size_t I = 0; I < Big.size(); ++I) {
        Big[I] = static_cast<uint8_t>(I % 3);
    }
    R.Image(0, 0, 400, 300, Big, 2).Trailer();
    return R.Build();
}

TEST(Decoder, CancelDuringImageDataThenFinalProgressDecides) {
    for (const bool ResumeAtEnd : {false, true}) {
        TGIFPicture G;
        int Calls = 0, CallsAfterCancel = 0;
        bool Cancelled = false;
        G.OnProgress = [&](TGIFPicture& Sender, int32_t, int32_t, int32_t, bool& Keep) {
            ++Calls;
            if (Cancelled) {
                ++CallsAfterCancel;
                EXPECT_FALSE(Keep);
                if (ResumeAtEnd) {
                    Keep = true;
                }
                return;
            }
            // The first report inside frame 2's data (frame 1 is already held).
            if (Sender.Frames(1) == nullptr && Calls > 3) {
                ADD_FAILURE() << "frame 1 missing";
            }
            if (Calls == 4) {
                Keep = false;
                Cancelled = true;
            }
        };
        const bool Ok = Load(G, SmallThenLarge());
        EXPECT_EQ(CallsAfterCancel, 1);
        if (ResumeAtEnd) {
            EXPECT_TRUE(Ok);
            EXPECT_EQ(G.Status(), 0);
            EXPECT_EQ(G.FrameCount(), 1);
        } else {
            EXPECT_FALSE(Ok);
            EXPECT_EQ(G.Status(), 1);
            EXPECT_EQ(G.FrameCount(), 0);
        }
    }
}

TEST(Decoder, CancelInTheOnlyFrameResumedStillFails) {
    GIFRecipe R;
    R.Header().Screen(400, 300, Four);
    R.Image(0, 0, 400, 300, Bytes(400 * 300, 1), 2).Trailer();
    TGIFPicture G;
    int Calls = 0;
    G.OnProgress = [&](TGIFPicture&, int32_t, int32_t, int32_t, bool& Keep) {
        ++Calls;
        Keep = Calls != 3; // the first report inside the image data cancels
    };
    EXPECT_FALSE(Load(G, R.Build()));
    EXPECT_EQ(G.Status(), 1);
    EXPECT_EQ(G.FrameCount(), 0);
}

TEST(Decoder, ProgressInsideImageCountsRows) {
    GIFRecipe R;
    R.Header().Screen(400, 300, Four);
    R.Image(0, 0, 400, 300, Bytes(400 * 300, 1), 2).Trailer();
    TGIFPicture G;
    std::vector<int32_t> Done;
    G.OnProgress = [&](TGIFPicture&, int32_t D, int32_t, int32_t, bool&) { Done.push_back(D); };
    ASSERT_TRUE(Load(G, R.Build()));
    // Two block-scan calls, ten rows (0, 32, ... 288), one after the image, one at the end.
    EXPECT_EQ(Done.size(), 2u + 10 + 1);
    EXPECT_TRUE(std::is_sorted(Done.begin(), Done.end()));
}

TEST(Decoder, ProgressInsideImageOnlyPast100000Pixels) {
    struct Case {
        int W, H;
        size_t Calls;
    };
    // Two block-scan calls and the one after the scan, plus one per reported row: at 100,000
    // pixels none, at 100,001 (9091 x 11, rows every 32nd) row 0 alone.
    for (const Case& C : {Case{1000, 100, 3}, Case{9091, 11, 4}}) {
        GIFRecipe R;
        R.Header().Screen(static_cast<uint16_t>(C.W), static_cast<uint16_t>(C.H), Four);
        R.Image(0, 0, static_cast<uint16_t>(C.W), static_cast<uint16_t>(C.H),
                Bytes(static_cast<size_t>(C.W * C.H), 1), 2)
            .Trailer();
        TGIFPicture G;
        size_t Calls = 0;
        G.OnProgress = [&](TGIFPicture&, int32_t, int32_t, int32_t, bool&) { ++Calls; };
        ASSERT_TRUE(Load(G, R.Build()));
        EXPECT_EQ(Calls, C.Calls) << C.W << " x " << C.H;
    }
}

TEST(Decoder, GraphicControlAppliesToTheNextImageOnly) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    R.GraphicControl(1, false, 0, 5).GraphicControl(3, true, 2, 7);
    SmallImage(R);
    SmallImage(R).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    ASSERT_EQ(G.FrameCount(), 2);
    const TGIFFrame& A = *G.Frames(1);
    EXPECT_EQ(A.Disposal, 3);
    EXPECT_EQ(A.Delay, 70);
    EXPECT_TRUE(A.Transparent);
    EXPECT_EQ(A.TransparentIndex, 2);
    EXPECT_FALSE(A.SavedImage.IsEmpty());
    EXPECT_EQ(A.SavedImage.BitCount(), 32);
    EXPECT_EQ(A.SavedMask.BitCount(), 1);
    const TGIFFrame& B = *G.Frames(2);
    EXPECT_EQ(B.Disposal, 0);
    EXPECT_EQ(B.Delay, 0);
    EXPECT_FALSE(B.Transparent);
    EXPECT_TRUE(B.SavedImage.IsEmpty());
    EXPECT_TRUE(G.HasTransparency());
    EXPECT_TRUE(G.Animated());
}

TEST(Decoder, DisposalFourToSevenIsStoredAsTwo) {
    for (int D = 0; D < 8; ++D) {
        GIFRecipe R;
        R.Header().Screen(2, 2, Four).GraphicControl(D, false, 0);
        TGIFPicture G;
        ASSERT_TRUE(Load(G, SmallImage(R).Trailer().Build()));
        EXPECT_EQ(G.Frames(1)->Disposal, D > 3 ? 2 : D);
    }
}

TEST(Decoder, GraphicControlOfOtherBlockSizes) {
    // Size 2: packed byte and the delay's low byte only; the rest count as 0.
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    R.Byte(0x21).Byte(0xF9).Byte(2).Byte(0x09).Byte(3).Byte(0);
    SmallImage(R);
    // Size 6 with a following sub-block: the extra bytes are skipped.
    R.Byte(0x21).Byte(0xF9).Byte(6).Byte(0x05).Word(4).Byte(1).Byte(0xAA).Byte(0xBB);
    R.Byte(2).Byte(0x2C).Byte(0x3B).Byte(0);
    SmallImage(R).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    ASSERT_EQ(G.FrameCount(), 2);
    EXPECT_EQ(G.Frames(1)->Disposal, 2);
    EXPECT_TRUE(G.Frames(1)->Transparent);
    EXPECT_EQ(G.Frames(1)->Delay, 30);
    EXPECT_EQ(G.Frames(1)->TransparentIndex, 0);
    EXPECT_EQ(G.Frames(2)->Disposal, 1);
    EXPECT_EQ(G.Frames(2)->Delay, 40);
    EXPECT_EQ(G.Frames(2)->TransparentIndex, 1);
}

TEST(Decoder, CommentsTheLastBeforeEachImageCounts) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four).Comment({"first"}).Comment({"sec", "ond\x01"});
    SmallImage(R);
    SmallImage(R).Comment({"after"}).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.Frames(1)->Comment, "second\x01");
    EXPECT_EQ(G.Frames(2)->Comment, "");
}

TEST(Decoder, CommentCutShortEndsAtTheLastWholeSubBlock) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    SmallImage(R).Byte(0x21).Byte(0xFE).Byte(2).Text("ab").Byte(9).Text("cd");
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.FrameCount(), 1);
}

TEST(Decoder, NetscapeLoopCount) {
    struct Case {
        const char* What;
        Bytes Extension;
        int32_t Loop;
    };
    auto Netscape = [](uint8_t Size, const char* Id, uint8_t SubSize, Bytes Sub) {
        GIFRecipe R;
        R.Byte(0x21).Byte(0xFF).Byte(Size).Text(std::string(Id, Size)).Byte(SubSize).Raw(Sub);
        return R.Byte(0).Build();
    };
    const std::vector<Case> Cases = {
        {"none", {}, 1},
        {"zero", Netscape(11, "NETSCAPE2.0", 3, {1, 0, 0}), 0},
        {"five, any id byte", Netscape(11, "NETSCAPE2.0", 3, {7, 5, 0}), 5},
        {"two bytes", Netscape(11, "NETSCAPE2.0", 3, {1, 0x34, 0x12}), 0x1234},
        {"short block size", Netscape(8, "NETSCAPE", 3, {1, 9, 0}), 1},
        {"other application", Netscape(11, "ANIMEXTS1.0", 3, {1, 9, 0}), 1},
        {"sub-block too short", Netscape(11, "NETSCAPE2.0", 2, {1, 9}), 1},
    };
    for (const Case& C : Cases) {
        GIFRecipe R;
        R.Header().Screen(2, 2, Four).Raw(C.Extension);
        TGIFPicture G;
        ASSERT_TRUE(Load(G, SmallImage(R).Trailer().Build())) << C.What;
        EXPECT_EQ(G.LoopCount(), C.Loop) << C.What;
        EXPECT_EQ(G.FrameCount(), 1) << C.What;
    }
    // A zero-length first sub-block ends the extension: the image after it still loads.
    GIFRecipe R;
    R.Header().Screen(2, 2, Four).Byte(0x21).Byte(0xFF).Byte(11).Text("NETSCAPE2.0").Byte(0);
    TGIFPicture G;
    ASSERT_TRUE(Load(G, SmallImage(R).Trailer().Build()));
    EXPECT_EQ(G.LoopCount(), 1);
}

TEST(Decoder, PlainTextAndUnknownExtensionsAreSkipped) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    R.Extension(0x01, {Bytes(12, 0x2C), Bytes{'h', 'i'}});
    R.Extension(0x77, {Bytes{0x2C, 0x21}, Bytes(200, 0x3B)});
    SmallImage(R).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.FrameCount(), 1);
}

TEST(Decoder, ImageWidthGrowsToTheFarthestFrameEdge) {
    GIFRecipe R;
    R.Header().Screen(50, 3, Four);
    R.Image(10, 0, 100, 1, Bytes(100, 1), 2);
    R.Image(0, 2, 2, 4, Bytes(8, 2), 2).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.ImageWidth(), 110);
    EXPECT_EQ(G.ImageHeight(), 6);
    EXPECT_EQ(G.ComposedImage()->Width(), 110);
    EXPECT_EQ(G.ComposedImage()->Height(), 6);
}

TEST(Decoder, FirstImageOnlyStopsAfterOneFrame) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    for (int I = 0; I < 10; ++I) {
        SmallImage(R);
    }
    R.Trailer();
    TGIFPicture G;
    G.SetFirstImageOnly(true);
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.FrameCount(), 1);
    EXPECT_FALSE(G.Animated());
    G.SetFirstImageOnly(false);
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.FrameCount(), 10);
    EXPECT_TRUE(G.Animated());
}

TEST(Decoder, MoreThan256ImagesKeep256) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    for (int I = 0; I < 257; ++I) {
        R.Comment({std::to_string(I)});
        SmallImage(R);
    }
    R.Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.FrameCount(), 256);
    EXPECT_EQ(G.Frames(256)->Comment, "255");
}

TEST(Decoder, OversizedFrameEndsTheScanKeepingEarlierFrames) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    SmallImage(R);
    R.ImageDescriptor(0, 0, 16385, 1).Byte(2).Byte(0);
    SmallImage(R).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.FrameCount(), 1);
    // Alone, it leaves no frame: the load fails.
    GIFRecipe S;
    S.Header().Screen(2, 2, Four).ImageDescriptor(0, 0, 2, 16385).Byte(2).Byte(0).Trailer();
    EXPECT_FALSE(Load(G, S.Build()));
    EXPECT_EQ(G.Status(), 3);
}

TEST(Decoder, CodeSizeAboveFifteenDropsThatFrameAndEndsTheScan) {
    for (uint8_t Size : {16, 17, 255}) {
        GIFRecipe R;
        R.Header().Screen(2, 2, Four);
        SmallImage(R).ImageDescriptor(0, 0, 2, 2).Byte(Size).Byte(1).Byte(0xFF).Byte(0);
        SmallImage(R).Trailer();
        TGIFPicture G;
        ASSERT_TRUE(Load(G, R.Build()));
        EXPECT_EQ(G.FrameCount(), 1) << int(Size);
    }
}

TEST(Decoder, CodeSizeTwelveFrameDecodesAndTheScanGoesOn) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    SmallImage(R).ImageDescriptor(0, 0, 2, 2).Codes(12, CodesOfWidth({4096, 3, 2, 1, 0, 4097}, 13));
    SmallImage(R).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.Status(), 0);
    ASSERT_EQ(G.FrameCount(), 3);
    EXPECT_EQ(Rows(G.Frames(2)->Image), (Bytes{3, 2, 1, 0}));
    EXPECT_EQ(Rows(G.Frames(3)->Image), Rows(G.Frames(1)->Image));
}

TEST(Decoder, SelfReferencingCodeThenASecondImage) {
    GIFRecipe R;
    R.Header().Screen(8, 1, Four);
    std::vector<Code> Codes = CodesOfWidth({4, 1, 7, 1}, 3);
    Codes.push_back({7, 4});
    Codes.push_back({0x2C, 8});
    Codes.push_back({0x3B, 8});
    R.ImageDescriptor(0, 0, 8, 1).Codes(2, Codes, 2);
    R.Image(0, 0, 8, 1, {3, 2, 1, 0, 0, 1, 2, 3}, 2).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    ASSERT_EQ(G.FrameCount(), 2);
    EXPECT_EQ(Rows(G.Frames(1)->Image), (Bytes{1, 1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(Rows(G.Frames(2)->Image), (Bytes{3, 2, 1, 0, 0, 1, 2, 3}));
}

TEST(Decoder, TruncatedImageDataKeepsTheFrame) {
    GIFRecipe R;
    R.Header().Screen(4, 2, Four).GraphicControl(0, true, 3);
    Bytes B = R.Image(0, 0, 4, 2, {0, 1, 2, 0, 1, 2, 0, 1}, 2).Build();
    B.resize(B.size() - 3); // end code, terminator and a data byte gone
    TGIFPicture G;
    ASSERT_TRUE(Load(G, B));
    EXPECT_EQ(G.Status(), 0);
    ASSERT_EQ(G.FrameCount(), 1);
    const TGIFFrame& F = *G.Frames(1);
    // Three pixels arrived; whatever was not decoded is 0 and transparent.
    EXPECT_EQ(Rows(F.Image), (Bytes{0, 1, 2, 0, 0, 0, 0, 0}));
    EXPECT_EQ(Rows(F.Mask), (Bytes{0, 0, 0, 1, 1, 1, 1, 1}));
}

TEST(Decoder, FirstSubBlockCutShortStillGivesItsPixels) {
    // Clear, 1, 2, 3, 1, end in 3 bytes under a length byte of 10, then the end of the file.
    GIFRecipe R;
    R.Header().Screen(2, 2, Four).ImageDescriptor(0, 0, 2, 2).Byte(2).Byte(10);
    R.Raw(PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {1, 4}, {5, 4}}));
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.Status(), 0);
    ASSERT_EQ(G.FrameCount(), 1);
    EXPECT_EQ(Rows(G.Frames(1)->Image), (Bytes{1, 2, 3, 1}));
}

TEST(Decoder, FileEndingInsideALocalColorTableKeepsTheFrame) {
    struct Case {
        const char* What;
        size_t TableBytes; // of the 12 the local table needs
    };
    for (const Case& C : {Case{"3 of 12 table bytes", 3}, Case{"right after the descriptor", 0}}) {
        GIFRecipe R;
        R.Header().Screen(2, 2, Four).ImageDescriptor(0, 0, 2, 2, 0x81); // 4-entry local table
        Bytes B = R.Build();
        for (size_t I = 0; I < C.TableBytes; ++I) {
            B.push_back(static_cast<uint8_t>(0x40 + I));
        }
        TGIFPicture G;
        ASSERT_TRUE(Load(G, B)) << C.What;
        EXPECT_EQ(G.Status(), 0) << C.What;
        ASSERT_EQ(G.FrameCount(), 1) << C.What;
        const TGIFFrame& F = *G.Frames(1);
        EXPECT_TRUE(F.HasLocalColorTable) << C.What;
        EXPECT_EQ(Rows(F.Image), Bytes(4, 0)) << C.What;
        ASSERT_EQ(F.Image.Palette().size(), 4u) << C.What;
        // The colours that arrived, then black.
        const uint32_t First = C.TableBytes == 3 ? 0x404142u : 0u;
        EXPECT_EQ(F.Image.Color(0, 0), First) << C.What;
        for (size_t I = 1; I < 4; ++I) {
            EXPECT_EQ(F.Image.Palette()[I], TRGBQuad{}) << C.What << " entry " << I;
        }
    }
}

TEST(Decoder, FailedLoadLeavesThePictureSizeAsItWas) {
    GIFRecipe R;
    R.Header().Screen(10, 10, Four).Image(0, 0, 10, 10, Bytes(100, 1), 2).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    GIFRecipe NoImage;
    NoImage.Header().Screen(20, 30, Four).Trailer();
    EXPECT_FALSE(Load(G, NoImage.Build()));
    EXPECT_EQ(G.Status(), 3);
    EXPECT_EQ(G.ImageWidth(), 10);
    EXPECT_EQ(G.ImageHeight(), 10);
}

TEST(Decoder, LoneLastByteEndsTheScan) {
    Bytes B = OneFrame();
    B.back() = 0x21; // no trailer, one stray byte
    TGIFPicture G;
    ASSERT_TRUE(Load(G, B));
    EXPECT_EQ(G.FrameCount(), 1);
}

TEST(Decoder, StrayBytesBetweenBlocksAreDroppedInPairs) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four).Byte(0x00).Byte(0x2C);
    SmallImage(R).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.FrameCount(), 1);
}

TEST(Decoder, LocalColorTableAndShortLocalTable) {
    GIFRecipe R;
    R.Header().Screen(2, 2, Four);
    R.Image(0, 0, 2, 2, {0, 1, 2, 3}, 2, false, {{1, 2, 3}, {4, 5, 6}}, 3).Trailer();
    TGIFPicture G;
    ASSERT_TRUE(Load(G, R.Build()));
    const TGIFFrame& F = *G.Frames(1);
    EXPECT_TRUE(F.HasLocalColorTable);
    EXPECT_EQ(F.ColorBits, 3);
    EXPECT_EQ(G.ColorBits(), 3);
    EXPECT_EQ(F.Image.Palette().size(), 8u);
    EXPECT_EQ(F.Image.Color(1, 0), 0x040506u);
    EXPECT_EQ(F.Image.Color(0, 1), 0u); // entry 2 is black
}

TEST(Decoder, GlobalTableIsClearedBetweenLoads) {
    TGIFPicture G;
    ASSERT_TRUE(Load(G, OneFrame()));
    EXPECT_EQ(G.GlobalColorTable()[0], (TRGBTriple{255, 0, 0}));
    GIFRecipe R;
    R.Header().Screen(2, 2);
    ASSERT_TRUE(Load(G, SmallImage(R).Trailer().Build()));
    for (const TRGBTriple& C : G.GlobalColorTable()) {
        ASSERT_EQ(C, TRGBTriple{});
    }
    // No table at all: one palette entry, everything black.
    EXPECT_EQ(G.Frames(1)->Image.Palette().size(), 1u);
    EXPECT_EQ(G.ComposedImage()->Pixel(1, 1), 0u);
}

TEST(Decoder, MemoryBudget) {
    // The screen alone over the budget fails the load.
    {
        GIFRecipe R;
        R.Header().Screen(60000, 60000, Four);
        TGIFPicture G;
        EXPECT_FALSE(Load(G, SmallImage(R).Trailer().Build()));
        EXPECT_EQ(G.Status(), 3);
    }
    // A frame that would not fit ends the scan; the frames before it stay.
    {
        GIFRecipe R;
        R.Header().Screen(2, 2, Four);
        SmallImage(R);
        R.Image(0, 0, 200, 200, Bytes(200 * 200, 1), 2).Trailer();
        TGIFPicture G;
        G.SetMemoryBudget(100000);
        ASSERT_TRUE(Load(G, R.Build()));
        EXPECT_EQ(G.FrameCount(), 1);
        EXPECT_LE(G.MemoryUsed(), 100000u);
        G.SetMemoryBudget(GIFDefaultMemoryBudget);
        ASSERT_TRUE(Load(G, R.Build()));
        EXPECT_EQ(G.FrameCount(), 2);
    }
    // A small frame placed far out would grow the composed picture past the budget.
    {
        GIFRecipe R;
        R.Header().Screen(2, 2, Four);
        SmallImage(R);
        SmallImage(R, 60000, 60000).Trailer();
        TGIFPicture G;
        ASSERT_TRUE(Load(G, R.Build()));
        EXPECT_EQ(G.FrameCount(), 1);
        EXPECT_EQ(G.ImageWidth(), 2);
    }
    // Many large frames: the decoder stops before the budget, not after.
    {
        GIFRecipe One;
        One.Image(0, 0, 600, 600, Bytes(600 * 600, 1), 2);
        GIFRecipe R;
        R.Header().Screen(600, 600, Four);
        for (int I = 0; I < 40; ++I) {
            R.Raw(One.Build());
        }
        R.Trailer();
        TGIFPicture G;
        G.SetMemoryBudget(4u << 20);
        ASSERT_TRUE(Load(G, R.Build()));
        EXPECT_LT(G.FrameCount(), 40);
        EXPECT_GT(G.FrameCount(), 3);
        EXPECT_LE(G.MemoryUsed(), 4u << 20);
    }
}

// What a load holds, byte for byte: each frame's BMP (headers, palette, rows), a transparent
// frame's mask BMP, and the composed picture (32-bit rows) with its mask when there is one.
TEST(Decoder, MemoryUsedCountsEveryBuffer) {
    GIFRecipe Opaque;
    Opaque.Header().Screen(2, 2, Four);
    GIFRecipe Transparent;
    Transparent.Header().Screen(2, 2, Four).GraphicControl(0, true, 3);
    TGIFPicture G;
    ASSERT_TRUE(Load(G, SmallImage(Opaque).Trailer().Build()));
    // Frame: 54 + 4 x 4 palette + 2 rows of 4 = 78; composed: 2 rows of 8 = 16.
    EXPECT_EQ(G.MemoryUsed(), 94u);
    ASSERT_TRUE(Load(G, SmallImage(Transparent).Trailer().Build()));
    // Plus the mask BMP (54 + 8 + 2 rows of 4 = 70) and the composed mask (2 rows of 4 = 8).
    EXPECT_EQ(G.MemoryUsed(), 172u);
    G.Clear();
    EXPECT_EQ(G.MemoryUsed(), 0u);
}

TEST(Decoder, BudgetCountsTheDecodersWorkingBuffer) {
    // 600 x 600 transparent frames under 4 MiB: the composed picture and mask take 1,485,600
    // bytes from the start and the decoder's working buffer 360,000 while the load runs; each
    // frame takes 405,732 (image BMP 360,070, mask BMP 45,662). Five fit, a sixth would not.
    GIFRecipe One;
    One.GraphicControl(0, true, 3).Image(0, 0, 600, 600, Bytes(600 * 600, 1), 2);
    GIFRecipe R;
    R.Header().Screen(600, 600, Four);
    for (int I = 0; I < 8; ++I) {
        R.Raw(One.Build());
    }
    R.Trailer();
    TGIFPicture G;
    G.SetMemoryBudget(4u << 20);
    ASSERT_TRUE(Load(G, R.Build()));
    EXPECT_EQ(G.FrameCount(), 5);
    EXPECT_EQ(G.MemoryUsed(), 5u * 405732 + 1485600);
}

// A stream that claims 2 GiB without holding it.
class HugeStream : public TStream {
public:
    int64_t Size() const override { return int64_t{1} << 31; }
    int64_t Position() const override { return 0; }
    void SetPosition(int64_t) override {}
    int64_t Read(void*, int64_t) override {
        ADD_FAILURE() << "read from a refused source";
        return 0;
    }
};

TEST(Decoder, SourceOf2GiBOrMoreIsRefused) {
    TGIFPicture G;
    HugeStream S;
    EXPECT_FALSE(G.LoadFromStream(S));
    EXPECT_EQ(G.Status(), 3);
}

TEST(Decoder, LoadReadsTheWholeStreamFromItsStart) {
    const Bytes B = OneFrame();
    TMemoryStream S(B.data(), B.size());
    S.SetPosition(10);
    TGIFPicture G;
    ASSERT_TRUE(G.LoadFromStream(S));
    EXPECT_EQ(G.DataStream().Content(), B);
}

TEST(Decoder, LoadAndClearFromInsideOnProgressDoNothing) {
    TGIFPicture G;
    const Bytes B = OneFrame();
    int Calls = 0;
    G.OnProgress = [&](TGIFPicture& Sender, int32_t, int32_t, int32_t, bool&) {
        ++Calls;
        EXPECT_FALSE(Sender.LoadFromBuffer(B.data(), B.size()));
        Sender.Clear();
        Sender.DrawFrame();
        Sender.DisposeFrame(1);
        EXPECT_EQ(Sender.Status(), 3);
    };
    ASSERT_TRUE(Load(G, B));
    EXPECT_GT(Calls, 0);
    EXPECT_EQ(G.FrameCount(), 1);
    EXPECT_NE(G.ComposedImage(), nullptr);
}

TEST(Decoder, ChangeEventsFireOnceAroundTheFirstDraw) {
    TGIFPicture G;
    std::string Log;
    G.OnChanging = [&](TGIFPicture& S) {
        Log += "changing;";
        EXPECT_FALSE(S.Empty());
    };
    G.OnChange = [&](TGIFPicture& S) {
        Log += "change;";
        EXPECT_EQ(S.ComposedImage()->Pixel(1, 0), 0x00FF00u);
    };
    ASSERT_TRUE(Load(G, OneFrame()));
    EXPECT_EQ(Log, "changing;change;");
}

TEST(Decoder, HandlerThatThrowsNeverReachesTheCaller) {
    TGIFPicture G;
    G.OnProgress = [](TGIFPicture&, int32_t, int32_t, int32_t, bool&) { throw 42; };
    EXPECT_FALSE(Load(G, OneFrame()));
    EXPECT_TRUE(G.Empty());
}

TEST(Decoder, ANextLoadReusesTheBlocksAndShowsNothingOfThePreviousPicture) {
    // 300 x 300 frames (90,000 bytes each) live in the picture's blocks, which it keeps for the
    // next load; what that load does not draw must be black, not the previous load's pixels.
    GIFRecipe Full;
    Full.Header().Screen(300, 300, Four).Image(0, 0, 300, 300, Bytes(300 * 300, 3), 2).Trailer();
    GIFRecipe Corner;
    Corner.Header().Screen(300, 300, Four).Image(0, 0, 300, 300, Bytes(300 * 300, 1), 2);
    Corner.GraphicControl(0, false, 0).Image(10, 10, 2, 2, {2, 2, 2, 2}, 2).Trailer();
    GIFRecipe Small;
    Small.Header().Screen(300, 300, Four);
    SmallImage(Small, 100, 100).Trailer();

    TGIFPicture G;
    ASSERT_TRUE(Load(G, Full.Build()));
    EXPECT_EQ(G.ComposedImage()->Pixel(299, 299), 0xFFFFFFu);
    const uint8_t* FirstRows = G.Frames(1)->Image.Data();
    const uint8_t* FirstComposed = G.ComposedImage()->Data();
    ASSERT_TRUE(Load(G, Corner.Build()));
    EXPECT_EQ(G.Frames(1)->Image.Data(), FirstRows);
    EXPECT_EQ(G.ComposedImage()->Data(), FirstComposed);
    EXPECT_EQ(G.ComposedImage()->Pixel(299, 299), 0x00FF00u);
    G.SetCurrentFrame(2);
    EXPECT_EQ(G.ComposedImage()->Pixel(10, 10), 0x0000FFu);

    ASSERT_TRUE(Load(G, Small.Build()));
    EXPECT_EQ(G.Frames(1)->Image.Data(), FirstRows); // a small frame goes into the kept block
    EXPECT_EQ(G.ComposedImage()->Pixel(0, 0), 0u);
    EXPECT_EQ(G.ComposedImage()->Pixel(299, 299), 0u);
    EXPECT_EQ(G.ComposedImage()->Pixel(10, 10), 0u);
    EXPECT_EQ(G.ComposedImage()->Pixel(101, 101), 0xFFFFFFu);
    EXPECT_EQ(G.MemoryUsed(), 78u + 360000);

    G.Clear();
    EXPECT_EQ(G.ComposedImage(), nullptr);
    ASSERT_TRUE(Load(G, OneFrame()));
    EXPECT_EQ(G.MemoryUsed(), 94u);
}

} // namespace
} // namespace quillop::gif::test
