// The "Data" property: writing, reading back and decoding after the form has been read.
#include "gif/GIFImage.h"
#include "gif/gif_recipe.h"

#include <gtest/gtest.h>

namespace quillop::gif::test {
namespace {

// Exposes the property's reader and writer, as the form streaming code sees them.
class StoredGIF : public TGIFImage {
public:
    using TGIFImage::ReadData;
    using TGIFImage::WriteData;
};

Bytes TwoFrames() {
    const std::vector<RGB> Colors = {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}};
    GIFRecipe R;
    R.Header().Screen(3, 2, Colors).Netscape(0);
    R.GraphicControl(1, false, 0, 10).Image(0, 0, 3, 2, {0, 1, 2, 3, 2, 1}, 2);
    R.GraphicControl(0, true, 3, 20).Image(1, 0, 2, 2, {3, 0, 0, 3}, 2);
    return R.Trailer().Build();
}

Bytes Property(int32_t Count, const Bytes& Payload) {
    const auto N = static_cast<uint32_t>(Count);
    Bytes B = {static_cast<uint8_t>(N), static_cast<uint8_t>(N >> 8), static_cast<uint8_t>(N >> 16),
               static_cast<uint8_t>(N >> 24)};
    B.insert(B.end(), Payload.begin(), Payload.end());
    return B;
}

Bytes Composed(const TGIFImage& G) {
    Bytes Out;
    const TBitmap* Image = G.ComposedImage();
    for (int32_t Y = 0; Image && Y < Image->Height(); ++Y) {
        for (int32_t X = 0; X < Image->Width(); ++X) {
            const uint32_t P = Image->Pixel(X, Y);
            Out.push_back(static_cast<uint8_t>(P >> 16));
            Out.push_back(static_cast<uint8_t>(P >> 8));
            Out.push_back(static_cast<uint8_t>(P));
        }
    }
    return Out;
}

TEST(Storage, EmptyControlStoresNoData) {
    StoredGIF G;
    EXPECT_FALSE(G.StoresData());
    const Bytes Broken = {'G', 'I', 'F'};
    EXPECT_FALSE(G.LoadFromBuffer(Broken.data(), Broken.size()));
    EXPECT_FALSE(G.StoresData());
}

TEST(Storage, WritesCountThenTheBytesAsLoaded) {
    StoredGIF G;
    const Bytes File = TwoFrames();
    ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
    ASSERT_TRUE(G.StoresData());
    TMemoryStream Out;
    G.WriteData(Out);
    EXPECT_EQ(Out.Content(), Property(static_cast<int32_t>(File.size()), File));
}

TEST(Storage, ReadingBackAndLoadedReproduceThePicture) {
    StoredGIF Source;
    const Bytes File = TwoFrames();
    ASSERT_TRUE(Source.LoadFromBuffer(File.data(), File.size()));
    Source.SetCurrentFrame(2);
    TMemoryStream Stored;
    Source.WriteData(Stored);

    StoredGIF Copy;
    Stored.SetPosition(0);
    Copy.ReadData(Stored);
    EXPECT_TRUE(Copy.Empty()); // nothing is decoded before the form has been read
    EXPECT_EQ(Copy.DataStream().Content(), File);
    Copy.Loaded();
    ASSERT_FALSE(Copy.Empty());
    EXPECT_EQ(Copy.Status(), 0);
    EXPECT_EQ(Copy.FrameCount(), 2);
    EXPECT_EQ(Copy.LoopCount(), 0);
    EXPECT_EQ(Copy.DataStream().Content(), File);
    Copy.SetCurrentFrame(2);
    EXPECT_EQ(Composed(Copy), Composed(Source));
}

TEST(Storage, ReadDataCopiesAtMostWhatFollows) {
    const Bytes Payload = {'G', 'I', 'F', '8', '9', 'a', 1, 2};
    struct Case {
        const char* Name;
        Bytes Stored;
        Bytes Expected;
    };
    const Case Cases[] = {
        {"exact count", Property(8, Payload), Payload},
        {"smaller count", Property(3, Payload), Bytes(Payload.begin(), Payload.begin() + 3)},
        {"count past the end", Property(1000, Payload), Payload},
        {"largest count", Property(INT32_MAX, Payload), Payload},
        {"zero count", Property(0, Payload), {}},
        {"negative count", Property(-5, Payload), {}},
        {"count cut short", Bytes{8, 0}, {}},
        {"nothing at all", Bytes{}, {}},
    };
    for (const Case& C : Cases) {
        StoredGIF G;
        // A picture loaded before: its bytes never survive a read of the property.
        const Bytes File = TwoFrames();
        ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
        TMemoryStream In(C.Stored.data(), C.Stored.size());
        G.ReadData(In);
        EXPECT_EQ(G.DataStream().Content(), C.Expected) << C.Name;
    }
}

TEST(Storage, LoadedWithoutDataLeavesTheControlEmpty) {
    StoredGIF G;
    const Bytes Stored = Property(0, {});
    TMemoryStream In(Stored.data(), Stored.size());
    G.ReadData(In);
    G.Loaded();
    EXPECT_TRUE(G.Empty());
    EXPECT_EQ(G.FrameCount(), 0);
}

TEST(Storage, ReadDataDuringALoadChangesNothing) {
    StoredGIF G;
    const Bytes File = TwoFrames();
    const Bytes Other = Property(4, {'G', 'I', 'F', '8'});
    int Calls = 0;
    G.OnProgress = [&](TGIFImage&, int32_t, int32_t, int32_t, bool&) {
        ++Calls;
        TMemoryStream In(Other.data(), Other.size());
        G.ReadData(In);
    };
    ASSERT_TRUE(G.LoadFromBuffer(File.data(), File.size()));
    EXPECT_GT(Calls, 0);
    EXPECT_EQ(G.DataStream().Content(), File);
    EXPECT_EQ(G.FrameCount(), 2);
}

} // namespace
} // namespace quillop::gif::test
