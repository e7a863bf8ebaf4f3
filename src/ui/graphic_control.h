#pragma once
// A control without a window of its own: it paints on its parent's surface (the client area
// of the form it sits on), inside its own bounds.
//
// The parent's paint is a request any control can make into a given surface: PaintControls
// fills the background with the form's colour where no opaque graphic control covers it, then
// paints every graphic control that meets the surface's clip box, in component order, each
// with the surface's origin at the control's top-left corner and clipped to its bounds. The
// Win32 form peer runs it from WM_ERASEBKGND / WM_PAINT; a control's immediate repaint runs it
// into an off-screen surface. Labels and pictures can be graphic controls the same way.

#include "platform/canvas.h"
#include "ui/control.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace quillop::ui {

class GraphicControl;

// What a graphic control needs of the window system.
class GraphicPeer : public Peer {
public:
    void Sync(Property) override {}
    platform::WindowHandle Handle() const override { return 0; }
    // Marks an area of the parent's surface (surface coordinates) for the next paint.
    virtual void InvalidateArea(const platform::Rect& area) = 0;
    // The parent's surface (GetDC of its window), released with the result; nullptr when the
    // parent has no surface now.
    virtual std::unique_ptr<platform::Canvas> ParentSurface() = 0;
    // The parent window exists and has the input focus.
    virtual bool ParentFocused() const = 0;
    // Posts WM_QUERYNEWPALETTE (0, 0) to the parent window.
    virtual void PostQueryNewPalette() = 0;
};

class GraphicControl : public Control {
public:
    GraphicControl(std::string name, Control* parent);

    // The control paints every pixel of its area: the parent paints no background behind it.
    bool ControlOpaque() const { return control_opaque_; }
    bool DesignMode() const { return design_mode_; }
    void SetDesignMode(bool on) { design_mode_ = on; }

    // Position of the control's top-left corner on the parent's surface (the form's client
    // area): its own position plus those of the parents between it and the form.
    platform::Point SurfaceOrigin() const;
    platform::Rect SurfaceBounds() const;

    // Asks for the control's area to be painted again.
    void Invalidate();
    // Paints the control's area at once through the parent's paint (overridable).
    virtual void Repaint();

    // The paint message from the parent: the surface's origin is the control's top-left
    // corner and its clip is inside the control. The default runs Paint.
    virtual void PaintMessage(platform::Canvas& surface) { Paint(surface); }
    // The paint step; nothing by default.
    virtual void Paint(platform::Canvas&) {}
    // The mouse moved to (x, y), control coordinates (WM_MOUSEMOVE over the control).
    virtual void MouseMove(std::int16_t /*x*/, std::int16_t /*y*/) {}
    // The palette (0x00RRGGBB colours) the parent realises for this control; nullptr: none.
    virtual const std::vector<std::uint32_t>* GetPalette() const { return nullptr; }

    GraphicPeer* GetGraphicPeer() const;

protected:
    void SetControlOpaque(bool opaque) { control_opaque_ = opaque; }
    std::unique_ptr<Peer> MakePeer(PeerFactory& factory) override;
    void PropertyChanging(Property property) override;
    void PropertyChanged(Property property) override;

private:
    bool control_opaque_ = false;
    bool design_mode_ = false;
};

// The parent's paint into a surface whose origin is the form's client top-left.
void PaintControls(Control& form, platform::Canvas& surface);

// The graphic controls on a form's surface, in paint order.
std::vector<GraphicControl*> GraphicControlsOf(Control& form);

} // namespace quillop::ui
