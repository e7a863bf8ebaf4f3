// Peers of the child controls: group box, label, push button (with picture) and list box.
// All are native children of the form's window, placed at their model position plus the
// positions of the model parents between them and the form.
#pragma once

#include "ui/button.h"
#include "ui/graphic_control.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/peer.h"

#include "win_handles.h"
#include <windows.h>

namespace quillop::platform::win32 {

class PeerFactory;

class ControlPeer : public ui::Peer {
public:
    ControlPeer(const ControlPeer&) = delete;
    ControlPeer& operator=(const ControlPeer&) = delete;
    ~ControlPeer() override;

    void Sync(ui::Property property) override;
    WindowHandle Handle() const override;
    HWND Window() const { return window_.Get(); }
    ui::Control& Model() const { return model_; }

    // A WM_COMMAND notification from this control.
    virtual void Command(int /*code*/) {}
    // WM_DRAWITEM for an owner-drawn control.
    virtual void Draw(const DRAWITEMSTRUCT& /*item*/) {}

    // The peer behind a native child window, or nullptr.
    static ControlPeer* FromWindow(HWND window);

protected:
    ControlPeer(PeerFactory& factory, ui::Control& model, const char* window_class, DWORD style,
                DWORD ex_style);
    // Called after the common properties have been applied.
    virtual void Changed(ui::Property /*property*/) {}

    void ApplyTabStop();

    PeerFactory& factory_;
    bool tab_stop_ = true;

private:
    void Place();
    void ApplyFont();

    ui::Control& model_;
    OwnedWindow window_;
    OwnedFont font_;
};

class GroupBoxPeer final : public ControlPeer {
public:
    GroupBoxPeer(PeerFactory& factory, ui::GroupBox& box);
};

class LabelPeer final : public ControlPeer {
public:
    LabelPeer(PeerFactory& factory, ui::Label& label);
};

class ButtonPeer final : public ControlPeer {
public:
    ButtonPeer(PeerFactory& factory, ui::Button& button);
    void Command(int code) override;
    void Draw(const DRAWITEMSTRUCT& item) override;

private:
    ui::Button& button_;
    OwnedImageList images_;
};

// A control without a window: paints on the form's client area through GdiCanvas.
class GraphicControlPeer final : public ui::GraphicPeer {
public:
    explicit GraphicControlPeer(ui::GraphicControl& control) : control_(control) {}
    void InvalidateArea(const platform::Rect& area) override;
    std::unique_ptr<platform::Canvas> ParentSurface() override;
    bool ParentFocused() const override;
    void PostQueryNewPalette() override;

private:
    HWND FormWindow() const;
    ui::GraphicControl& control_;
};

class ListBoxPeer final : public ControlPeer {
public:
    ListBoxPeer(PeerFactory& factory, ui::ListBox& list);
    ~ListBoxPeer() override;
    void Command(int code) override;

private:
    void Changed(ui::Property property) override;
    // The native list's selection is the truth (LB_SETCURSEL from outside sends no notice).
    void ReadSelection();
    static LRESULT CALLBACK Subclass(HWND window, UINT msg, WPARAM wparam, LPARAM lparam,
                                     UINT_PTR id, DWORD_PTR data);

    ui::ListBox& list_;
};

} // namespace quillop::platform::win32
