// Memory streams: shared content, copy on write, and a load that holds the file's bytes once.
#include "gif/gif_recipe.h"
#include "gif/picture.h"

#include <gtest/gtest.h>

namespace quillop::gif::test {
namespace {

Bytes Read(TStream& S, int64_t Count) {
    Bytes Out(static_cast<size_t>(Count));
    Out.resize(static_cast<size_t>(S.Read(Out.data(), Count)));
    return Out;
}

Bytes SmallGIF() {
    GIFRecipe R;
    R.Header().Screen(2, 2, GreyPalette(4), 2);
    R.Image(0, 0, 2, 2, {0, 1, 2, 3}, 2);
    return R.Trailer().Build();
}

TEST(MemoryStream, WritesOverwriteAtThePositionAndGrow) {
    TMemoryStream S;
    EXPECT_EQ(S.Data(), nullptr);
    const Bytes A = {1, 2, 3, 4, 5};
    S.Write(A.data(), A.size());
    S.SetPosition(3);
    const Bytes B = {9, 8, 7};
    S.Write(B.data(), B.size());
    EXPECT_EQ(S.Content(), (Bytes{1, 2, 3, 9, 8, 7}));
    EXPECT_EQ(S.Position(), 6);
    S.SetPosition(1);
    EXPECT_EQ(Read(S, 10), (Bytes{2, 3, 9, 8, 7}));
    EXPECT_EQ(Read(S, 10), Bytes{});
    // Many small writes keep every byte in order.
    TMemoryStream Grown;
    for (int I = 0; I < 1000; ++I) {
        const auto V = static_cast<uint8_t>(I);
        Grown.Write(&V, 1);
    }
    const Bytes G = Grown.Content();
    ASSERT_EQ(G.size(), 1000u);
    for (size_t I = 0; I < G.size(); ++I) {
        ASSERT_EQ(G[I], static_cast<uint8_t>(I)) << I;
    }
}

TEST(MemoryStream, SharedContentIsCopiedByTheStreamThatWrites) {
    const Bytes A = {1, 2, 3, 4};
    TMemoryStream First(A.data(), A.size());
    First.SetPosition(2);
    TMemoryStream Second;
    Second.Share(First);
    EXPECT_TRUE(Second.SharesWith(First));
    EXPECT_EQ(Second.Data(), First.Data());
    EXPECT_EQ(Second.Position(), 0);
    EXPECT_EQ(First.Position(), 2);

    const uint8_t X = 0xEE;
    Second.SetPosition(1);
    Second.Write(&X, 1);
    EXPECT_FALSE(Second.SharesWith(First));
    EXPECT_EQ(First.Content(), (Bytes{1, 2, 3, 4}));
    EXPECT_EQ(Second.Content(), (Bytes{1, 0xEE, 3, 4}));

    // The other way round: the original writes, the sharer keeps the old bytes.
    TMemoryStream Third;
    Third.Share(First);
    First.SetPosition(4);
    First.Write(&X, 1);
    EXPECT_EQ(First.Content(), (Bytes{1, 2, 3, 4, 0xEE}));
    EXPECT_EQ(Third.Content(), (Bytes{1, 2, 3, 4}));

    // Clearing one leaves the other whole.
    TMemoryStream Fourth;
    Fourth.Share(Third);
    Third.Clear();
    EXPECT_EQ(Third.Size(), 0);
    EXPECT_EQ(Fourth.Content(), (Bytes{1, 2, 3, 4}));
}

TEST(MemoryStream, ReadAllSharesAMemoryStreamAndCopiesAnyOther) {
    const Bytes A = {5, 6, 7};
    TMemoryStream Source(A.data(), A.size());
    TMemoryStream Taken;
    Taken.ReadAll(Source, Source.Size());
    EXPECT_TRUE(Taken.SharesWith(Source));
    EXPECT_EQ(Source.Position(), 3); // as if it had been read through
    EXPECT_EQ(Taken.Position(), 0);

    TBufferStream Buffer(A.data(), A.size());
    TMemoryStream Copied;
    Copied.ReadAll(Buffer, 3);
    EXPECT_NE(Copied.Data(), A.data());
    EXPECT_EQ(Copied.Content(), A);
    EXPECT_EQ(Buffer.Position(), 3);

    // A source that delivers fewer bytes than its size claims gives what arrived.
    TBufferStream Short(A.data(), 2);
    TMemoryStream Partial;
    Partial.ReadAll(Short, 3);
    EXPECT_EQ(Partial.Content(), (Bytes{5, 6}));
}

TEST(MemoryStream, ALoadHoldsTheFileOnce) {
    const Bytes File = SmallGIF();
    TMemoryStream Source(File.data(), File.size());
    TGIFPicture G;
    bool Seen = false;
    G.OnProgress = [&](TGIFPicture& Sender, int32_t, int32_t, int32_t, bool&) {
        // While decoding, the data kept and the stream decoded are one array with the file.
        if (!Seen) {
            EXPECT_TRUE(Sender.DataStream().SharesWith(Sender.WorkStream()));
            EXPECT_EQ(Sender.DataStream().Content(), File);
            Seen = true;
        }
    };
    ASSERT_TRUE(G.LoadFromStream(Source));
    EXPECT_TRUE(Seen);
    EXPECT_EQ(G.WorkStream().Size(), 0);
    EXPECT_TRUE(G.DataStream().SharesWith(Source));

    // The caller's later writes don't reach the picture's data.
    const uint8_t X = 0;
    Source.SetPosition(0);
    Source.Write(&X, 1);
    EXPECT_EQ(G.DataStream().Content(), File);

    // Reloading from its own data (as after the form was read) keeps the same single array.
    const uint8_t* Before = G.DataStream().Data();
    G.Loaded();
    EXPECT_EQ(G.Status(), 0);
    EXPECT_EQ(G.DataStream().Data(), Before);
    EXPECT_EQ(G.DataStream().Content(), File);
}

} // namespace
} // namespace quillop::gif::test
