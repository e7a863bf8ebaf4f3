// The About box's pictures as the resource script embeds them: the logo decodes through the
// GIF control's "Data" property, the banner is a placeable metafile of the designed size, and
// the bitmaps have the sizes and colour depths their controls expect.
#include "gif/GIFImage.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace quillop::gif::test {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes ReadAsset(const std::string& Name) {
    std::ifstream In(std::string(QUILLOP_ASSETS) + "/" + Name, std::ios::binary);
    EXPECT_TRUE(In.good()) << Name;
    return Bytes(std::istreambuf_iterator<char>(In), std::istreambuf_iterator<char>());
}

uint32_t U16(const Bytes& B, size_t At) {
    return B.at(At) | B.at(At + 1) << 8;
}
uint32_t U32(const Bytes& B, size_t At) {
    return U16(B, At) | U16(B, At + 2) << 16;
}

class StoredGIF : public TGIFImage {
public:
    using TGIFImage::ReadData;
    using TGIFImage::WriteData;
};

TEST(LogoPicture, LoadsThroughTheDataPropertyWithItsDesign) {
    const Bytes Stored = ReadAsset("logo.dat");
    ASSERT_GT(Stored.size(), 4u);
    EXPECT_EQ(U32(Stored, 0), Stored.size() - 4); // the count covers exactly the GIF
    EXPECT_EQ(Bytes(Stored.begin() + 4, Stored.end()), ReadAsset("logo.gif"));

    StoredGIF Logo;
    TMemoryStream In(Stored.data(), Stored.size());
    Logo.ReadData(In);
    Logo.Loaded();
    ASSERT_FALSE(Logo.Empty());
    EXPECT_EQ(Logo.Status(), GIFStatusOk);
    EXPECT_EQ(Logo.Version(), gvGIF89a);
    EXPECT_EQ(Logo.ImageWidth(), 135);
    EXPECT_EQ(Logo.ImageHeight(), 125);
    EXPECT_EQ(Logo.Picture().ColorBits(), 4); // a 16-colour global palette
    EXPECT_EQ(Logo.LoopCount(), 999);
    EXPECT_TRUE(Logo.HasTransparency());
    ASSERT_EQ(Logo.FrameCount(), 8);
    for (int32_t I = 1; I <= 8; ++I) {
        const TGIFFrame* F = Logo.Frames(I);
        ASSERT_NE(F, nullptr);
        SCOPED_TRACE(I);
        EXPECT_EQ(F->Left, 0);
        EXPECT_EQ(F->Top, 0);
        EXPECT_EQ(F->Width, 135);
        EXPECT_EQ(F->Height, 125);
        EXPECT_EQ(F->Delay, 100); // 10 hundredths of a second
        EXPECT_EQ(F->Disposal, 2);
        EXPECT_TRUE(F->Transparent);
        EXPECT_FALSE(F->HasLocalColorTable);
    }

    // Stored again, the property gives back the bytes it was read from.
    TMemoryStream Out;
    Logo.WriteData(Out);
    EXPECT_EQ(Out.Content(), Stored);
}

TEST(LogoPicture, EveryFrameShowsAnotherPicture) {
    const Bytes File = ReadAsset("logo.gif");
    TGIFImage Logo;
    ASSERT_TRUE(Logo.LoadFromBuffer(File.data(), File.size()));
    auto Picture = [&] {
        std::vector<uint32_t> P;
        const TBitmap* Image = Logo.ComposedImage();
        for (int32_t Y = 0; Image && Y < Image->Height(); ++Y) {
            for (int32_t X = 0; X < Image->Width(); ++X) {
                P.push_back(Image->Pixel(X, Y));
            }
        }
        return P;
    };
    std::vector<std::vector<uint32_t>> Shown = {Picture()};
    for (int32_t I = 2; I <= 8; ++I) {
        Logo.SetCurrentFrame(I);
        Shown.push_back(Picture());
        EXPECT_NE(Shown[I - 1], Shown[I - 2]) << "frame " << I;
    }
    EXPECT_NE(Shown.front(), Shown.back());
}

TEST(BannerPicture, IsAPlaceableMetafileOfTheDesignedBox) {
    const Bytes W = ReadAsset("banner.wmf");
    ASSERT_GT(W.size(), 22u + 18u + 6u);
    EXPECT_EQ(U32(W, 0), 0x9AC6CDD7u); // placeable key
    EXPECT_EQ(U16(W, 6), 0u);          // left
    EXPECT_EQ(U16(W, 8), 0u);          // top
    EXPECT_EQ(U16(W, 10), 2300u);      // right
    EXPECT_EQ(U16(W, 12), 225u);       // bottom
    EXPECT_EQ(U16(W, 14), 300u);       // units per inch
    uint32_t Sum = 0;
    for (size_t I = 0; I < 20; I += 2) {
        Sum ^= U16(W, I);
    }
    EXPECT_EQ(U16(W, 20), Sum);
    // The metafile header: in memory, 9 words, Windows 3.0, its size in words.
    EXPECT_EQ(U16(W, 22), 1u);
    EXPECT_EQ(U16(W, 24), 9u);
    EXPECT_EQ(U16(W, 26), 0x0300u);
    EXPECT_EQ(U32(W, 28) * 2, W.size() - 22);
    // The records chain up to the end-of-file record.
    size_t At = 22 + 18;
    uint32_t Largest = 0;
    while (At + 6 <= W.size() && U16(W, At + 4) != 0) {
        Largest = std::max(Largest, U32(W, At));
        At += U32(W, At) * 2;
    }
    EXPECT_EQ(At + 6, W.size());
    EXPECT_EQ(U32(W, At), 3u);
    EXPECT_EQ(U32(W, 34), Largest);
}

struct BitmapCase {
    const char* Name;
    int32_t Width, Height;
    uint32_t Bits, Colours;
};

TEST(BitmapPictures, HaveTheSizesAndDepthsOfTheirControls) {
    const BitmapCase Cases[] = {
        {"donate.bmp", 62, 31, 8, 256},
        {"origin.bmp", 598, 154, 8, 256},
        {"ok.bmp", 36, 19, 4, 16}, // two 18 x 19 cells: normal and disabled
    };
    for (const BitmapCase& C : Cases) {
        SCOPED_TRACE(C.Name);
        const Bytes B = ReadAsset(C.Name);
        ASSERT_GT(B.size(), 54u);
        EXPECT_EQ(B[0], 'B');
        EXPECT_EQ(B[1], 'M');
        EXPECT_EQ(U32(B, 2), B.size());
        EXPECT_EQ(U32(B, 14), 40u);
        EXPECT_EQ(static_cast<int32_t>(U32(B, 18)), C.Width);
        EXPECT_EQ(static_cast<int32_t>(U32(B, 22)), C.Height); // bottom-up
        EXPECT_EQ(U16(B, 28), C.Bits);
        EXPECT_EQ(U32(B, 30), 0u); // uncompressed
        EXPECT_EQ(U32(B, 46), C.Colours);
        const uint32_t Stride = ((C.Width * C.Bits + 31) / 32) * 4;
        EXPECT_EQ(U32(B, 10), 54 + 4 * C.Colours);
        EXPECT_EQ(B.size(), 54 + 4 * C.Colours + Stride * C.Height);
    }
}

} // namespace
} // namespace quillop::gif::test
