#pragma once
// One simulated machine: every sim service and the Services bundle that points at them.

#include "backends/sim/desktop.h"
#include "backends/sim/loop.h"
#include "backends/sim/message_boxes.h"
#include "backends/sim/system.h"
#include "platform/services.h"

namespace quillop::platform::sim {

struct World {
    Desktop desktop;
    System system;
    MessageBoxes boxes;
    Loop loop{system};
    platform::Services services{desktop, system, boxes, loop};

    World() = default;
    World(const World&) = delete;
    World& operator=(const World&) = delete;
};

} // namespace quillop::platform::sim
