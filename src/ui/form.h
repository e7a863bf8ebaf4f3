#pragma once
// A top-level window: client size, scroll bars, a menu, the fixed component list and the
// lifecycle events.
//
// Lifecycle without a peer (logic tests): Show() runs OnShow, makes the form visible and
// then runs OnActivate. With a peer, Show() runs OnShow and makes the form visible; the
// peer reports activation through Activated() when the window system activates the window.
// Setting the client size runs OnResize when the size changed; the peer reports sizes the
// user (or the window system) makes through ClientResized().

#include "ui/control.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace quillop::ui {

class Application;
class Menu;

// Sizeable: a main window. Dialog: a fixed dialog border, a caption without buttons and
// without a system menu.
enum class BorderStyle { Sizeable, Dialog };

class Form : public Control {
public:
    explicit Form(std::string name);
    ~Form() override;

    int ClientWidth() const { return client_width_; }
    int ClientHeight() const { return client_height_; }
    void SetClientWidth(int width);
    void SetClientHeight(int height);

    bool HorzScrollBarVisible() const { return horz_scroll_bar_; }
    bool VertScrollBarVisible() const { return vert_scroll_bar_; }
    void SetHorzScrollBarVisible(bool visible);
    void SetVertScrollBarVisible(bool visible);

    Menu* GetMenu() const { return menu_; }
    void SetMenu(Menu* menu) { menu_ = menu; }

    // Appends a component to the component list; the order is fixed for the form's life.
    void AddComponent(Component& component);
    const std::vector<Component*>& Components() const { return components_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }

    std::function<void(Component& sender)> OnShow;
    std::function<void(Component& sender)> OnActivate;
    std::function<void(Component& sender)> OnResize;
    std::function<void(Component& sender, bool& can_close)> OnCloseQuery;
    // With KeyPreview on, the form's key handler sees keys before the focused control; set
    // key to 0 to consume it.
    std::function<void(Component& sender, std::uint16_t& key, std::uint16_t shift)> OnKeyDown;

    BorderStyle GetBorderStyle() const { return border_style_; }
    void SetBorderStyle(BorderStyle style) { border_style_ = style; }
    // Centred on the screen each time it is shown.
    bool CenteredOnScreen() const { return centered_; }
    void SetCenteredOnScreen(bool on) { centered_ = on; }
    bool KeyPreview() const { return key_preview_; }
    void SetKeyPreview(bool on);

    // Creates the form's peer and then every component's, in component-list order.
    void Realise(PeerFactory& factory);

    // Runs OnShow, then shows the window (and activates it when there is no peer).
    void Show();
    // Asks OnCloseQuery; when closing is allowed, hides the form and reports it closed. A
    // modal form closes by ending its modal showing.
    void Close();
    // Shows the form modally: the application's main form is disabled, the loop runs until
    // the form closes, then the main form is enabled again and the form hidden, so activation
    // returns to the main form. Where the loop cannot wait (a simulation), it returns while
    // the form is still shown, and the modal showing ends when the form closes.
    void ShowModal(Application& app);
    bool Modal() const { return modal_owner_ != nullptr || modal_; }
    bool IsClosed() const { return closed_; }
    // Called once when the form has closed (the application ends its loop here).
    void SetClosedHook(std::function<void()> hook) { closed_hook_ = std::move(hook); }

    // Entry points from the peer (and tests).
    void Shown();
    void Activated();
    void ClientResized(int width, int height);
    // A key the form sees first (KeyPreview): runs OnKeyDown; returns the key left over.
    std::uint16_t KeyDown(std::uint16_t key, std::uint16_t shift);
    // Runs OnCloseQuery and returns whether the form may close.
    bool CloseRequested();

protected:
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;

private:
    int client_width_ = 0;
    int client_height_ = 0;
    bool horz_scroll_bar_ = true;
    bool vert_scroll_bar_ = true;
    Menu* menu_ = nullptr;
    std::vector<Component*> components_;
    void EndModal();

    bool closed_ = false;
    std::function<void()> closed_hook_;
    BorderStyle border_style_ = BorderStyle::Sizeable;
    bool centered_ = false;
    bool key_preview_ = false;
    bool modal_ = false;          // in a modal showing
    bool modal_waiting_ = false;  // the loop returned before the form closed
    Form* modal_owner_ = nullptr; // the form disabled for the modal showing
};

} // namespace quillop::ui
