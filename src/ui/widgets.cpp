// Peer creation and entry points of the small widgets.
#include "ui/bevel.h"
#include "ui/button.h"
#include "ui/group_box.h"
#include "ui/image.h"
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

void Label::Click() {
    if (OnClick) {
        OnClick(*this);
    }
}

std::unique_ptr<Peer> Image::MakePeer(PeerFactory& factory) {
    return factory.CreateImage(*this);
}

void Image::SetPicture(std::string resource, PictureKind kind) {
    if (resource_ == resource && kind_ == kind) {
        return;
    }
    resource_ = std::move(resource);
    kind_ = kind;
    Sync(Property::Picture);
}

void Image::SetStretch(bool on) {
    if (stretch_ == on) {
        return;
    }
    stretch_ = on;
    Sync(Property::Picture);
}

void Image::Click() {
    if (OnClick) {
        OnClick(*this);
    }
}

std::unique_ptr<Peer> Bevel::MakePeer(PeerFactory& factory) {
    return factory.CreateBevel(*this);
}

} // namespace quillop::ui
