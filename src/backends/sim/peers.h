#pragma once
// Peers that put a realised form on the sim desktop: the form becomes a top-level window
// titled with its caption (so it is enumerated like any other window), its controls become
// child windows with handles, menus have no window. Showing the form activates it.
// A form has a surface of its client size (a software canvas's pixels, button face at first);
// its graphic controls paint there: invalidation collects an area that PaintInvalid paints
// the way WM_PAINT does, and a control's immediate repaint draws on it at once.

#include "backends/sim/desktop.h"
#include "backends/sim/software_canvas.h"
#include "ui/form.h"
#include "ui/graphic_control.h"
#include "ui/peer.h"

namespace quillop::platform::sim {

class FormPeer final : public ui::Peer {
public:
    FormPeer(Desktop& desktop, ui::Form& form);
    ~FormPeer() override;

    void Sync(ui::Property property) override;
    WindowHandle Handle() const override { return handle_; }

    Surface& ClientSurface() { return surface_; }
    // The bounding box of what was invalidated since the last paint; empty when nothing.
    const platform::Rect& InvalidArea() const { return invalid_; }
    int Invalidations() const { return invalidations_; }
    void Invalidate(const platform::Rect& area);
    // The window system's paint: the form's paint (PaintControls) over the invalid area.
    void PaintInvalid();
    // WM_QUERYNEWPALETTE posts received.
    int PaletteQueries() const { return palette_queries_; }
    void QueryNewPalette() { ++palette_queries_; }
    bool Focused() const;

private:
    void ResizeSurface();

    Desktop& desktop_;
    ui::Form& form_;
    WindowHandle handle_;
    Surface surface_;
    platform::Rect invalid_;
    int invalidations_ = 0;
    int palette_queries_ = 0;
};

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
    std::unique_ptr<ui::Peer> CreateGraphicControl(ui::GraphicControl& control) override;

private:
    Desktop& desktop_;
};

} // namespace quillop::platform::sim
