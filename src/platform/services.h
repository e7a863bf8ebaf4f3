#pragma once
// Every platform service the program uses, handed to the application at start.

#include "platform/desktop.h"
#include "platform/files.h"
#include "platform/loop.h"
#include "platform/message_boxes.h"
#include "platform/profile.h"
#include "platform/registry.h"
#include "platform/shell.h"
#include "platform/system.h"

namespace quillop::platform {

struct Services {
    Desktop& desktop;
    System& system;
    MessageBoxes& boxes;
    Loop& loop;
    Profile& profile;
    Registry& registry;
    Files& files;
    Shell& shell;
};

} // namespace quillop::platform
