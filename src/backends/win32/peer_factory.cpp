#include "peer_factory.h"

#include "control_peers.h"
#include "form_peer.h"
#include "menu_peers.h"

#include "ui/menu.h"

#include <commctrl.h>

namespace quillop::platform::win32 {

PeerFactory::PeerFactory() {
    INITCOMMONCONTROLSEX init{sizeof init, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
    InitCommonControlsEx(&init);
}

void PeerFactory::Attach(ui::Application& app) {
    app_ = &app;
}

void PeerFactory::Dispatch(const std::function<void()>& handler) {
    if (app_)
        app_->Dispatch(handler);
    else
        handler();
}

int PeerFactory::AddCommand(ui::MenuItem& item) {
    int id = next_command_id_++;
    commands_[id] = &item;
    return id;
}

bool PeerFactory::RunCommand(int id) {
    auto it = commands_.find(id);
    if (it == commands_.end())
        return false;
    ui::MenuItem* item = it->second;
    Dispatch([item] { item->Click(); });
    return true;
}

std::unique_ptr<ui::Peer> PeerFactory::CreateForm(ui::Form& form) {
    return std::make_unique<FormPeer>(*this, form);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateGroupBox(ui::GroupBox& box) {
    return std::make_unique<GroupBoxPeer>(*this, box);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateLabel(ui::Label& label) {
    return std::make_unique<LabelPeer>(*this, label);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateButton(ui::Button& button) {
    return std::make_unique<ButtonPeer>(*this, button);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateListBox(ui::ListBox& list) {
    return std::make_unique<ListBoxPeer>(*this, list);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateGraphicControl(ui::GraphicControl& control) {
    return std::make_unique<GraphicControlPeer>(control);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateMenu(ui::Menu& menu) {
    return std::make_unique<MenuPeer>(menu);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateMenuItem(ui::MenuItem& item) {
    return std::make_unique<MenuItemPeer>(*this, item);
}

} // namespace quillop::platform::win32
