// Shared by the GIF tests: running the production image-data decoder the way the reference runs.
#pragma once

#include "gif/bitmap.h"
#include "gif/gif_recipe.h"
#include "gif/image_data.h"
#include "gif/reference_lzw.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace quillop::gif::test {

// How the rows are handed to the decoder: on their own (the decoder uses a buffer of its own),
// or with room before and after them as in a BMP file (it may decode straight into them).
enum class RowRoom { None, Around };

inline ReferenceImage DecodeProductionWith(RowRoom Room, const Bytes& Input, size_t Position,
                                           int Width, int Height, bool Interlaced, bool Transparent,
                                           uint8_t Index, bool ProgressOn) {
    ReferenceImage R;
    TImageParams Params{Width, Height, Interlaced, Transparent, Index, ProgressOn};
    const size_t RowsSize = DIBRowSize(Width, 8) * static_cast<size_t>(Height);
    const size_t Lead = Room == RowRoom::Around ? 2048 : 0;
    const size_t Tail = Room == RowRoom::Around ? TImageDataDecoder::RowsTailRoom : 0;
    Bytes Memory(Lead + RowsSize + Tail, 0xEE);
    if (Transparent) {
        R.Mask.assign(DIBRowSize(Width, 1) * static_cast<size_t>(Height), 0);
    }
    TImageDataDecoder D;
    size_t Pos = Position;
    R.Accepted = D.Decode(
        Params, Input.data(), Input.size(), Pos, Memory.data() + Lead,
        Transparent ? R.Mask.data() : nullptr,
        [&](int32_t Row, size_t At) {
            R.ProgressRows.push_back(Row);
            R.ProgressPositions.push_back(At);
        },
        Lead, Tail);
    R.Pixels.assign(Memory.begin() + static_cast<std::ptrdiff_t>(Lead),
                    Memory.begin() + static_cast<std::ptrdiff_t>(Lead + RowsSize));
    if (!R.Accepted) {
        R.Pixels.clear();
        R.Mask.clear();
    }
    R.EndPosition = Pos;
    R.Written = static_cast<int>(D.Written());
    return R;
}

// Both ways, which must agree in everything.
inline ReferenceImage DecodeProduction(const Bytes& Input, size_t Position, int Width, int Height,
                                       bool Interlaced, bool Transparent, uint8_t Index,
                                       bool ProgressOn) {
    const ReferenceImage Own = DecodeProductionWith(RowRoom::None, Input, Position, Width, Height,
                                                    Interlaced, Transparent, Index, ProgressOn);
    const ReferenceImage InRows =
        DecodeProductionWith(RowRoom::Around, Input, Position, Width, Height, Interlaced,
                             Transparent, Index, ProgressOn);
    EXPECT_EQ(Own.Accepted, InRows.Accepted);
    EXPECT_EQ(Own.Pixels, InRows.Pixels);
    EXPECT_EQ(Own.Mask, InRows.Mask);
    EXPECT_EQ(Own.EndPosition, InRows.EndPosition);
    EXPECT_EQ(Own.Written, InRows.Written);
    EXPECT_EQ(Own.ProgressRows, InRows.ProgressRows);
    EXPECT_EQ(Own.ProgressPositions, InRows.ProgressPositions);
    return InRows;
}

inline ReferenceImage DecodeReference(const Bytes& Input, size_t Position, int Width, int Height,
                                      bool Interlaced, bool Transparent, uint8_t Index,
                                      bool ProgressOn) {
    ReferenceLZW L(Input, Position);
    ReferenceImage R = L.Decode(Width, Height, Interlaced, Transparent, Index, ProgressOn);
    if (!R.Accepted) {
        R.Pixels.clear();
        R.Mask.clear();
    }
    return R;
}

// Pixels of a DIB-layout result as image rows, top row first, without padding.
inline Bytes TopDown(const ReferenceImage& R, int Width, int Height) {
    Bytes Out;
    const size_t Stride = DIBRowSize(Width, 8);
    for (int Y = 0; Y < Height; ++Y) {
        const uint8_t* Row = R.Pixels.data() + Stride * static_cast<size_t>(Height - 1 - Y);
        Out.insert(Out.end(), Row, Row + Width);
    }
    return Out;
}

// Mask bits as '1'/'0' text, one image row per line, top first.
inline std::string MaskText(const ReferenceImage& R, int Width, int Height) {
    std::string Out;
    const size_t Stride = DIBRowSize(Width, 1);
    for (int Y = 0; Y < Height; ++Y) {
        const uint8_t* Row = R.Mask.data() + Stride * static_cast<size_t>(Height - 1 - Y);
        for (int X = 0; X < Width; ++X) {
            Out += ((Row[X / 8] >> (7 - X % 8)) & 1) ? '1' : '0';
        }
        Out += '\n';
    }
    return Out;
}

// A stream with just the code size byte and the data, for decoding one image on its own.
inline Bytes ImageStream(int MinCodeSize, const std::vector<Code>& Codes, size_t Chunk = 255,
                         const Bytes& Tail = {}) {
    Bytes S;
    S.push_back(static_cast<uint8_t>(MinCodeSize));
    const Bytes Blocks = SubBlocks(PackCodes(Codes), Chunk);
    S.insert(S.end(), Blocks.begin(), Blocks.end());
    S.insert(S.end(), Tail.begin(), Tail.end());
    return S;
}

} // namespace quillop::gif::test
