#pragma once

#include "ui/graphic_control.h"

namespace quillop::ui {

// A raised frame around its bounds, painted on the parent like any graphic control; it takes
// no input of its own.
class Bevel : public GraphicControl {
public:
    using GraphicControl::GraphicControl;

    // Two rings of lines: the outer lit at the top and left and shaded at the bottom and
    // right, the inner the other way round.
    void Paint(platform::Canvas& canvas) override;
};

} // namespace quillop::ui
