#include "ui/form.h"

#include "ui/menu.h"

namespace quillop::ui {

Form::Form(std::string name) : Control(std::move(name), nullptr) {
    SetVisible(false);
}

Form::~Form() = default;

std::unique_ptr<Peer> Form::MakePeer(PeerFactory& factory) {
    return factory.CreateForm(*this);
}

void Form::SetClientWidth(int width) {
    if (client_width_ == width) {
        return;
    }
    client_width_ = width;
    Sync(Property::ClientSize);
    if (OnResize) {
        OnResize(*this);
    }
}

void Form::SetClientHeight(int height) {
    if (client_height_ == height) {
        return;
    }
    client_height_ = height;
    Sync(Property::ClientSize);
    if (OnResize) {
        OnResize(*this);
    }
}

void Form::SetHorzScrollBarVisible(bool visible) {
    if (horz_scroll_bar_ == visible) {
        return;
    }
    horz_scroll_bar_ = visible;
    Sync(Property::ScrollBars);
}

void Form::SetVertScrollBarVisible(bool visible) {
    if (vert_scroll_bar_ == visible) {
        return;
    }
    vert_scroll_bar_ = visible;
    Sync(Property::ScrollBars);
}

void Form::AddComponent(Component& component) {
    component.owner_ = this;
    component.index_ = ComponentCount();
    components_.push_back(&component);
}

void Form::Realise(PeerFactory& factory) {
    Component::Realise(factory);
    for (Component* c : components_) {
        c->Realise(factory);
    }
}

void Form::Show() {
    Shown();
    SetVisible(true);
    if (GetPeer() == nullptr) {
        Activated();
    }
}

void Form::Close() {
    if (closed_ || !CloseRequested()) {
        return;
    }
    closed_ = true;
    SetVisible(false);
    if (closed_hook_) {
        closed_hook_();
    }
}

void Form::Shown() {
    if (OnShow) {
        OnShow(*this);
    }
}

void Form::Activated() {
    if (OnActivate) {
        OnActivate(*this);
    }
}

void Form::ClientResized(int width, int height) {
    if (client_width_ == width && client_height_ == height) {
        return;
    }
    client_width_ = width;
    client_height_ = height;
    if (OnResize) {
        OnResize(*this);
    }
}

bool Form::CloseRequested() {
    bool can_close = true;
    if (OnCloseQuery) {
        OnCloseQuery(*this, can_close);
    }
    return can_close;
}

} // namespace quillop::ui
