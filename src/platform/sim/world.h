#pragma once
// One simulated machine: every sim service and the Services bundle that points at them.

#include "platform/services.h"
#include "platform/sim/desktop.h"
#include "platform/sim/loop.h"
#include "platform/sim/message_boxes.h"
#include "platform/sim/system.h"

namespace quillop::platform::sim {

struct World : platform::OwnedServices<Desktop, System, MessageBoxes, Loop> {};

} // namespace quillop::platform::sim
