#pragma once
// Fonts are kept in whole points at 96 dpi, the way the forms were designed.

#include <string>

namespace quillop::ui {

struct Font {
    std::string name;
    int size = 0; // points
    bool bold = false;
    friend bool operator==(const Font&, const Font&) = default;
};

// The LOGFONT height for a point size at 96 dpi: -MulDiv(points, 96, 72).
int native_font_height(int points);

} // namespace quillop::ui
