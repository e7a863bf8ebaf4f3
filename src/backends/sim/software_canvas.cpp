#include "backends/sim/software_canvas.h"

#include <algorithm>
#include <cstdlib>
#include <utility>

namespace quillop::platform::sim {
namespace {

std::uint32_t Combine(std::uint32_t d, std::uint32_t s, std::uint32_t rop) {
    switch (rop) {
    case kRopSrcCopy:
        return s;
    case kRopSrcAnd:
        return d & s;
    case kRopSrcInvert:
        return (d ^ s) & 0xFFFFFFu;
    case kRopBlackness:
        return 0;
    case kRopWhiteness:
        return 0xFFFFFFu;
    default:
        return d;
    }
}

bool KnownRop(std::uint32_t rop) {
    return rop == kRopSrcCopy || rop == kRopSrcAnd || rop == kRopSrcInvert ||
           rop == kRopBlackness || rop == kRopWhiteness;
}

std::uint32_t ToRgb(ColorRef c) {
    return ((c & 0xFFu) << 16) | (c & 0xFF00u) | ((c >> 16) & 0xFFu);
}

// The colour of source pixel (x, y), y from the top.
std::uint32_t SourcePixel(const DibSource& s, int x, int y) {
    const size_t stride = ((static_cast<size_t>(s.width) * s.bit_count + 31) / 32) * 4;
    const std::uint8_t* row = s.bits + stride * static_cast<size_t>(s.height - 1 - y);
    int index = 0;
    switch (s.bit_count) {
    case 32:
        return (static_cast<std::uint32_t>(row[4 * x + 2]) << 16) |
               (static_cast<std::uint32_t>(row[4 * x + 1]) << 8) | row[4 * x];
    case 8:
        index = row[x];
        break;
    case 1:
        index = (row[x >> 3] >> (7 - (x & 7))) & 1;
        if (s.color_count == 0) {
            return index ? 0xFFFFFFu : 0;
        }
        break;
    default:
        return 0;
    }
    return index < s.color_count ? s.colors[index] & 0xFFFFFFu : 0;
}

} // namespace

Surface::Surface(int width, int height, std::uint32_t fill)
    : width_(std::max(width, 0)), height_(std::max(height, 0)),
      pixels_(static_cast<size_t>(width_) * static_cast<size_t>(height_), fill) {}

std::uint32_t Surface::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    return pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)];
}

void Surface::SetPixel(int x, int y, std::uint32_t color) {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return;
    }
    pixels_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] =
        color & 0xFFFFFFu;
}

void Surface::Resize(int width, int height, std::uint32_t fill) {
    *this = Surface(width, height, fill);
}

std::uint32_t sim_system_color(int index) {
    switch (index) {
    case kColorBtnFace:
        return 0xC0C0C0u;
    case kColorBtnShadow:
        return 0x808080u;
    default:
        return 0xFFFFFFu;
    }
}

SoftwareCanvas::SoftwareCanvas(Surface& surface, int bits_per_pixel)
    : surface_(&surface), bits_per_pixel_(bits_per_pixel) {
    state_.clip = {0, 0, surface.Width(), surface.Height()};
}

SoftwareCanvas::SoftwareCanvas(int width, int height, int bits_per_pixel)
    : own_(std::make_unique<Surface>(width, height)), surface_(own_.get()),
      bits_per_pixel_(bits_per_pixel) {
    state_.clip = {0, 0, surface_->Width(), surface_->Height()};
}

ColorRef SoftwareCanvas::ResolveColor(ColorRef color) const {
    if (color & kSystemColor) {
        const std::uint32_t rgb = sim_system_color(static_cast<int>(color & 0xFFu));
        return ((rgb & 0xFFu) << 16) | (rgb & 0xFF00u) | ((rgb >> 16) & 0xFFu);
    }
    return color & 0xFFFFFFu;
}

platform::Rect SoftwareCanvas::ToDevice(const platform::Rect& r) const {
    return {r.left - state_.origin.x, r.top - state_.origin.y, r.right - state_.origin.x,
            r.bottom - state_.origin.y};
}

template <typename F> void SoftwareCanvas::ForEachPixel(const platform::Rect& device, F&& f) {
    const platform::Rect r = intersect_rect(device, state_.clip);
    for (int y = r.top; y < r.bottom; ++y) {
        for (int x = r.left; x < r.right; ++x) {
            f(x, y);
        }
    }
}

void SoftwareCanvas::FillRect(const platform::Rect& rect, ColorRef color) {
    const std::uint32_t rgb = ToRgb(ResolveColor(color));
    ForEachPixel(ToDevice(rect), [&](int x, int y) { surface_->SetPixel(x, y, rgb); });
}

bool SoftwareCanvas::StretchDIBits(const platform::Rect& dest, const DibSource& source,
                                   std::uint32_t rop) {
    if (!KnownRop(rop) || source.width <= 0 || source.height <= 0 || !source.bits ||
        dest.IsEmpty()) {
        return false;
    }
    ++stretch_calls_;
    const platform::Rect d = ToDevice(dest);
    const long long dw = d.Width(), dh = d.Height();
    ForEachPixel(d, [&](int x, int y) {
        const int sx = static_cast<int>((x - d.left) * static_cast<long long>(source.width) / dw);
        const int sy = static_cast<int>((y - d.top) * static_cast<long long>(source.height) / dh);
        surface_->SetPixel(x, y, Combine(surface_->Pixel(x, y), SourcePixel(source, sx, sy), rop));
    });
    return true;
}

bool SoftwareCanvas::BitBlt(const platform::Rect& dest, Canvas& source, Point from,
                            std::uint32_t rop) {
    auto* src = dynamic_cast<SoftwareCanvas*>(&source);
    if (!src || !KnownRop(rop)) {
        return false;
    }
    const platform::Rect d = ToDevice(dest);
    const int sx0 = from.x - src->state_.origin.x, sy0 = from.y - src->state_.origin.y;
    ForEachPixel(d, [&](int x, int y) {
        const std::uint32_t s = src->surface_->Pixel(sx0 + x - d.left, sy0 + y - d.top);
        surface_->SetPixel(x, y, Combine(surface_->Pixel(x, y), s, rop));
    });
    return true;
}

void SoftwareCanvas::DottedPolyline(const Point* points, int count, ColorRef color) {
    // A cosmetic PS_DOT pen: 3 pixels on, 3 off, the pattern running on across the segments;
    // each segment stops before its end point.
    const std::uint32_t rgb = ToRgb(ResolveColor(color));
    int phase = 0;
    for (int i = 0; i + 1 < count; ++i) {
        const Point a = points[i], b = points[i + 1];
        const int steps = std::max(std::abs(b.x - a.x), std::abs(b.y - a.y));
        for (int k = 0; k < steps; ++k) {
            const int x = a.x + (b.x - a.x) * k / steps, y = a.y + (b.y - a.y) * k / steps;
            if (phase < 3) {
                const platform::Rect one = ToDevice({x, y, x + 1, y + 1});
                ForEachPixel(one, [&](int px, int py) { surface_->SetPixel(px, py, rgb); });
            }
            phase = (phase + 1) % 6;
        }
    }
}

int SoftwareCanvas::SetStretchBltMode(int mode) {
    return std::exchange(state_.stretch_mode, mode);
}

std::uintptr_t SoftwareCanvas::SelectPalette(const std::uint32_t*, int, bool) {
    ++palettes_selected_;
    return std::exchange(palette_, static_cast<std::uintptr_t>(palettes_selected_));
}

void SoftwareCanvas::RestorePalette(std::uintptr_t previous) {
    palette_ = previous;
}

void SoftwareCanvas::IntersectClipRect(const platform::Rect& rect) {
    state_.clip = intersect_rect(state_.clip, ToDevice(rect));
}

platform::Rect SoftwareCanvas::ClipBox() const {
    if (state_.clip.IsEmpty()) {
        return {};
    }
    return {state_.clip.left + state_.origin.x, state_.clip.top + state_.origin.y,
            state_.clip.right + state_.origin.x, state_.clip.bottom + state_.origin.y};
}

int SoftwareCanvas::SaveDC() {
    saved_.push_back(state_);
    return static_cast<int>(saved_.size());
}

void SoftwareCanvas::RestoreDC(int saved) {
    if (saved <= 0 || saved > static_cast<int>(saved_.size())) {
        return;
    }
    state_ = saved_[static_cast<size_t>(saved - 1)];
    saved_.resize(static_cast<size_t>(saved - 1));
}

std::unique_ptr<platform::Canvas> SoftwareCanvas::CreateCompatible(int width, int height) {
    if (width <= 0 || height <= 0) {
        return nullptr;
    }
    return std::make_unique<SoftwareCanvas>(width, height, bits_per_pixel_);
}

} // namespace quillop::platform::sim
