// Portable bitmaps laid out as device-independent bitmaps, and the raster operations the
// composition uses on them.
#pragma once

#include "gif/pixel_memory.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

namespace quillop::gif {

struct TRGBQuad {
    uint8_t Blue = 0, Green = 0, Red = 0, Reserved = 0;
    bool operator==(const TRGBQuad&) const = default;
};

// Raster operation codes (the platform's values).
enum TRasterOp : uint32_t {
    kSrcCopy = 0xCC0020,
    kSrcAnd = 0x8800C6,
    kSrcInvert = 0x660046,
    kBlackness = 0x000042,
    kWhiteness = 0xFF0062,
};

// A bitmap of 1, 8 or 32 bits per pixel.
// Memory layout is that of a DIB: rows bottom-up (the first stored row is the bottom image
// row), each row padded to a multiple of 4 bytes. 8-bit bitmaps carry a palette; 1-bit bitmaps
// have bit 7 of byte 0 as the leftmost pixel, 1 = white, 0 = black. 32-bit pixels are stored as
// blue, green, red, 0 (read as the value 0x00RRGGBB by Pixel).
class TBitmap {
public:
    TBitmap() = default;

    // Allocates a zero-filled bitmap; false (and empty) when the size is not valid.
    // With a store, the rows are taken from it (the store must outlive the bitmap's use).
    bool Create(int32_t Width, int32_t Height, int BitCount, TPixelStore* Store = nullptr);
    // The same without the fill: the caller writes every byte (row padding included).
    bool CreateUninitialized(int32_t Width, int32_t Height, int BitCount,
                             TPixelStore* Store = nullptr);
    void Reset();

    bool IsEmpty() const { return W == 0 || H == 0; }
    int32_t Width() const { return W; }
    int32_t Height() const { return H; }
    int BitCount() const { return Bits; }
    size_t Stride() const { return RowBytes; }
    const std::vector<TRGBQuad>& Palette() const { return Colors; }
    void SetPalette(std::vector<TRGBQuad> Palette) { Colors = std::move(Palette); }

    // Pixel rows in DIB order (bottom row first).
    const uint8_t* Data() const { return Pixels; }
    uint8_t* Data() { return Pixels; }
    size_t DataSize() const { return RowBytes * static_cast<size_t>(H); }

    // Image row Y, counted from the top (stored at row Height - 1 - Y).
    const uint8_t* Row(int32_t Y) const {
        return Pixels + RowBytes * static_cast<size_t>(H - 1 - Y);
    }
    uint8_t* Row(int32_t Y) { return Pixels + RowBytes * static_cast<size_t>(H - 1 - Y); }

    // Pixel at (X, Y), Y from the top: the index (8-bit), the bit (1-bit) or 0x00RRGGBB
    // (32-bit). Outside the bitmap: 0.
    uint32_t Pixel(int32_t X, int32_t Y) const;
    // The colour that pixel shows, 0x00RRGGBB: palette lookup for 8-bit (indices past the
    // palette are black), white/black for 1-bit.
    uint32_t Color(int32_t X, int32_t Y) const;

    // Takes over a complete in-memory BMP file and points the rows at its pixel part.
    void AdoptBMP(TPixelMemory File, size_t FileSize, size_t PixelOffset, int32_t Width,
                  int32_t Height, int BitCount, std::vector<TRGBQuad> Palette);
    // The bytes the bitmap holds: the BMP file it was loaded from, or its rows.
    std::span<const uint8_t> Storage() const { return {Buffer.Data(), BufferSize}; }

    TBitmap(const TBitmap&) = delete;
    TBitmap& operator=(const TBitmap&) = delete;
    TBitmap(TBitmap&& Other) noexcept;
    TBitmap& operator=(TBitmap&& Other) noexcept;

private:
    bool Allocate(int32_t Width, int32_t Height, int BitCount, TPixelStore* Store);

    TPixelMemory Buffer;
    size_t BufferSize = 0;
    uint8_t* Pixels = nullptr;
    int32_t W = 0, H = 0;
    int Bits = 0;
    size_t RowBytes = 0;
    std::vector<TRGBQuad> Colors;
};

// Bytes of one row of a DIB of the given width and depth (multiple of 4); 0 when invalid.
uint64_t DIBRowSize(int64_t Width, int BitCount);

// Builds the in-memory BMP file (file header, information header, palette, rows).
std::vector<uint8_t> MakeBMP(int32_t Width, int32_t Height, int BitCount,
                             const std::vector<TRGBQuad>& Palette, const uint8_t* Rows,
                             size_t RowsSize);

// An in-memory BMP file whose pixel part (RowsSize bytes at PixelOffset) is not filled yet.
struct TBMPFile {
    TPixelMemory Bytes;
    size_t Size = 0;
    size_t PixelOffset = 0;
    uint8_t* Rows() { return Bytes.Data() + PixelOffset; }
};
// The headers and palette of a BMP file of Width x Height; the caller writes every byte of the
// rows (padding included) before loading it. TailRoom spare bytes follow the file in its
// memory. Empty when the size is not valid.
TBMPFile MakeBMPFile(int32_t Width, int32_t Height, int BitCount,
                     const std::vector<TRGBQuad>& Palette, TPixelStore* Store = nullptr,
                     size_t TailRoom = 0);

// Loads a bitmap from an in-memory BMP file (uncompressed, bottom-up, 1 or 8 bits per pixel).
// False when the file is malformed or its pixel part is missing or short.
bool BitmapFromDIB(TBitmap& Bitmap, std::vector<uint8_t> File);
bool BitmapFromDIB(TBitmap& Bitmap, TBMPFile File);

// Software raster operation: the rectangle (X, Y, Width, Height) of Dest, Y from the top,
// combined with Source's rectangle at (SourceX, SourceY). Clipped to both bitmaps.
// kBlackness and kWhiteness ignore Source. A 1-bit source onto a 32-bit destination gives white
// for 1 and black for 0; an 8-bit source goes through its palette. A 1-bit destination takes
// only a 1-bit source. Returns false when nothing could be done.
bool BitBlt(TBitmap& Dest, int32_t X, int32_t Y, int32_t Width, int32_t Height,
            const TBitmap* Source, int32_t SourceX, int32_t SourceY, uint32_t RasterOp);

// The transparent draw in one pass: where Mask (1-bit, same size as Image) is 0 the pixel of
// Image (8-bit) replaces Dest's, where it is 1 Dest stays. Gives exactly what Image kSrcInvert,
// Mask kSrcAnd, Image kSrcInvert give one after the other. Clipped like BitBlt.
bool MaskedDraw(TBitmap& Dest, int32_t X, int32_t Y, const TBitmap& Image, const TBitmap& Mask);

// Black (0) into the pixels of Dest (32-bit) whose Mask bit (1-bit, same size) is 1; the others
// are not touched. With a MaskedDraw of the same mask after it, every pixel is written once.
void BlackWhereMasked(TBitmap& Dest, const TBitmap& Mask);

// Dest (32-bit) gets Image (8-bit, same size) through Mask (1-bit, same size): the colour where
// the mask is 0, black where it is 1. Gives what BlackWhereMasked and then MaskedDraw give,
// writing every pixel once.
void DrawOverBlack(TBitmap& Dest, const TBitmap& Image, const TBitmap& Mask);

} // namespace quillop::gif
