// Creates the Win32 peers of the widget model and routes native notifications back to it.
#pragma once

#include "ui/application.h"
#include "ui/peer.h"

#include <functional>
#include <map>
#include <windows.h>

namespace quillop::platform::win32 {

class PeerFactory final : public ui::PeerFactory {
public:
    PeerFactory();

    // The application whose Dispatch runs every handler a native notification triggers.
    void Attach(ui::Application& app) override;

    std::unique_ptr<ui::Peer> CreateForm(ui::Form& form) override;
    std::unique_ptr<ui::Peer> CreateGroupBox(ui::GroupBox& box) override;
    std::unique_ptr<ui::Peer> CreateLabel(ui::Label& label) override;
    std::unique_ptr<ui::Peer> CreateButton(ui::Button& button) override;
    std::unique_ptr<ui::Peer> CreateListBox(ui::ListBox& list) override;
    std::unique_ptr<ui::Peer> CreateMenu(ui::Menu& menu) override;
    std::unique_ptr<ui::Peer> CreateMenuItem(ui::MenuItem& item) override;
    std::unique_ptr<ui::Peer> CreateGraphicControl(ui::GraphicControl& control) override;

    // Runs a handler the way every handler runs: errors end up in the application's error box.
    void Dispatch(const std::function<void()>& handler);

    // Control IDs for child windows, command IDs for menu items.
    int NextControlId() { return next_control_id_++; }
    int AddCommand(ui::MenuItem& item);
    void RemoveCommand(int id) { commands_.erase(id); }
    // Runs the menu item of a WM_COMMAND; false when the ID is not one of ours.
    bool RunCommand(int id);

private:
    ui::Application* app_ = nullptr;
    int next_control_id_ = 100;
    int next_command_id_ = 1000;
    std::map<int, ui::MenuItem*> commands_;
};

} // namespace quillop::platform::win32
