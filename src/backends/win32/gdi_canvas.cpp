#include "gdi_canvas.h"

#include <cstring>

namespace quillop::platform::win32 {
namespace {

// BITMAPINFO with room for a full colour table.
struct DibInfo {
    BITMAPINFOHEADER header;
    RGBQUAD colors[256];
};

} // namespace

GdiCanvas::GdiCanvas(HDC dc) : dc_(dc) {}

std::unique_ptr<GdiCanvas> GdiCanvas::ForWindow(HWND window) {
    HDC dc = GetDC(window);
    if (!dc)
        return nullptr;
    std::unique_ptr<GdiCanvas> canvas(new GdiCanvas());
    canvas->dc_ = dc;
    canvas->window_ = window;
    return canvas;
}

GdiCanvas::~GdiCanvas() {
    // Palettes first (they are selected into this context), then the bitmap, then the context.
    while (!palettes_.empty())
        RestorePalette(0);
    if (own_memory_dc_) {
        if (old_bitmap_)
            SelectObject(dc_, old_bitmap_);
        bitmap_.Reset();
        DeleteDC(dc_);
    } else if (window_) {
        ReleaseDC(window_, dc_);
    }
}

int GdiCanvas::BitsPerPixel() const {
    return GetDeviceCaps(dc_, BITSPIXEL) * GetDeviceCaps(dc_, PLANES);
}

ColorRef GdiCanvas::ResolveColor(ColorRef color) const {
    if (color & kSystemColor)
        return GetSysColor(static_cast<int>(color & 0xFF));
    return color & 0xFFFFFF;
}

void GdiCanvas::FillRect(const platform::Rect& rect, ColorRef color) {
    OwnedGdiObject brush(CreateSolidBrush(ResolveColor(color)));
    const RECT r{rect.left, rect.top, rect.right, rect.bottom};
    ::FillRect(dc_, &r, static_cast<HBRUSH>(brush.Get()));
}

bool GdiCanvas::StretchDIBits(const platform::Rect& dest, const DibSource& source,
                              std::uint32_t rop) {
    if (!source.bits || source.width <= 0 || source.height <= 0)
        return false;
    DibInfo info{};
    info.header.biSize = sizeof info.header;
    info.header.biWidth = source.width;
    info.header.biHeight = source.height; // bottom-up, as the pixels are stored
    info.header.biPlanes = 1;
    info.header.biBitCount = static_cast<WORD>(source.bit_count);
    info.header.biCompression = BI_RGB;
    const int colors = source.color_count > 256 ? 256 : source.color_count;
    info.header.biClrUsed = static_cast<DWORD>(colors);
    if (colors > 0)
        std::memcpy(info.colors, source.colors, sizeof(RGBQUAD) * static_cast<size_t>(colors));
    const int r = ::StretchDIBits(dc_, dest.left, dest.top, dest.Width(), dest.Height(), 0, 0,
                                  source.width, source.height, source.bits,
                                  reinterpret_cast<const BITMAPINFO*>(&info), DIB_RGB_COLORS, rop);
    return r != 0 && r != static_cast<int>(GDI_ERROR);
}

bool GdiCanvas::BitBlt(const platform::Rect& dest, Canvas& source, Point from, std::uint32_t rop) {
    auto* gdi = dynamic_cast<GdiCanvas*>(&source);
    if (!gdi)
        return false;
    return ::BitBlt(dc_, dest.left, dest.top, dest.Width(), dest.Height(), gdi->dc_, from.x, from.y,
                    rop) != FALSE;
}

void GdiCanvas::DottedPolyline(const Point* points, int count, ColorRef color) {
    OwnedGdiObject pen(CreatePen(PS_DOT, 0, ResolveColor(color)));
    std::vector<POINT> native(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        native[static_cast<size_t>(i)] = POINT{points[i].x, points[i].y};
    const int old_mode = SetBkMode(dc_, TRANSPARENT);
    {
        Selected selected(dc_, pen.Get());
        Polyline(dc_, native.data(), count);
    }
    SetBkMode(dc_, old_mode);
}

int GdiCanvas::SetStretchBltMode(int mode) {
    return ::SetStretchBltMode(dc_, mode);
}

int GdiCanvas::GetStretchBltMode() const {
    return ::GetStretchBltMode(dc_);
}

Point GdiCanvas::GetBrushOrg() const {
    POINT p{};
    GetBrushOrgEx(dc_, &p);
    return {p.x, p.y};
}

void GdiCanvas::SetBrushOrg(Point origin) {
    SetBrushOrgEx(dc_, origin.x, origin.y, nullptr);
}

std::uintptr_t GdiCanvas::SelectPalette(const std::uint32_t* colors, int count, bool background) {
    if (count <= 0 || count > 256)
        return 0;
    struct {
        WORD version;
        WORD entries;
        PALETTEENTRY colors[256];
    } log{0x300, static_cast<WORD>(count), {}};
    for (int i = 0; i < count; ++i) {
        const std::uint32_t c = colors[i];
        log.colors[i] = PALETTEENTRY{static_cast<BYTE>(c >> 16), static_cast<BYTE>(c >> 8),
                                     static_cast<BYTE>(c), 0};
    }
    OwnedGdiObject palette(CreatePalette(reinterpret_cast<const LOGPALETTE*>(&log)));
    if (!palette)
        return 0;
    HPALETTE old =
        ::SelectPalette(dc_, static_cast<HPALETTE>(palette.Get()), background ? TRUE : FALSE);
    RealizePalette(dc_);
    palettes_.push_back(std::move(palette));
    return reinterpret_cast<std::uintptr_t>(old);
}

void GdiCanvas::RestorePalette(std::uintptr_t previous) {
    if (palettes_.empty())
        return;
    HPALETTE old = previous ? reinterpret_cast<HPALETTE>(previous)
                            : static_cast<HPALETTE>(GetStockObject(DEFAULT_PALETTE));
    ::SelectPalette(dc_, old, TRUE);
    palettes_.pop_back();
}

void GdiCanvas::IntersectClipRect(const platform::Rect& rect) {
    ::IntersectClipRect(dc_, rect.left, rect.top, rect.right, rect.bottom);
}

platform::Rect GdiCanvas::ClipBox() const {
    RECT r{};
    if (GetClipBox(dc_, &r) == NULLREGION || r.right <= r.left || r.bottom <= r.top)
        return {};
    return {r.left, r.top, r.right, r.bottom};
}

Point GdiCanvas::GetWindowOrg() const {
    POINT p{};
    GetWindowOrgEx(dc_, &p);
    return {p.x, p.y};
}

void GdiCanvas::SetWindowOrg(Point origin) {
    SetWindowOrgEx(dc_, origin.x, origin.y, nullptr);
}

int GdiCanvas::SaveDC() {
    return ::SaveDC(dc_);
}

void GdiCanvas::RestoreDC(int saved) {
    ::RestoreDC(dc_, saved);
}

std::unique_ptr<platform::Canvas> GdiCanvas::CreateCompatible(int width, int height) {
    if (width <= 0 || height <= 0)
        return nullptr;
    OwnedBitmap bitmap(CreateCompatibleBitmap(dc_, width, height));
    if (!bitmap)
        return nullptr;
    HDC memory = CreateCompatibleDC(dc_);
    if (!memory)
        return nullptr;
    std::unique_ptr<GdiCanvas> canvas(new GdiCanvas());
    canvas->dc_ = memory;
    canvas->own_memory_dc_ = true;
    canvas->old_bitmap_ = SelectObject(memory, bitmap.Get());
    canvas->bitmap_ = std::move(bitmap);
    return canvas;
}

} // namespace quillop::platform::win32
