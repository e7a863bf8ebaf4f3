#pragma once
// One simulated machine: every sim service and the Services bundle that points at them.

#include "platform/services.h"
#include "platform/sim/desktop.h"
#include "platform/sim/loop.h"
#include "platform/sim/message_boxes.h"
#include "platform/sim/system.h"

namespace quillop::platform::sim {

struct World {
    Desktop desktop;
    System system;
    MessageBoxes boxes;
    Loop loop;
    platform::Services services{desktop, system, boxes, loop};

    World() = default;
    World(const World&) = delete;
    World& operator=(const World&) = delete;
};

} // namespace quillop::platform::sim
