// LZW decoding of one GIF image's data into DIB pixel rows and mask rows.
#pragma once

#include "gif/pixel_memory.h"

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

namespace quillop::gif {

struct TImageParams {
    int32_t Width = 0;
    int32_t Height = 0;
    bool Interlaced = false;
    bool Transparent = false;
    uint8_t TransparentIndex = 0;
    // Report finished rows (every 32nd or 64th) through OnRow.
    bool ProgressOn = false;
};

// Called after a reported row with the image row number and the input position a reader
// that fetches sub-blocks only as it needs them would have reached. May throw.
using TRowProgress = std::function<void(int32_t Row, size_t Position)>;

// Decodes images one after the other, reusing its tables and buffers.
class TImageDataDecoder {
public:
    TImageDataDecoder();

    // Decodes the image data at Input[Position] (the minimum code size byte) into PixelRows
    // (Height rows of DIBRowSize(Width, 8) bytes, bottom-up) and, when Params.Transparent,
    // MaskRows (1-bit rows). Every byte of the rows is written, padding and pixels the data
    // never reached included (0), so they need no fill beforehand. Position ends after the
    // image data. False when the code size is above 15: nothing decoded. An input that ends
    // before the code size byte decodes no pixel (all keep 0, and are transparent when the
    // image is).
    //
    // LeadRoom and TailRoom are bytes just before and just after the pixel rows that the
    // decoder may use while it decodes (a BMP file's headers and palette, which it puts back,
    // and spare room, which it leaves as it likes). With RowsTailRoom after the rows and room
    // for the image's one-pixel strings before them (2 to the code size, at most 2048 bytes),
    // an image of code size 11 or less is decoded straight into the rows, without a buffer of
    // its own.
    bool Decode(const TImageParams& Params, const uint8_t* Input, size_t InputSize,
                size_t& Position, uint8_t* PixelRows, uint8_t* MaskRows, const TRowProgress& OnRow,
                size_t LeadRoom = 0, size_t TailRoom = 0);
    // The room after the pixel rows that lets Decode write straight into them: the longest
    // string and an 8-byte copy's overrun.
    static constexpr size_t RowsTailRoom = 4096 + 8;

    // Pixels the last image stored (the rest keep 0 and are transparent).
    int64_t Written() const { return Stored; }
    // Bytes the decoder holds for an image of this size (scratch output and data buffers).
    static uint64_t ScratchBytes(int32_t Width, int32_t Height);
    // Frees the buffers of more than 64 KiB (an image decoder kept between loads holds no more).
    void ReleaseLargeBuffers();

private:
    void GatherSubBlocks(const uint8_t* Input, size_t InputSize, size_t& Position);
    size_t LazyPosition(uint64_t BitsConsumed) const;
    // Decodes into Base + LeadBytes; Base[I] holds I (one-pixel strings) for every I below
    // the clear code.
    void RunLZW(int MinCodeSize, int64_t Total, const TRowProgress* OnRow,
                const TImageParams& Params, uint8_t* Base, size_t LeadBytes);
    // Code sizes 12 to 15: every code is a pixel value or a control code.
    void RunLiteral(int MinCodeSize, int64_t Total, const TRowProgress* OnRow,
                    const TImageParams& Params);
    // Copies the stored-order output into the rows (and builds the mask rows).
    void Scatter(const TImageParams& Params, uint8_t* PixelRows, uint8_t* MaskRows) const;
    // Turns stored-order pixels at the rows' start into the bottom-up rows in place (and
    // builds the mask rows).
    void PlaceInRows(const TImageParams& Params, uint8_t* PixelRows, uint8_t* MaskRows);

    TPixelMemory DataBuffer;        // the image's sub-blocks, joined, plus zero padding
    size_t DataSize = 0;            // bytes of it in use, padding included
    std::vector<uint64_t> BlockEnd; // per sub-block: data bytes so far
    std::vector<size_t> BlockPos;   // per sub-block: input position after it
    size_t TerminatorPos = 0;       // input position once all sub-blocks are read
    TPixelMemory Output;            // one-pixel strings, then pixels in stored order
    size_t OutputCapacity = 0;
    size_t LeadReady = 0; // one-pixel strings written at the start of Output
    int64_t Stored = 0;

    std::vector<uint16_t> Prefix;
    std::vector<uint8_t> Suffix;
    std::vector<uint8_t> First;
    std::vector<uint16_t> Length;
    std::vector<uint32_t> Offset; // where each entry's string stands in the output
    std::vector<uint8_t> Stack;
    // An interlaced image's rows put in place: one spare row, and which rows are done.
    std::vector<uint8_t> Spare;
    std::vector<uint8_t> Placed;
    // The fast loop's table, one spare slot for a full table; only entries made in the
    // current image are read.
    std::unique_ptr<uint64_t[]> Entries;
};

// Image row of the K-th stored row.
int32_t StoredRowToImageRow(int32_t K, int32_t Height, bool Interlaced);
// Stored row of image row Y (the inverse).
int32_t ImageRowToStoredRow(int32_t Y, int32_t Height, bool Interlaced);

} // namespace quillop::gif
