#include "ui/form.h"

#include "ui/application.h"
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
    if (modal_) {
        // The modal loop sees closed_ and ends the showing; without one, it ends here.
        if (modal_waiting_) {
            EndModal();
        }
        return;
    }
    SetVisible(false);
    if (closed_hook_) {
        closed_hook_();
    }
}

void Form::ShowModal(Application& app) {
    if (modal_) {
        return;
    }
    if (app.Peers() != nullptr && !Realised()) {
        Realise(*app.Peers());
    }
    closed_ = false;
    modal_ = true;
    modal_waiting_ = false;
    Form* owner = app.MainForm();
    if (owner != nullptr && owner != this && owner->Enabled()) {
        modal_owner_ = owner;
        owner->SetEnabled(false);
    }
    Show();
    if (closed_ || app.Services().loop.RunUntil([this] { return closed_; })) {
        EndModal();
    } else {
        modal_waiting_ = true;
    }
}

void Form::EndModal() {
    modal_ = false;
    modal_waiting_ = false;
    Form* owner = modal_owner_;
    modal_owner_ = nullptr;
    // The owner is enabled before this form hides, so the window system hands activation back
    // to it; without a window system the model does that itself.
    if (owner != nullptr) {
        owner->SetEnabled(true);
    }
    SetVisible(false);
    if (closed_hook_) {
        closed_hook_();
    }
    if (owner != nullptr && owner->GetPeer() == nullptr) {
        owner->Activated();
    }
}

void Form::SetKeyPreview(bool on) {
    if (key_preview_ == on) {
        return;
    }
    key_preview_ = on;
    Sync(Property::KeyPreview);
}

std::uint16_t Form::KeyDown(std::uint16_t key, std::uint16_t shift) {
    if (key_preview_ && OnKeyDown) {
        OnKeyDown(*this, key, shift);
    }
    return key;
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
