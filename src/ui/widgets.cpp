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

void Bevel::Paint(platform::Canvas& canvas) {
    constexpr platform::ColorRef kHighlight = platform::kSystemColor | 20; // COLOR_BTNHIGHLIGHT
    constexpr platform::ColorRef kShadow = platform::kSystemColor | 16;    // COLOR_BTNSHADOW
    const int w = Width();
    const int h = Height();
    if (w < 4 || h < 4) {
        return;
    }
    auto ring = [&](int inset, platform::ColorRef lit, platform::ColorRef shaded) {
        const int l = inset, t = inset, r = w - 1 - inset, b = h - 1 - inset;
        canvas.FillRect({l, t, r, t + 1}, lit);        // top
        canvas.FillRect({l, t, l + 1, b}, lit);        // left
        canvas.FillRect({l, b, r + 1, b + 1}, shaded); // bottom
        canvas.FillRect({r, t, r + 1, b}, shaded);     // right
    };
    ring(0, kHighlight, kShadow);
    ring(1, kShadow, kHighlight);
}

} // namespace quillop::ui
