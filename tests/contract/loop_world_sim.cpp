// The loop contract cases over the sim's loop and virtual clock.
#include "loop_world.h"

#include "backends/sim/world.h"

namespace quillop::contract {

namespace {

class SimLoopWorld final : public LoopWorld {
public:
    platform::Loop& loop() override { return world_.loop; }
    bool RunUntil(const std::function<bool()>& done, std::uint32_t limit) override {
        for (std::uint32_t t = 0; t < limit && !done(); ++t) {
            world_.loop.RunFor(1);
        }
        return done();
    }

private:
    platform::sim::World world_;
};

} // namespace

std::unique_ptr<LoopWorld> MakeLoopWorld() {
    return std::make_unique<SimLoopWorld>();
}

} // namespace quillop::contract
