// Peers of the menu bar and its items. Win32 menus have no hidden items, so a menu's native
// contents are rebuilt from the model whenever one of its items changes.
#pragma once

#include "ui/menu.h"
#include "ui/peer.h"

#include "win_handles.h"
#include <windows.h>

namespace quillop::platform::win32 {

class PeerFactory;
class MenuItemPeer;

class MenuPeer final : public ui::Peer {
public:
    explicit MenuPeer(ui::Menu& menu);
    ~MenuPeer() override;
    void Sync(ui::Property) override {}
    WindowHandle Handle() const override { return 0; }

    HMENU Native() const { return bar_.Get(); }
    void Rebuild(MenuItemPeer* adding);

private:
    ui::Menu& menu_;
    HWND form_ = nullptr;
    OwnedMenu bar_;
};

class MenuItemPeer final : public ui::Peer {
public:
    MenuItemPeer(PeerFactory& factory, ui::MenuItem& item);
    ~MenuItemPeer() override;
    void Sync(ui::Property property) override;
    WindowHandle Handle() const override { return 0; }

    int CommandId() const { return id_; }
    HMENU Popup() const { return popup_.Get(); }
    ui::MenuItem& Item() const { return item_; }
    void Rebuild(MenuItemPeer* adding);

private:
    void RebuildContainer(MenuItemPeer* adding);

    PeerFactory& factory_;
    ui::MenuItem& item_;
    int id_;
    OwnedMenu popup_; // for an item with sub-items
};

} // namespace quillop::platform::win32
