#pragma once
// Fonts are kept in whole points at 96 dpi, the way the forms were designed.

#include <cstdint>
#include <string>

namespace quillop::ui {

// A text colour: 0x00BBGGRR, or kSystemTextColor | a system colour index.
using TextColor = std::uint32_t;
inline constexpr TextColor kSystemTextColor = 0x80000000u;
inline constexpr TextColor kClWindowText = kSystemTextColor | 8;     // COLOR_WINDOWTEXT
inline constexpr TextColor kClHighlightText = kSystemTextColor | 14; // COLOR_HIGHLIGHTTEXT
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
