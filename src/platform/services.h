#pragma once
// Every platform service the program uses, handed to the application at start.

#include "platform/desktop.h"
#include "platform/loop.h"
#include "platform/message_boxes.h"
#include "platform/system.h"

#include <type_traits>

namespace quillop::platform {

struct Services {
    Desktop& desktop;
    System& system;
    MessageBoxes& boxes;
    Loop& loop;
};

// One implementation of every service, owned together, and the Services bundle that points at
// them; each backend names its classes here, so a new service is added in one place.
template <class DesktopImpl, class SystemImpl, class BoxesImpl, class LoopImpl>
struct OwnedServices {
    DesktopImpl desktop;
    SystemImpl system;
    BoxesImpl boxes;
    // A loop that keeps time by the system's clock (the sim's virtual one) is made with it.
    LoopImpl loop = MakeLoop(system);
    Services services{desktop, system, boxes, loop};

    OwnedServices() = default;

    static LoopImpl MakeLoop(SystemImpl& clock) {
        if constexpr (std::is_constructible_v<LoopImpl, SystemImpl&>) {
            return LoopImpl(clock);
        } else {
            return LoopImpl();
        }
    }
    // services points into this object.
    OwnedServices(const OwnedServices&) = delete;
    OwnedServices& operator=(const OwnedServices&) = delete;
};

} // namespace quillop::platform
