#include "ui/menu.h"

namespace quillop::ui {

std::unique_ptr<Peer> Menu::MakePeer(PeerFactory& factory) {
    return factory.CreateMenu(*this);
}

MenuItem::MenuItem(std::string name, Menu& menu, std::string caption)
    : Component(std::move(name)), menu_(&menu), caption_(std::move(caption)) {
    menu.items_.push_back(this);
}

MenuItem::MenuItem(std::string name, MenuItem& parent, std::string caption)
    : Component(std::move(name)), menu_(parent.menu_), parent_(&parent),
      caption_(std::move(caption)) {
    parent.items_.push_back(this);
}

std::unique_ptr<Peer> MenuItem::MakePeer(PeerFactory& factory) {
    return factory.CreateMenuItem(*this);
}

Component* MenuItem::RealiseFirst() const {
    if (parent_ != nullptr) {
        return parent_;
    }
    return menu_;
}

void MenuItem::SetCaption(std::string caption) {
    if (caption_ == caption) {
        return;
    }
    caption_ = std::move(caption);
    Sync(Property::Caption);
}

void MenuItem::SetChecked(bool checked) {
    if (checked_ == checked) {
        return;
    }
    checked_ = checked;
    Sync(Property::Checked);
}

void MenuItem::SetVisible(bool visible) {
    if (visible_ == visible) {
        return;
    }
    visible_ = visible;
    Sync(Property::Visible);
}

void MenuItem::SetEnabled(bool enabled) {
    if (enabled_ == enabled) {
        return;
    }
    enabled_ = enabled;
    Sync(Property::Enabled);
}

void MenuItem::Click() {
    if (OnClick) {
        OnClick(*this);
    }
}

} // namespace quillop::ui
