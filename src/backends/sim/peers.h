#pragma once
// Peers that put a realised form on the sim desktop: the form becomes a top-level window
// titled with its caption (so it is enumerated like any other window), its controls become
// child windows with handles, menus have no window. Showing the form activates it.

#include "backends/sim/desktop.h"
#include "ui/peer.h"

namespace quillop::platform::sim {

class PeerFactory final : public ui::PeerFactory {
public:
    explicit PeerFactory(Desktop& desktop) : desktop_(desktop) {}

    std::unique_ptr<ui::Peer> CreateForm(ui::Form& form) override;
    std::unique_ptr<ui::Peer> CreateGroupBox(ui::GroupBox& box) override;
    std::unique_ptr<ui::Peer> CreateLabel(ui::Label& label) override;
    std::unique_ptr<ui::Peer> CreateButton(ui::Button& button) override;
    std::unique_ptr<ui::Peer> CreateListBox(ui::ListBox& list) override;
    std::unique_ptr<ui::Peer> CreateMenu(ui::Menu& menu) override;
    std::unique_ptr<ui::Peer> CreateMenuItem(ui::MenuItem& item) override;

private:
    Desktop& desktop_;
};

} // namespace quillop::platform::sim
