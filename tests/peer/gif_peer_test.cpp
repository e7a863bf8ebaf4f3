// Peer check: for well-formed GIFs, TGIFPicture must read what giflib reads: every frame's
// index pixels, its geometry, delay, disposal, transparency and colour table, the picture's
// size and loop count. The fixtures are real files written by ImageMagick or shipped by
// Debian packages (make_fixtures.sh remakes them).
#include "gif/picture.h"
#include "giflib_reading.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace fs = std::filesystem;
using namespace quillop::gif;
using namespace quillop::peer;

namespace {

std::vector<std::string> FixtureNames() {
    std::vector<std::string> Names;
    std::error_code Ec;
    for (const auto& E : fs::directory_iterator(QUILLOP_PEER_DATA, Ec))
        if (E.path().extension() == ".gif")
            Names.push_back(E.path().filename().string());
    std::sort(Names.begin(), Names.end());
    return Names;
}

std::vector<uint8_t> ReadFixture(const std::string& Name) {
    std::ifstream In(fs::path(QUILLOP_PEER_DATA) / Name, std::ios::binary);
    return {std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>()};
}

PeerGif Giflib(const std::vector<uint8_t>& File) {
    std::string Error;
    auto Gif = ReadWithGiflib(File, Error);
    EXPECT_TRUE(Gif) << "giflib refuses the fixture: " << Error;
    return Gif ? *Gif : PeerGif{};
}

bool MaskBit(const TBitmap& Mask, int X, int Y) {
    return (Mask.Row(Y)[X / 8] >> (7 - X % 8)) & 1;
}

// The palette the frame's Image must carry: the local table, or the global table at the
// width of the widest table met so far (entries past the file's table are black).
std::vector<TRGBQuad> ExpectedPalette(const PeerGif& G, const PeerFrame& F, int ControlBits) {
    const std::vector<PeerColor>& Source = F.HasLocalTable ? F.LocalColors : G.GlobalColors;
    const int Bits = F.HasLocalTable ? F.LocalBits : ControlBits;
    std::vector<TRGBQuad> P(size_t(1) << Bits);
    for (size_t I = 0; I < P.size() && I < Source.size(); ++I)
        P[I] = {Source[I].Blue, Source[I].Green, Source[I].Red, 0};
    return P;
}

class GifPeer : public testing::TestWithParam<std::string> {};

TEST_P(GifPeer, FramesMatchGiflib) {
    const std::vector<uint8_t> File = ReadFixture(GetParam());
    ASSERT_FALSE(File.empty());
    const PeerGif G = Giflib(File);
    ASSERT_FALSE(G.Frames.empty());
    ASSERT_LE(G.Frames.size(), size_t(GIFMaxFrames));

    TGIFPicture Gif;
    ASSERT_TRUE(Gif.LoadFromBuffer(File.data(), File.size()));
    EXPECT_EQ(Gif.Status(), GIFStatusOk);
    EXPECT_EQ(Gif.Version(), File[4] == '9' ? gvGIF89a : gvGIF87a);
    ASSERT_EQ(Gif.FrameCount(), int32_t(G.Frames.size()));
    EXPECT_EQ(Gif.Animated(), G.Frames.size() > 1);
    EXPECT_EQ(Gif.LoopCount(), G.LoopCount.value_or(1));

    int ImageWidth = G.ScreenWidth, ImageHeight = G.ScreenHeight;
    int ControlBits = G.GlobalBits;
    bool AnyTransparent = false;
    for (size_t I = 0; I < G.Frames.size(); ++I) {
        SCOPED_TRACE("frame " + std::to_string(I + 1));
        const PeerFrame& P = G.Frames[I];
        const TGIFFrame* F = Gif.Frames(int32_t(I + 1));
        ASSERT_NE(F, nullptr);
        ImageWidth = std::max(ImageWidth, P.Left + P.Width);
        ImageHeight = std::max(ImageHeight, P.Top + P.Height);
        ControlBits = std::max(ControlBits, P.LocalBits);

        EXPECT_EQ(F->Left, P.Left);
        EXPECT_EQ(F->Top, P.Top);
        ASSERT_EQ(F->Width, P.Width);
        ASSERT_EQ(F->Height, P.Height);
        EXPECT_EQ(F->Interlaced, P.Interlaced);
        EXPECT_EQ(F->Delay, P.DelayHundredths * 10);
        EXPECT_EQ(F->Disposal, P.RawDisposal >= 4 ? 2 : P.RawDisposal);
        EXPECT_EQ(F->Transparent, P.Transparent);
        if (P.Transparent) {
            EXPECT_EQ(F->TransparentIndex, P.TransparentIndex);
        }
        EXPECT_EQ(F->Comment, P.Comment.value_or(""));
        EXPECT_EQ(F->HasLocalColorTable, P.HasLocalTable);
        EXPECT_EQ(F->ColorBits, P.LocalBits);

        ASSERT_EQ(F->Image.Width(), P.Width);
        ASSERT_EQ(F->Image.Height(), P.Height);
        ASSERT_EQ(F->Image.BitCount(), 8);
        for (int Y = 0; Y < P.Height; ++Y) {
            const uint8_t* Ours = F->Image.Row(Y);
            const uint8_t* Theirs = P.Pixels.data() + size_t(Y) * size_t(P.Width);
            auto [A, B] = std::mismatch(Ours, Ours + P.Width, Theirs);
            ASSERT_EQ(A, Ours + P.Width) << "first differing pixel at x " << (A - Ours) << " y "
                                         << Y << ": ours " << int(*A) << ", giflib " << int(*B);
        }
        EXPECT_EQ(F->Image.Palette(), ExpectedPalette(G, P, ControlBits));

        if (P.Transparent) {
            AnyTransparent = true;
            ASSERT_EQ(F->Mask.Width(), P.Width);
            ASSERT_EQ(F->Mask.Height(), P.Height);
            ASSERT_EQ(F->Mask.BitCount(), 1);
            const std::vector<PeerColor>& T = P.HasLocalTable ? P.LocalColors : G.GlobalColors;
            const PeerColor C =
                size_t(P.TransparentIndex) < T.size() ? T[size_t(P.TransparentIndex)] : PeerColor{};
            EXPECT_EQ(F->TransparentColor, (TRGBTriple{C.Red, C.Green, C.Blue}));
            int Wrong = 0;
            for (int Y = 0; Y < P.Height; ++Y)
                for (int X = 0; X < P.Width; ++X)
                    Wrong +=
                        MaskBit(F->Mask, X, Y) !=
                        (P.Pixels[size_t(Y) * size_t(P.Width) + size_t(X)] == P.TransparentIndex);
            EXPECT_EQ(Wrong, 0) << "mask bits that disagree with the transparent index";
        } else {
            EXPECT_TRUE(F->Mask.IsEmpty());
        }
    }
    EXPECT_EQ(Gif.ImageWidth(), ImageWidth);
    EXPECT_EQ(Gif.ImageHeight(), ImageHeight);
    EXPECT_EQ(Gif.ColorBits(), ControlBits);
    EXPECT_EQ(Gif.HasTransparency(), AnyTransparent);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, GifPeer, testing::ValuesIn(FixtureNames()),
                         [](const testing::TestParamInfo<std::string>& Info) {
                             std::string N = Info.param.substr(0, Info.param.size() - 4);
                             for (char& C : N)
                                 if (!std::isalnum(static_cast<unsigned char>(C)))
                                     C = '_';
                             return N;
                         });

// The fixtures must between them exercise what the peer check is for; a remade set that
// lost one of these would check less without anyone noticing.
TEST(GifPeerFixtures, CoverTheFeaturesThatMatter) {
    bool Interlaced = false, Transparent = false, LocalTable = false, Animated = false,
         Comment = false, Loop = false, Gif87a = false, SubFrame = false;
    bool Disposal[4] = {};
    for (const std::string& Name : FixtureNames()) {
        const std::vector<uint8_t> File = ReadFixture(Name);
        const PeerGif G = Giflib(File);
        Animated = Animated || G.Frames.size() > 1;
        Loop = Loop || (G.LoopCount && *G.LoopCount != 1);
        Gif87a = Gif87a || (File.size() > 5 && File[4] == '7');
        for (const PeerFrame& F : G.Frames) {
            Interlaced = Interlaced || F.Interlaced;
            Transparent = Transparent || F.Transparent;
            LocalTable = LocalTable || F.HasLocalTable;
            Comment = Comment || F.Comment;
            SubFrame = SubFrame || F.Left > 0 || F.Top > 0;
            Disposal[std::min(F.RawDisposal, 3)] = true;
        }
    }
    EXPECT_TRUE(Interlaced);
    EXPECT_TRUE(Transparent);
    EXPECT_TRUE(LocalTable);
    EXPECT_TRUE(Animated);
    EXPECT_TRUE(Comment);
    EXPECT_TRUE(Loop);
    EXPECT_TRUE(Gif87a);
    EXPECT_TRUE(SubFrame);
    EXPECT_TRUE(Disposal[1]);
    EXPECT_TRUE(Disposal[2]);
    EXPECT_TRUE(Disposal[3]);
}

} // namespace
