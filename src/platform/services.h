#pragma once
// Every platform service the program uses, handed to the application at start.

#include "platform/desktop.h"
#include "platform/loop.h"
#include "platform/message_boxes.h"
#include "platform/system.h"

namespace quillop::platform {

struct Services {
    Desktop& desktop;
    System& system;
    MessageBoxes& boxes;
    Loop& loop;
};

} // namespace quillop::platform
