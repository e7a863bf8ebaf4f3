#include "ui/font.h"

#include "platform/mul_div.h"

namespace quillop::ui {

int native_font_height(int points) {
    return -platform::MulDiv(points, 96, 72);
}

} // namespace quillop::ui
