#pragma once
// The sim's drawing service: a canvas over 32-bit pixels (0x00RRGGBB) in memory, running the
// raster operations the GIF composition runs, with the GDI's state rules (clip region, window
// origin, SaveDC / RestoreDC, stretch mode, brush origin).
//
// Stretching picks the nearest source pixel (COLORONCOLOR and WHITEONBLACK alike; HALFTONE
// too: the sim has no palette display); copies at the source's own size are exact.

#include "platform/canvas.h"

#include <memory>
#include <vector>

namespace quillop::platform::sim {

// The pixels: a window's client area or an off-screen bitmap.
class Surface {
public:
    Surface(int width, int height, std::uint32_t fill = 0);
    int Width() const { return width_; }
    int Height() const { return height_; }
    // 0x00RRGGBB; 0 outside.
    std::uint32_t Pixel(int x, int y) const;
    void SetPixel(int x, int y, std::uint32_t color);
    void Resize(int width, int height, std::uint32_t fill = 0);
    const std::vector<std::uint32_t>& Pixels() const { return pixels_; }

private:
    int width_;
    int height_;
    std::vector<std::uint32_t> pixels_;
};

// The system colours the sim shows (0x00RRGGBB); button face C0C0C0, shadow 808080.
std::uint32_t sim_system_color(int index);

class SoftwareCanvas final : public platform::Canvas {
public:
    // Draws on a surface it does not own (a window's).
    explicit SoftwareCanvas(Surface& surface, int bits_per_pixel = 32);
    // Draws on an off-screen surface of its own.
    SoftwareCanvas(int width, int height, int bits_per_pixel = 32);

    Surface& Pixels() { return *surface_; }
    const Surface& Pixels() const { return *surface_; }
    // Counts what was drawn (tests: tiling draws only what meets the clip).
    int StretchCalls() const { return stretch_calls_; }
    int SelectedPalettes() const { return palettes_selected_; }

    int BitsPerPixel() const override { return bits_per_pixel_; }
    ColorRef ResolveColor(ColorRef color) const override;
    void FillRect(const platform::Rect& rect, ColorRef color) override;
    bool StretchDIBits(const platform::Rect& dest, const DibSource& source,
                       std::uint32_t rop) override;
    bool BitBlt(const platform::Rect& dest, Canvas& source, Point from, std::uint32_t rop) override;
    void DottedPolyline(const Point* points, int count, ColorRef color) override;
    int SetStretchBltMode(int mode) override;
    int GetStretchBltMode() const override { return state_.stretch_mode; }
    Point GetBrushOrg() const override { return state_.brush_org; }
    void SetBrushOrg(Point origin) override { state_.brush_org = origin; }
    std::uintptr_t SelectPalette(const std::uint32_t* colors, int count, bool background) override;
    void RestorePalette(std::uintptr_t previous) override;
    void IntersectClipRect(const platform::Rect& rect) override;
    platform::Rect ClipBox() const override;
    Point GetWindowOrg() const override { return state_.origin; }
    void SetWindowOrg(Point origin) override { state_.origin = origin; }
    int SaveDC() override;
    void RestoreDC(int saved) override;
    std::unique_ptr<platform::Canvas> CreateCompatible(int width, int height) override;

private:
    struct State {
        platform::Rect clip; // device coordinates
        Point origin;
        int stretch_mode = kStretchBlackOnWhite;
        Point brush_org;
    };
    // Device rectangle of a logical one.
    platform::Rect ToDevice(const platform::Rect& r) const;
    template <typename F> void ForEachPixel(const platform::Rect& device, F&& f);

    std::unique_ptr<Surface> own_;
    Surface* surface_;
    int bits_per_pixel_;
    State state_;
    std::vector<State> saved_;
    int stretch_calls_ = 0;
    int palettes_selected_ = 0;
    std::uintptr_t palette_ = 0;
};

} // namespace quillop::platform::sim
