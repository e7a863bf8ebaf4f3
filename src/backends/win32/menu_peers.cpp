#include "menu_peers.h"

#include "form_peer.h"
#include "peer_factory.h"
#include "win32_services.h"

#include "ui/form.h"

#include <vector>

namespace quillop::platform::win32 {
namespace {

// Takes every entry out of a menu without destroying the sub-menus (their peers own them).
void Empty(HMENU menu) {
    while (GetMenuItemCount(menu) > 0)
        RemoveMenu(menu, 0, MF_BYPOSITION);
}

// `adding` is the peer being created, which its item does not know yet.
void Fill(HMENU menu, const std::vector<ui::MenuItem*>& items, MenuItemPeer* adding) {
    Empty(menu);
    for (ui::MenuItem* item : items) {
        auto* peer = adding && &adding->Item() == item
                         ? adding
                         : dynamic_cast<MenuItemPeer*>(item->GetPeer());
        if (!peer || !item->Visible())
            continue;
        if (item->IsSeparator()) {
            AppendMenuA(menu, MF_SEPARATOR, 0, nullptr);
            continue;
        }
        UINT flags = MF_STRING;
        if (item->Checked())
            flags |= MF_CHECKED;
        if (!item->Enabled())
            flags |= MF_GRAYED;
        UINT_PTR id = static_cast<UINT_PTR>(peer->CommandId());
        if (peer->Popup()) {
            flags |= MF_POPUP;
            id = reinterpret_cast<UINT_PTR>(peer->Popup());
        }
        AppendMenuA(menu, flags, id, item->Caption().c_str());
    }
}

HWND FormWindow(ui::Component& c) {
    return c.Owner() ? ToHwnd(c.Owner()->Handle()) : nullptr;
}

FormPeer* FormPeerOf(ui::Component& c) {
    return c.Owner() ? dynamic_cast<FormPeer*>(c.Owner()->GetPeer()) : nullptr;
}

} // namespace

MenuPeer::MenuPeer(ui::Menu& menu) : menu_(menu), form_(FormWindow(menu)), bar_(CreateMenu()) {
    if (FormPeer* form = FormPeerOf(menu); form && menu.Owner()->GetMenu() == &menu)
        form->AttachMenu(bar_.Get());
}

MenuPeer::~MenuPeer() {
    if (form_ && IsWindow(form_) && GetMenu(form_) == bar_.Get())
        SetMenu(form_, nullptr);
    Empty(bar_.Get());
}

void MenuPeer::Rebuild(MenuItemPeer* adding) {
    Fill(bar_.Get(), menu_.Items(), adding);
    if (form_)
        DrawMenuBar(form_);
}

MenuItemPeer::MenuItemPeer(PeerFactory& factory, ui::MenuItem& item)
    : factory_(factory), item_(item), id_(factory.AddCommand(item)) {
    if (!item.Items().empty())
        popup_.Reset(CreatePopupMenu());
    RebuildContainer(this);
}

MenuItemPeer::~MenuItemPeer() {
    factory_.RemoveCommand(id_);
    if (popup_)
        Empty(popup_.Get());
}

void MenuItemPeer::Rebuild(MenuItemPeer* adding) {
    if (popup_)
        Fill(popup_.Get(), item_.Items(), adding);
}

void MenuItemPeer::RebuildContainer(MenuItemPeer* adding) {
    if (ui::MenuItem* parent = item_.ParentItem()) {
        if (auto* peer = dynamic_cast<MenuItemPeer*>(parent->GetPeer()))
            peer->Rebuild(adding);
    } else if (auto* peer = dynamic_cast<MenuPeer*>(item_.GetMenu().GetPeer())) {
        peer->Rebuild(adding);
    }
}

void MenuItemPeer::Sync(ui::Property) {
    RebuildContainer(nullptr);
}

} // namespace quillop::platform::win32
