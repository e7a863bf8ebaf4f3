#pragma once
// A surface for the drawing contract: the drawing service under test over pixels the case can
// read. Implemented over the sim's software canvas (sim_canvas.cpp) and over a GDI memory
// bitmap (win32_canvas.cpp).

#include "platform/canvas.h"

#include <cstdint>
#include <memory>

namespace quillop::contract {

class CanvasUnderTest {
public:
    virtual ~CanvasUnderTest() = default;
    virtual platform::Canvas& Canvas() = 0;
    // 0x00RRGGBB.
    virtual std::uint32_t Pixel(int x, int y) = 0;
};

// A 32-bit surface of width x height, filled with fill (0x00RRGGBB).
std::unique_ptr<CanvasUnderTest> MakeCanvas(int width, int height, std::uint32_t fill);

} // namespace quillop::contract
