#pragma once
// Fonts are kept in whole points at 96 dpi, the way the forms were designed.

#include "platform/canvas.h"

#include <cstdint>
#include <string>

namespace quillop::ui {

// Text colours: a COLORREF (0x00BBGGRR) or platform::kSystemColor | a system colour index.
using TextColor = platform::ColorRef;
inline constexpr TextColor kClWindowText = platform::kSystemColor | 8;     // COLOR_WINDOWTEXT
inline constexpr TextColor kClHighlightText = platform::kSystemColor | 14; // COLOR_HIGHLIGHTTEXT
inline constexpr TextColor kClBlue = 0x00FF0000u;

struct Font {
    std::string name;
    int size = 0; // points
    bool bold = false;
    bool underline = false;
    TextColor color = kClWindowText;
    friend bool operator==(const Font&, const Font&) = default;
};

// The LOGFONT height for a point size at 96 dpi: -MulDiv(points, 96, 72).
int native_font_height(int points);

} // namespace quillop::ui
