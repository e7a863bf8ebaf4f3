#pragma once

#include "ui/control.h"

namespace quillop::ui {

// A frame around other controls, with an optional caption.
class GroupBox : public Control {
public:
    using Control::Control;

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;
};

} // namespace quillop::ui
