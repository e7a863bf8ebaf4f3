// The peer of a form: a top-level window with a menu bar whose children are the form's controls.
#pragma once

#include "ui/form.h"
#include "ui/peer.h"

#include "base_window.h"
#include <windows.h>

namespace quillop::platform::win32 {

class PeerFactory;

inline constexpr const char* kFormClass = "QuillopForm";

class FormPeer final : public ui::Peer, public BaseWindow {
public:
    FormPeer(PeerFactory& factory, ui::Form& form);
    ~FormPeer() override;

    void Sync(ui::Property property) override;
    WindowHandle Handle() const override;

    // Orders the child windows by tab order (Tab follows the z-order), frames at the bottom.
    void ArrangeTabOrder();
    // Sets the client area to the model's client size (the menu bar is outside it).
    void ApplyClientSize();
    // Puts the menu bar on the window (or takes it off with nullptr), keeping the client size.
    void AttachMenu(HMENU menu);

protected:
    LRESULT HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) override;

private:
    void Activate(WPARAM wparam, LPARAM lparam);
    void ReportClientSize();
    void ReportBounds();
    // The form's paint (background and graphic controls) into the given context, or into
    // BeginPaint's when there is none.
    void PaintGraphics(HDC given);
    void MouseOverGraphics(int x, int y);
    bool RealiseGraphicsPalette();

    PeerFactory& factory_;
    ui::Form& form_;
    bool sizing_from_model_ = false;
    bool activated_ = false;
    bool destroying_ = false;
    HWND focus_ = nullptr;
};

} // namespace quillop::platform::win32
