#include "canvas_world.h"

#include "backends/sim/software_canvas.h"

namespace quillop::contract {
namespace {

class SimCanvas final : public CanvasUnderTest {
public:
    SimCanvas(int width, int height, std::uint32_t fill) : surface_(width, height, fill) {}
    platform::Canvas& Canvas() override { return canvas_; }
    std::uint32_t Pixel(int x, int y) override { return surface_.Pixel(x, y); }

private:
    platform::sim::Surface surface_;
    platform::sim::SoftwareCanvas canvas_{surface_};
};

} // namespace

std::unique_ptr<CanvasUnderTest> MakeCanvas(int width, int height, std::uint32_t fill) {
    return std::make_unique<SimCanvas>(width, height, fill);
}

} // namespace quillop::contract
