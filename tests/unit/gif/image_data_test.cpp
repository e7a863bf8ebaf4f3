// The LZW image-data decoder on hand-made code sequences. Each case also checks that the
// reference reading agrees, so a fault in either shows.
#include "helpers.h"

#include <gtest/gtest.h>

#include <random>

namespace quillop::gif::test {
namespace {

struct Decoded {
    ReferenceImage Fast, Ref;
};

Decoded Both(const Bytes& In, int W, int H, bool Interlaced = false, bool Transparent = false,
             uint8_t Index = 0, bool Progress = false) {
    Decoded D{DecodeProduction(In, 0, W, H, Interlaced, Transparent, Index, Progress),
              DecodeReference(In, 0, W, H, Interlaced, Transparent, Index, Progress)};
    EXPECT_EQ(D.Fast.Accepted, D.Ref.Accepted);
    EXPECT_EQ(D.Fast.Pixels, D.Ref.Pixels);
    EXPECT_EQ(D.Fast.Mask, D.Ref.Mask);
    EXPECT_EQ(D.Fast.EndPosition, D.Ref.EndPosition);
    EXPECT_EQ(D.Fast.Written, D.Ref.Written);
    EXPECT_EQ(D.Fast.ProgressRows, D.Ref.ProgressRows);
    EXPECT_EQ(D.Fast.ProgressPositions, D.Ref.ProgressPositions);
    return D;
}

TEST(ImageData, InterlacedRowsArriveInPassOrder) {
    struct Case {
        int Height;
        std::vector<int> Order;
    };
    for (const Case& C : {Case{3, {0, 2, 1}}, Case{5, {0, 4, 2, 1, 3}}, Case{1, {0}},
                          Case{9, {0, 8, 4, 2, 6, 1, 3, 5, 7}}}) {
        // Stored row k holds the value 10 + k.
        Bytes Stored;
        for (int K = 0; K < C.Height; ++K) {
            Stored.push_back(static_cast<uint8_t>(10 + K));
        }
        const Bytes In = ImageStream(6, EncodeLZW(Stored, 6));
        const Decoded D = Both(In, 1, C.Height, true);
        Bytes Expected(static_cast<size_t>(C.Height));
        for (int K = 0; K < C.Height; ++K) {
            Expected[static_cast<size_t>(C.Order[static_cast<size_t>(K)])] =
                static_cast<uint8_t>(10 + K);
        }
        EXPECT_EQ(TopDown(D.Fast, 1, C.Height), Expected) << "height " << C.Height;
        EXPECT_EQ(InterlacedRowOrder(C.Height), C.Order);
    }
}

TEST(ImageData, ImageRowToStoredRowInvertsTheInterlacedOrder) {
    for (int32_t H = 1; H <= 40; ++H) {
        for (int32_t K = 0; K < H; ++K) {
            const int32_t Y = StoredRowToImageRow(K, H, true);
            ASSERT_EQ(ImageRowToStoredRow(Y, H, true), K) << "height " << H << " row " << K;
            ASSERT_EQ(ImageRowToStoredRow(K, H, false), K);
        }
    }
}

TEST(ImageData, ProgressInsideLargeImagesEvery32ndOr64thRow) {
    struct Case {
        int W, H;
        std::vector<int> Rows;
    };
    std::vector<int> Rows400x300, Rows300x400;
    for (int Y = 0; Y < 300; Y += 32) {
        Rows400x300.push_back(Y);
    }
    for (int Y = 0; Y < 400; Y += 64) {
        Rows300x400.push_back(Y);
    }
    for (const Case& C :
         {Case{400, 300, Rows400x300}, Case{300, 400, Rows300x400}, Case{300, 300, {}}}) {
        Bytes Pixels(static_cast<size_t>(C.W * C.H));
        for (size_t I = 0; I < Pixels.size(); ++I) {
            Pixels[I] = static_cast<uint8_t>((I * 7) % 13);
        }
        const Bytes In = ImageStream(4, EncodeLZW(Pixels, 4), 200);
        const Decoded D = Both(In, C.W, C.H, false, false, 0, true);
        EXPECT_EQ(D.Fast.ProgressRows, C.Rows) << C.W << "x" << C.H;
        EXPECT_EQ(TopDown(D.Fast, C.W, C.H), Pixels);
        // Positions only move forward and stay inside the data.
        for (size_t I = 1; I < D.Fast.ProgressPositions.size(); ++I) {
            EXPECT_LE(D.Fast.ProgressPositions[I - 1], D.Fast.ProgressPositions[I]);
        }
        // Off: no reports at all.
        EXPECT_TRUE(DecodeProduction(In, 0, C.W, C.H, false, false, 0, false).ProgressRows.empty());
    }
}

TEST(ImageData, CodeEqualToNextOrLargerRepeatsPreviousStringPlusFirstPixel) {
    // Code size 2: clear 4, end 5, first free entry 6.
    for (int Code : {6, 7}) {
        const Bytes In = ImageStream(2, CodesOfWidth({4, 1, Code, 5}, 3));
        const Decoded D = Both(In, 3, 1);
        EXPECT_EQ(TopDown(D.Fast, 3, 1), (Bytes{1, 1, 1})) << "code " << Code;
    }
    // 2, 3 (entry 6 = "2 3"), 6 (entry 7 = "3 2", the width grows to 4), then 8, one past
    // the next free code: the previous string "2 3" plus its first pixel.
    const Bytes In = ImageStream(2, {{4, 3}, {2, 3}, {3, 3}, {6, 3}, {8, 4}, {5, 4}});
    const Decoded D = Both(In, 8, 1);
    EXPECT_EQ(TopDown(D.Fast, 8, 1), (Bytes{2, 3, 2, 3, 2, 3, 2, 0}));
}

TEST(ImageData, StringRunningPastTheLastPixelStopsAtIt) {
    // Code size 2: 1, then 6 ("1 1"), 7 ("1 1 1"): 6 pixels for an image of 5 x 1 (a row of 8
    // bytes). The last string is cut at the last pixel: exactly 5 stored, the padding stays 0.
    const Bytes In = ImageStream(2, {{4, 3}, {1, 3}, {6, 3}, {7, 3}, {5, 4}});
    const Decoded D = Both(In, 5, 1);
    EXPECT_EQ(D.Fast.Written, 5);
    EXPECT_EQ(D.Fast.Pixels, (Bytes{1, 1, 1, 1, 1, 0, 0, 0}));
    // The same with the string running 4 pixels past a 2 x 1 image.
    const Decoded Short = Both(In, 2, 1);
    EXPECT_EQ(Short.Fast.Written, 2);
    EXPECT_EQ(Short.Fast.Pixels, (Bytes{1, 1, 0, 0}));
    // A string that ends exactly on the last pixel, then codes the image has no room for.
    const Bytes Exact = ImageStream(2, {{4, 3}, {1, 3}, {6, 3}, {7, 3}, {1, 4}, {5, 4}});
    const Decoded E = Both(Exact, 3, 2);
    EXPECT_EQ(E.Fast.Written, 6);
    EXPECT_EQ(E.Fast.Pixels, (Bytes{1, 1, 1, 0, 1, 1, 1, 0}));
}

TEST(ImageData, FullTableKeepsTwelveBitCodesWithoutClear) {
    std::mt19937 Rng(7);
    Bytes Pixels(120 * 100);
    for (auto& P : Pixels) {
        P = static_cast<uint8_t>(Rng() % 256);
    }
    const std::vector<Code> Codes = EncodeLZW(Pixels, 8, /*KeepFullTable=*/true);
    int Clears = 0;
    for (const Code& C : Codes) {
        Clears += C.Value == 256;
    }
    ASSERT_EQ(Clears, 1); // only the leading one
    ASSERT_GT(Codes.size(), 4096u);
    EXPECT_EQ(Codes.back().Width, 12);
    const Decoded D = Both(ImageStream(8, Codes), 120, 100);
    EXPECT_EQ(D.Fast.Written, 120 * 100);
    EXPECT_EQ(TopDown(D.Fast, 120, 100), Pixels);
    // The same with clears when full.
    const Decoded E = Both(ImageStream(8, EncodeLZW(Pixels, 8)), 120, 100);
    EXPECT_EQ(TopDown(E.Fast, 120, 100), Pixels);
}

TEST(ImageData, CodeAfterClearIsThePixelItself) {
    // Clear, 3, clear, 2: each code after a clear is output as it is.
    const Decoded D = Both(ImageStream(2, CodesOfWidth({4, 3, 4, 2, 5}, 3)), 2, 1);
    EXPECT_EQ(TopDown(D.Fast, 2, 1), (Bytes{3, 2}));
    // Repeated clears are skipped.
    const Decoded E = Both(ImageStream(2, CodesOfWidth({4, 4, 4, 1, 2, 5}, 3)), 2, 1);
    EXPECT_EQ(TopDown(E.Fast, 2, 1), (Bytes{1, 2}));
}

TEST(ImageData, EndOrOutOfRangeCodeRightAfterClearEndsTheImage) {
    struct Case {
        std::vector<int> Codes;
        Bytes Pixels;
        std::string Mask;
    };
    // Width 3, transparent index 9: unwritten pixels are 0 and transparent.
    for (const Case& C :
         {Case{{4, 5}, {0, 0, 0}, "111\n"}, Case{{4, 1, 4, 5, 2}, {1, 0, 0}, "011\n"},
          Case{{4, 7, 1, 1}, {0, 0, 0}, "111\n"}, Case{{4, 1, 4, 6, 2, 2}, {1, 0, 0}, "011\n"}}) {
        // A stray "image" after the codes in the same data must not be read as pixels.
        const Decoded D = Both(ImageStream(2, CodesOfWidth(C.Codes, 3)), 3, 1, false, true, 9);
        EXPECT_EQ(TopDown(D.Fast, 3, 1), C.Pixels);
        EXPECT_EQ(MaskText(D.Fast, 3, 1), C.Mask);
    }
}

TEST(ImageData, CodeEndingOnTheLastBitBeforeTheTerminatorIsNotRead) {
    // Code size 7: every code is 8 bits. Clear, 1, 2, 3 fill exactly four bytes.
    const std::vector<Code> Codes = CodesOfWidth({128, 1, 2, 3}, 8);
    const Decoded Cut = Both(ImageStream(7, Codes), 3, 1, false, true, 9);
    EXPECT_EQ(TopDown(Cut.Fast, 3, 1), (Bytes{1, 2, 0}));
    EXPECT_EQ(MaskText(Cut.Fast, 3, 1), "001\n");
    // One more byte of data and the code is read.
    const Decoded Whole = Both(ImageStream(7, CodesOfWidth({128, 1, 2, 3, 129}, 8)), 3, 1);
    EXPECT_EQ(TopDown(Whole.Fast, 3, 1), (Bytes{1, 2, 3}));
}

TEST(ImageData, EarlyEndMarksTheRestTransparentInRowOrder) {
    // 4 x 3 interlaced, only 5 pixels of data: stored rows 0 (image row 0) and 1 (image row 2)
    // partly; image row 1 gets nothing.
    const Bytes Stored = {1, 2, 3, 4, 5};
    std::vector<Code> Codes = EncodeLZW(Stored, 3);
    const Decoded D = Both(ImageStream(3, Codes), 4, 3, true, true, 2);
    EXPECT_EQ(TopDown(D.Fast, 4, 3), (Bytes{1, 2, 3, 4, 0, 0, 0, 0, 5, 0, 0, 0}));
    EXPECT_EQ(MaskText(D.Fast, 4, 3), "0100\n1111\n0111\n");
}

TEST(ImageData, ReChunkedSubBlocksDecodeIdentically) {
    std::mt19937 Rng(11);
    Bytes Pixels(61 * 37);
    for (auto& P : Pixels) {
        P = static_cast<uint8_t>(Rng() % 200);
    }
    const std::vector<Code> Codes = EncodeLZW(Pixels, 8);
    ReferenceImage First;
    for (size_t Chunk : {1u, 2u, 3u, 255u}) {
        const Decoded D = Both(ImageStream(8, Codes, Chunk), 61, 37, false, true, 17);
        EXPECT_EQ(TopDown(D.Fast, 61, 37), Pixels) << "chunk " << Chunk;
        if (Chunk == 1) {
            First = D.Fast;
        } else {
            EXPECT_EQ(D.Fast.Mask, First.Mask);
        }
    }
}

TEST(ImageData, SelfReferencingEntryEndsTheImageAndSkipsItsData) {
    // Clear, 1, then 7 (one past the next free code 6): old code becomes 7, so the entry
    // made by the following code 1 is 7 -> 7. Reading 7 then stops the image.
    std::vector<Code> Codes = CodesOfWidth({4, 1, 7, 1}, 3);
    Codes.push_back({7, 4});
    Codes.push_back({3, 4});
    Codes.push_back({0x2C, 8}); // bytes that look like blocks
    Codes.push_back({0x21, 8});
    const Bytes Tail = {0x3B};
    const Bytes In = ImageStream(2, Codes, 2, Tail);
    const Decoded D = Both(In, 8, 1, false, true, 9);
    EXPECT_EQ(TopDown(D.Fast, 8, 1), (Bytes{1, 1, 1, 1, 0, 0, 0, 0}));
    EXPECT_EQ(MaskText(D.Fast, 8, 1), "00001111\n");
    // The position is past the terminator, at the trailer.
    EXPECT_EQ(D.Fast.EndPosition, In.size() - 1);
}

TEST(ImageData, CodeSizesAboveFifteenAreRefused) {
    for (int Size : {16, 17, 255}) {
        const Bytes In = {static_cast<uint8_t>(Size), 1, 0, 0};
        const Decoded D = Both(In, 2, 2);
        EXPECT_FALSE(D.Fast.Accepted) << Size;
    }
    // Eleven is still a table code size.
    const Decoded D = Both(ImageStream(11, CodesOfWidth({2048, 300, 2049}, 12)), 1, 1);
    EXPECT_TRUE(D.Fast.Accepted);
    EXPECT_EQ(TopDown(D.Fast, 1, 1), (Bytes{300 & 0xFF}));
}

// Code sizes 12 to 15 leave no room for a table entry: codes below the clear code are pixel
// values (their low 8 bits stored), one past the end code repeats the previous pixel twice,
// two such codes in a row end the image.
TEST(ImageData, CodeSizesTwelveToFifteenAreLiteralPixels) {
    struct Case {
        int Size;
        std::vector<int> Codes; // after the clear code
        Bytes Pixels;           // 6 x 1, top-down
    };
    const auto C = [](int Size) { return 1 << Size; };
    const std::vector<Case> Cases = {
        {12, {300, 7, C(12) + 1}, {300 & 0xFF, 7, 0, 0, 0, 0}},
        {13, {1, C(13) + 2, 2, C(13), 3, C(13) + 1}, {1, 1, 1, 2, 3, 0}},
        {14, {5, C(14) + 9, C(14) + 3, 8}, {5, 5, 5, 0, 0, 0}},
        {15, {32767, 6, 4, 3, 2, 1, 9}, {0xFF, 6, 4, 3, 2, 1}},
        // The first code of a table may not lie past the end code.
        {12, {C(12) + 2, 1}, {0, 0, 0, 0, 0, 0}},
    };
    for (const Case& K : Cases) {
        std::vector<int> Values = {C(K.Size)};
        Values.insert(Values.end(), K.Codes.begin(), K.Codes.end());
        const Decoded D = Both(ImageStream(K.Size, CodesOfWidth(Values, K.Size + 1)), 6, 1);
        EXPECT_TRUE(D.Fast.Accepted) << K.Size;
        EXPECT_EQ(TopDown(D.Fast, 6, 1), K.Pixels) << K.Size;
    }
}

TEST(ImageData, InputEndingBeforeTheCodeSizeDecodesNoPixel) {
    const Decoded D = Both(Bytes{}, 3, 2, false, true, 9);
    EXPECT_TRUE(D.Fast.Accepted);
    EXPECT_EQ(TopDown(D.Fast, 3, 2), Bytes(6, 0));
    EXPECT_EQ(MaskText(D.Fast, 3, 2), "111\n111\n");
    EXPECT_EQ(D.Fast.Written, 0);
}

TEST(ImageData, FirstSubBlockCutShortGivesTheBytesThatArrived) {
    // Codes clear, 1, 2, 3, 1, end (the width grows to 4 after the second table entry) fill
    // 3 bytes; the length byte says 10 and the input ends after the third.
    Bytes In = {2, 10};
    const Bytes Packed = PackCodes({{4, 3}, {1, 3}, {2, 3}, {3, 3}, {1, 4}, {5, 4}});
    ASSERT_EQ(Packed.size(), 3u);
    In.insert(In.end(), Packed.begin(), Packed.end());
    const Decoded D = Both(In, 2, 2);
    EXPECT_EQ(TopDown(D.Fast, 2, 2), (Bytes{1, 2, 3, 1}));
    EXPECT_EQ(D.Fast.Written, 4);
    EXPECT_EQ(D.Fast.EndPosition, In.size());
    // With only its first byte, clear and 1 arrive; the rest is 0 and transparent.
    In.resize(3);
    const Decoded E = Both(In, 2, 2, false, true, 7);
    EXPECT_EQ(TopDown(E.Fast, 2, 2), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(MaskText(E.Fast, 2, 2), "01\n11\n");
    EXPECT_EQ(E.Fast.Written, 1);
}

TEST(ImageData, SubBlockCutShortByTheEndOfInputContributesNothing) {
    Bytes In = {2, 1, 0x0C, 5, 0x21, 0x00}; // second sub-block says 5 bytes, 2 arrive
    // First sub-block: byte 0x0C = codes 4 (clear) then 1 in 3-bit pieces.
    // The first sub-block (0x0C) holds clear and 1; the second is cut short.
    const Decoded D = Both(In, 3, 1, false, true, 9);
    EXPECT_EQ(TopDown(D.Fast, 3, 1), (Bytes{1, 0, 0}));
    EXPECT_EQ(MaskText(D.Fast, 3, 1), "011\n");
    EXPECT_EQ(D.Fast.EndPosition, In.size());
}

} // namespace
} // namespace quillop::gif::test
