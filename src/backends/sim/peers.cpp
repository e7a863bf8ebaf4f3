#include "backends/sim/peers.h"

#include "ui/button.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/menu.h"

namespace quillop::platform::sim {

namespace {

class FormPeer final : public ui::Peer {
public:
    FormPeer(Desktop& desktop, ui::Form& form)
        : desktop_(desktop), form_(form),
          handle_(desktop.AddWindow(form.Caption(), form.Visible())) {}
    ~FormPeer() override { desktop_.RemoveWindow(handle_); }

    void Sync(ui::Property property) override {
        if (property == ui::Property::Caption) {
            desktop_.SetTitle(handle_, form_.Caption());
        } else if (property == ui::Property::Visible) {
            desktop_.SetVisible(handle_, form_.Visible());
            if (form_.Visible()) {
                desktop_.SetActiveWindow(handle_);
                form_.Activated();
            }
        }
    }
    WindowHandle Handle() const override { return handle_; }

private:
    Desktop& desktop_;
    ui::Form& form_;
    WindowHandle handle_;
};

class ChildPeer final : public ui::Peer {
public:
    ChildPeer(Desktop& desktop, ui::Control& control)
        : desktop_(desktop), control_(control),
          handle_(desktop.AddChildWindow(control.Parent() ? control.Parent()->Handle() : 0,
                                         control.Caption())) {}

    ~ChildPeer() override { desktop_.RemoveWindow(handle_); }

    void Sync(ui::Property property) override {
        if (property == ui::Property::Caption) {
            desktop_.SetTitle(handle_, control_.Caption());
        }
    }
    WindowHandle Handle() const override { return handle_; }

private:
    Desktop& desktop_;
    ui::Control& control_;
    WindowHandle handle_;
};

class MenuPeer final : public ui::Peer {
public:
    void Sync(ui::Property) override {}
    WindowHandle Handle() const override { return 0; }
};

} // namespace

std::unique_ptr<ui::Peer> PeerFactory::CreateForm(ui::Form& form) {
    return std::make_unique<FormPeer>(desktop_, form);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateGroupBox(ui::GroupBox& box) {
    return std::make_unique<ChildPeer>(desktop_, box);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateLabel(ui::Label& label) {
    return std::make_unique<ChildPeer>(desktop_, label);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateButton(ui::Button& button) {
    return std::make_unique<ChildPeer>(desktop_, button);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateListBox(ui::ListBox& list) {
    return std::make_unique<ChildPeer>(desktop_, list);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateMenu(ui::Menu&) {
    return std::make_unique<MenuPeer>();
}

std::unique_ptr<ui::Peer> PeerFactory::CreateMenuItem(ui::MenuItem&) {
    return std::make_unique<MenuPeer>();
}

} // namespace quillop::platform::sim
