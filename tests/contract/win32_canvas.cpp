// The drawing contract over GDI: a 32-bit top-down DIB section selected into a memory context.
#include "canvas_world.h"

#include "gdi_canvas.h"

#include <windows.h>

namespace quillop::contract {
namespace {

class GdiSurface final : public CanvasUnderTest {
public:
    GdiSurface(int width, int height, std::uint32_t fill) : width_(width), height_(height) {
        BITMAPINFO info{};
        info.bmiHeader.biSize = sizeof info.bmiHeader;
        info.bmiHeader.biWidth = width;
        info.bmiHeader.biHeight = -height; // top-down, so rows read in order
        info.bmiHeader.biPlanes = 1;
        info.bmiHeader.biBitCount = 32;
        info.bmiHeader.biCompression = BI_RGB;
        dc_ = CreateCompatibleDC(nullptr);
        bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits_, nullptr, 0);
        old_ = SelectObject(dc_, bitmap_);
        auto* p = static_cast<std::uint32_t*>(bits_);
        for (int i = 0; i < width * height; ++i)
            p[i] = fill;
        canvas_ = std::make_unique<platform::win32::GdiCanvas>(dc_);
    }
    ~GdiSurface() override {
        canvas_.reset();
        SelectObject(dc_, old_);
        DeleteObject(bitmap_);
        DeleteDC(dc_);
    }
    platform::Canvas& Canvas() override { return *canvas_; }
    std::uint32_t Pixel(int x, int y) override {
        GdiFlush();
        if (x < 0 || y < 0 || x >= width_ || y >= height_)
            return 0;
        return static_cast<const std::uint32_t*>(bits_)[y * width_ + x] & 0xFFFFFF;
    }

private:
    int width_, height_;
    HDC dc_ = nullptr;
    HBITMAP bitmap_ = nullptr;
    HGDIOBJ old_ = nullptr;
    void* bits_ = nullptr;
    std::unique_ptr<platform::win32::GdiCanvas> canvas_;
};

} // namespace

std::unique_ptr<CanvasUnderTest> MakeCanvas(int width, int height, std::uint32_t fill) {
    return std::make_unique<GdiSurface>(width, height, fill);
}

} // namespace quillop::contract
