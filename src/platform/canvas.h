#pragma once
// The drawing service: a surface to paint on (a window's client area or an off-screen bitmap)
// with the GDI operations the program's own painting uses. Coordinates are logical: the window
// origin is subtracted before the clip box and the surface's pixels are reached.

#include <cstdint>
#include <memory>

namespace quillop::platform {

struct Rect {
    int left = 0, top = 0, right = 0, bottom = 0;
    int Width() const { return right - left; }
    int Height() const { return bottom - top; }
    bool IsEmpty() const { return right <= left || bottom <= top; }
    friend bool operator==(const Rect&, const Rect&) = default;
};

struct Point {
    int x = 0, y = 0;
    friend bool operator==(const Point&, const Point&) = default;
};

// The intersection; an empty result is (0, 0, 0, 0).
Rect intersect_rect(const Rect& a, const Rect& b);

// A colour as COLORREF (0x00BBGGRR), or a system colour: kSystemColor | index.
using ColorRef = std::uint32_t;
inline constexpr ColorRef kSystemColor = 0x80000000u;
inline constexpr int kColorBtnFace = 15;
inline constexpr int kColorBtnShadow = 16;
inline constexpr ColorRef kClBtnFace = kSystemColor | kColorBtnFace;
inline constexpr ColorRef kClBtnShadow = kSystemColor | kColorBtnShadow;

// Raster operations (the platform's values).
inline constexpr std::uint32_t kRopSrcCopy = 0xCC0020;
inline constexpr std::uint32_t kRopSrcAnd = 0x8800C6;
inline constexpr std::uint32_t kRopSrcInvert = 0x660046;
inline constexpr std::uint32_t kRopPatCopy = 0xF00021;
inline constexpr std::uint32_t kRopBlackness = 0x000042;
inline constexpr std::uint32_t kRopWhiteness = 0xFF0062;

// Stretch modes.
inline constexpr int kStretchBlackOnWhite = 1;
inline constexpr int kStretchWhiteOnBlack = 2;
inline constexpr int kStretchColorOnColor = 3;
inline constexpr int kStretchHalftone = 4;

// Pixels in device-independent layout, drawn as they are: rows bottom-up, each padded to a
// multiple of 4 bytes; 1 and 8 bits per pixel go through the colour table (RGBQUAD values,
// 0x00RRGGBB), 32 bits per pixel are blue, green, red, 0.
struct DibSource {
    int width = 0;
    int height = 0;
    int bit_count = 0;
    const std::uint8_t* bits = nullptr;
    const std::uint32_t* colors = nullptr;
    int color_count = 0;
};

class Canvas {
public:
    virtual ~Canvas() = default;

    // Bits per pixel times planes of the surface (GetDeviceCaps BITSPIXEL x PLANES).
    virtual int BitsPerPixel() const = 0;
    // The colour a system colour stands for (COLORREF); plain colours come back unchanged.
    virtual ColorRef ResolveColor(ColorRef color) const = 0;

    // Fills a rectangle with a solid brush of the colour (PATCOPY).
    virtual void FillRect(const Rect& rect, ColorRef color) = 0;
    // StretchDIBits of the whole source into dest with the raster operation.
    virtual bool StretchDIBits(const Rect& dest, const DibSource& source, std::uint32_t rop) = 0;
    // Copies (BitBlt) the rectangle of source at `from` into dest.
    virtual bool BitBlt(const Rect& dest, Canvas& source, Point from, std::uint32_t rop) = 0;
    // A dotted cosmetic pen (PS_DOT, width 0), transparent background mode, through the points.
    virtual void DottedPolyline(const Point* points, int count, ColorRef color) = 0;

    // Returns the previous mode.
    virtual int SetStretchBltMode(int mode) = 0;
    virtual int GetStretchBltMode() const = 0;
    virtual Point GetBrushOrg() const = 0;
    virtual void SetBrushOrg(Point origin) = 0;

    // A logical palette of the colours (0x00RRGGBB) selected (as a background palette when
    // `background`) and realised; RestorePalette with the returned token selects the previous
    // one back.
    virtual std::uintptr_t SelectPalette(const std::uint32_t* colors, int count,
                                         bool background) = 0;
    virtual void RestorePalette(std::uintptr_t previous) = 0;

    virtual void IntersectClipRect(const Rect& rect) = 0;
    // The clip box in logical coordinates.
    virtual Rect ClipBox() const = 0;
    virtual Point GetWindowOrg() const = 0;
    virtual void SetWindowOrg(Point origin) = 0;
    // SaveDC / RestoreDC of clip, window origin, stretch mode and brush origin.
    virtual int SaveDC() = 0;
    virtual void RestoreDC(int saved) = 0;

    // An off-screen bitmap compatible with this surface (CreateCompatibleBitmap, then a
    // compatible memory context with the bitmap selected); nullptr when it can't be made.
    // Releasing the result deselects and deletes both.
    virtual std::unique_ptr<Canvas> CreateCompatible(int width, int height) = 0;
};

} // namespace quillop::platform
