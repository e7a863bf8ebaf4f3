#pragma once
// Program start: the application and its main window over the given services.

#include "platform/services.h"
#include "ui/peer.h"

namespace quillop {

// Creates the application and the main window, shows it and runs the message loop until the
// main window has closed. peers is nullptr when the model alone is used (tests).
int RunQuillop(platform::Services& services, ui::PeerFactory* peers);

} // namespace quillop
