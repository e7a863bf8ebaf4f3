#pragma once
// One simulated machine: every sim service and the Services bundle that points at them.

#include "backends/sim/desktop.h"
#include "backends/sim/loop.h"
#include "backends/sim/message_boxes.h"
#include "backends/sim/system.h"
#include "platform/services.h"

namespace quillop::platform::sim {

struct World : platform::OwnedServices<Desktop, System, MessageBoxes, Loop> {};

} // namespace quillop::platform::sim
