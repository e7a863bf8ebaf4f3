// The drawing service over GDI: a canvas on a device context. It draws device-independent
// pixels with StretchDIBits straight from the caller's memory (no conversion, no copy).
#pragma once

#include "platform/canvas.h"

#include "win_handles.h"
#include <windows.h>

#include <memory>
#include <vector>

namespace quillop::platform::win32 {

class GdiCanvas final : public platform::Canvas {
public:
    // Draws on a context the caller owns.
    explicit GdiCanvas(HDC dc);
    // Draws on a window's context from GetDC, released (ReleaseDC) with the canvas.
    static std::unique_ptr<GdiCanvas> ForWindow(HWND window);
    ~GdiCanvas() override;
    GdiCanvas(const GdiCanvas&) = delete;
    GdiCanvas& operator=(const GdiCanvas&) = delete;

    HDC Dc() const { return dc_; }

    int BitsPerPixel() const override;
    ColorRef ResolveColor(ColorRef color) const override;
    void FillRect(const platform::Rect& rect, ColorRef color) override;
    bool StretchDIBits(const platform::Rect& dest, const DibSource& source,
                       std::uint32_t rop) override;
    bool BitBlt(const platform::Rect& dest, Canvas& source, Point from, std::uint32_t rop) override;
    void DottedPolyline(const Point* points, int count, ColorRef color) override;
    int SetStretchBltMode(int mode) override;
    int GetStretchBltMode() const override;
    Point GetBrushOrg() const override;
    void SetBrushOrg(Point origin) override;
    std::uintptr_t SelectPalette(const std::uint32_t* colors, int count, bool background) override;
    void RestorePalette(std::uintptr_t previous) override;
    void IntersectClipRect(const platform::Rect& rect) override;
    platform::Rect ClipBox() const override;
    Point GetWindowOrg() const override;
    void SetWindowOrg(Point origin) override;
    int SaveDC() override;
    void RestoreDC(int saved) override;
    std::unique_ptr<platform::Canvas> CreateCompatible(int width, int height) override;

private:
    GdiCanvas() = default;

    HDC dc_ = nullptr;
    // GetDC's window (released with ReleaseDC), or an own memory context with its bitmap.
    HWND window_ = nullptr;
    bool own_memory_dc_ = false;
    OwnedBitmap bitmap_;
    HGDIOBJ old_bitmap_ = nullptr;
    // Palettes this canvas made and selected, deleted when selected out again.
    std::vector<OwnedGdiObject> palettes_;
};

} // namespace quillop::platform::win32
