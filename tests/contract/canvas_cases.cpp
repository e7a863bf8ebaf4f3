// The GIF control's DrawTo on the drawing service: the same cases, pixel by pixel, on the sim's
// software canvas and on a GDI memory bitmap. Scaling of pictures with more than one colour
// is left out: the stretch filter is the platform's own.
#include "canvas_world.h"

#include "gif/GIFImage.h"
#include "gif/gif_recipe.h"

#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>

namespace quillop::contract {
namespace {

using gif::TGIFImage;
using gif::test::Bytes;
using gif::test::GIFRecipe;
using gif::test::RGB;

constexpr std::uint32_t kBack = 0x123456;
constexpr std::uint32_t kAnything = 0xFFFFFFFF; // an expected value that matches any pixel
constexpr std::uint32_t kShadow = 0xFFFFFFFE;   // the platform's button-shadow colour

RGB ColorOf(int i) {
    return RGB{static_cast<std::uint8_t>(i), static_cast<std::uint8_t>(255 - i),
               static_cast<std::uint8_t>((i * 7) & 0xFF)};
}
std::uint32_t Rgb(int i) {
    const RGB c = ColorOf(i);
    return static_cast<std::uint32_t>(c.R) << 16 | static_cast<std::uint32_t>(c.G) << 8 | c.B;
}
int IndexAt(int x, int y) {
    return (x + 11 * y) % 200 + 1;
}
bool IsHole(int x, int y, int w) {
    return (x + y) % 2 == 0 && x < w / 2;
}

// A w x h picture of distinct colours; with `hole`, a transparent checker on its left half.
Bytes Picture(int w, int h, bool hole = false) {
    std::vector<RGB> colors;
    for (int i = 0; i < 256; ++i)
        colors.push_back(ColorOf(i));
    Bytes pixels;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            pixels.push_back(
                static_cast<std::uint8_t>(hole && IsHole(x, y, w) ? 0 : IndexAt(x, y)));
    GIFRecipe r;
    r.Header().Screen(static_cast<std::uint16_t>(w), static_cast<std::uint16_t>(h), colors);
    if (hole)
        r.GraphicControl(0, true, 0);
    r.Image(0, 0, static_cast<std::uint16_t>(w), static_cast<std::uint16_t>(h), pixels, 8);
    return r.Trailer().Build();
}

struct Case {
    const char* what;
    int w, h;   // control and surface
    Bytes file; // the picture
    std::function<void(TGIFImage&)> setup;
    platform::Rect clip; // empty: none
    std::function<std::uint32_t(int, int)> expected;
};

std::string DrawCase(const Case& c) {
    TGIFImage g;
    g.SetBounds({0, 0, c.w, c.h});
    if (c.setup)
        c.setup(g);
    if (!g.LoadFromBuffer(c.file.data(), c.file.size()))
        return "load failed";
    auto surface = MakeCanvas(c.w, c.h, kBack);
    if (!c.clip.IsEmpty())
        surface->Canvas().IntersectClipRect(c.clip);
    g.DrawTo(surface->Canvas());
    const platform::ColorRef s = surface->Canvas().ResolveColor(platform::kClBtnShadow);
    const std::uint32_t shadow = (s & 0xFF) << 16 | (s & 0xFF00) | (s >> 16 & 0xFF);
    std::ostringstream out;
    int differ = 0;
    for (int y = 0; y < c.h; ++y)
        for (int x = 0; x < c.w; ++x) {
            const std::uint32_t got = surface->Pixel(x, y);
            const std::uint32_t want = c.expected(x, y) == kShadow ? shadow : c.expected(x, y);
            if (want != kAnything && got != want && ++differ <= 3)
                out << "(" << x << "," << y << ") " << std::hex << got << " not " << want
                    << std::dec << "; ";
        }
    if (differ > 3)
        out << differ << " pixels differ";
    return out.str();
}

std::vector<Case> Cases() {
    std::vector<Case> cases;
    cases.push_back(
        {"plain, picture smaller", 30, 20, Picture(10, 8), nullptr, {}, [](int x, int y) {
             return x < 10 && y < 8 ? Rgb(IndexAt(x, y)) : kBack;
         }});
    cases.push_back({"plain, picture larger", 8, 6, Picture(10, 8), nullptr, {}, [](int x, int y) {
                         return Rgb(IndexAt(x, y));
                     }});
    cases.push_back({"centred, picture 7 wider",
                     13,
                     12,
                     Picture(20, 8),
                     [](TGIFImage& g) { g.SetCenter(true); },
                     {},
                     [](int x, int y) {
                         // Offsets (13 - 20) div 2 = -3 and (12 - 8) div 2 = 2.
                         return y >= 2 && y < 10 ? Rgb(IndexAt(x + 3, y - 2)) : kBack;
                     }});
    cases.push_back({"tiled 7 x 5 over 30 x 20",
                     30,
                     20,
                     Picture(7, 5),
                     [](TGIFImage& g) { g.SetTile(true); },
                     {},
                     [](int x, int y) { return Rgb(IndexAt(x % 7, y % 5)); }});
    cases.push_back({"tiled, clipped",
                     30,
                     20,
                     Picture(7, 5),
                     [](TGIFImage& g) { g.SetTile(true); },
                     {6, 4, 16, 11},
                     [](int x, int y) {
                         const bool in = x >= 6 && x < 16 && y >= 4 && y < 11;
                         return in ? Rgb(IndexAt(x % 7, y % 5)) : kBack;
                     }});
    cases.push_back({"transparent over the surface",
                     14,
                     9,
                     Picture(12, 8, true),
                     nullptr,
                     {},
                     [](int x, int y) {
                         if (x >= 12 || y >= 8 || IsHole(x, y, 12))
                             return kBack;
                         return Rgb(IndexAt(x, y));
                     }});
    cases.push_back({"transparent, Opaque fills with Color",
                     14,
                     9,
                     Picture(12, 8, true),
                     [](TGIFImage& g) {
                         g.SetOpaque(true);
                         g.SetColor(0x00AA00FF);
                     },
                     {},
                     [](int x, int y) {
                         if (x >= 12 || y >= 8 || IsHole(x, y, 12))
                             return std::uint32_t{0xFF00AA};
                         return Rgb(IndexAt(x, y));
                     }});
    {
        // Frame 1 opaque and smaller than the screen: black where it has not painted.
        GIFRecipe r;
        r.Header().Screen(4, 3, {{255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {255, 255, 255}});
        r.GraphicControl(1, false, 0, 10).Image(1, 1, 2, 1, {0, 1}, 2);
        r.GraphicControl(1, true, 3, 10).Image(0, 0, 1, 1, {3}, 2).Trailer();
        cases.push_back({"frame 1 opaque copied whole",
                         6,
                         4,
                         r.Build(),
                         nullptr,
                         {},
                         [](int x, int y) -> std::uint32_t {
                             if (x >= 4 || y >= 3)
                                 return kBack;
                             if (y == 1 && x == 1)
                                 return 0xFF0000;
                             if (y == 1 && x == 2)
                                 return 0x00FF00;
                             return 0;
                         }});
    }
    {
        // One colour scaled: the destination rectangle exactly, whatever the filter.
        GIFRecipe r;
        r.Header().Screen(10, 10, {{9, 8, 7}, {1, 2, 3}});
        r.Image(0, 0, 10, 10, Bytes(100, 1), 2).Trailer();
        cases.push_back(
            {"ratio, one colour",
             40,
             20,
             r.Build(),
             [](TGIFImage& g) { g.SetStretchRatio(true); },
             {},
             [](int x, int) { return x >= 10 && x < 30 ? std::uint32_t{0x010203} : kBack; }});
    }
    {
        // Design mode: the dotted outline in the button-shadow colour over the picture.
        // PS_DOT: 3 pixels on, 3 off, running on from one segment to the next.
        const std::string top = "***...***...*", right = "***...***";
        cases.push_back({"design-mode outline",
                         13,
                         9,
                         Picture(13, 9),
                         [](TGIFImage& g) { g.SetDesignMode(true); },
                         {},
                         [top, right](int x, int y) {
                             const std::uint32_t shadow = kShadow;
                             if (y == 0 && top[static_cast<size_t>(x)] == '*')
                                 return shadow;
                             if (x == 12 && right[static_cast<size_t>(y)] == '*')
                                 return shadow;
                             if (y == 8 || x == 0)
                                 return kAnything; // bottom and left: the same pattern on
                             return Rgb(IndexAt(x, y));
                         }});
    }
    return cases;
}

TEST(CanvasContract, DrawToCases) {
    for (const Case& c : Cases()) {
        EXPECT_EQ(DrawCase(c), "") << c.what;
    }
}

} // namespace
} // namespace quillop::contract
