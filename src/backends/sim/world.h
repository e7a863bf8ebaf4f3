#pragma once
// One simulated machine: every sim service and the Services bundle that points at them.

#include "backends/sim/desktop.h"
#include "backends/sim/files.h"
#include "backends/sim/journal.h"
#include "backends/sim/loop.h"
#include "backends/sim/message_boxes.h"
#include "backends/sim/profile.h"
#include "backends/sim/registry.h"
#include "backends/sim/shell.h"
#include "backends/sim/system.h"
#include "platform/services.h"

#include <string>

namespace quillop::platform::sim {

struct World {
    // The calls of files, profile, registry and shell in one order (the desktop keeps its own).
    CallLog log;
    Faults faults;
    Desktop desktop;
    System system;
    MessageBoxes boxes;
    Loop loop{system};
    Files files{log, faults};
    Profile profile{files, log, faults};
    Registry registry{log, faults};
    Shell shell{files, log, faults};
    platform::Services services{desktop, system, boxes, loop, profile, registry, files, shell};

    // A fresh machine: C:\windows with notepad.exe, the executable at its module path (see
    // sim::System), HKEY_LOCAL_MACHINE and HKEY_CURRENT_USER with
    // "Software\Microsoft\Windows\CurrentVersion\Run", all access granted.
    World();
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Moves the executable: the module path and a file there (directories created).
    void SetModulePath(const std::string& path);
};

} // namespace quillop::platform::sim
