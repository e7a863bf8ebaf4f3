// Peer creation and entry points of the small widgets.
#include "ui/button.h"
#include "ui/group_box.h"
#include "ui/label.h"

namespace quillop::ui {

std::unique_ptr<Peer> GroupBox::MakePeer(PeerFactory& factory) {
    return factory.CreateGroupBox(*this);
}

std::unique_ptr<Peer> Label::MakePeer(PeerFactory& factory) {
    return factory.CreateLabel(*this);
}

std::unique_ptr<Peer> Button::MakePeer(PeerFactory& factory) {
    return factory.CreateButton(*this);
}

void Button::Click() {
    if (OnClick) {
        OnClick(*this);
    }
}

} // namespace quillop::ui
