#pragma once

#include "ui/control.h"

namespace quillop::ui {

// A raised frame drawn inside the control's bounds; it takes no input of its own.
class Bevel : public Control {
public:
    using Control::Control;

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;
};

} // namespace quillop::ui
