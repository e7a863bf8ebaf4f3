#include "ui/graphic_control.h"

namespace quillop::ui {
namespace {

void Collect(Control& parent, std::vector<GraphicControl*>& out) {
    for (Control* child : parent.Children()) {
        if (auto* graphic = dynamic_cast<GraphicControl*>(child)) {
            out.push_back(graphic);
        }
        Collect(*child, out);
    }
}

// Fills `area` minus the rectangles in `holes[from...]`, splitting around each hole.
void FillAround(platform::Canvas& surface, const platform::Rect& area,
                const std::vector<platform::Rect>& holes, size_t from, platform::ColorRef color) {
    if (area.IsEmpty()) {
        return;
    }
    for (size_t i = from; i < holes.size(); ++i) {
        const platform::Rect h = platform::intersect_rect(area, holes[i]);
        if (h.IsEmpty()) {
            continue;
        }
        FillAround(surface, {area.left, area.top, area.right, h.top}, holes, i + 1, color);
        FillAround(surface, {area.left, h.bottom, area.right, area.bottom}, holes, i + 1, color);
        FillAround(surface, {area.left, h.top, h.left, h.bottom}, holes, i + 1, color);
        FillAround(surface, {h.right, h.top, area.right, h.bottom}, holes, i + 1, color);
        return;
    }
    surface.FillRect(area, color);
}

} // namespace

GraphicControl::GraphicControl(std::string name, Control* parent)
    : Control(std::move(name), parent) {}

std::unique_ptr<Peer> GraphicControl::MakePeer(PeerFactory& factory) {
    return factory.CreateGraphicControl(*this);
}

GraphicPeer* GraphicControl::GetGraphicPeer() const {
    return dynamic_cast<GraphicPeer*>(GetPeer());
}

platform::Point GraphicControl::SurfaceOrigin() const {
    platform::Point p{Left(), Top()};
    for (const Control* c = Parent(); c && c->Parent(); c = c->Parent()) {
        p.x += c->Left();
        p.y += c->Top();
    }
    return p;
}

platform::Rect GraphicControl::SurfaceBounds() const {
    const platform::Point o = SurfaceOrigin();
    return {o.x, o.y, o.x + Width(), o.y + Height()};
}

void GraphicControl::Invalidate() {
    if (GraphicPeer* peer = GetGraphicPeer()) {
        peer->InvalidateArea(SurfaceBounds());
    }
}

void GraphicControl::Repaint() {
    GraphicPeer* peer = GetGraphicPeer();
    if (!peer || Parent() == nullptr) {
        return;
    }
    std::unique_ptr<platform::Canvas> surface = peer->ParentSurface();
    if (!surface) {
        return;
    }
    surface->IntersectClipRect(SurfaceBounds());
    Control* form = Parent();
    while (form->Parent()) {
        form = form->Parent();
    }
    PaintControls(*form, *surface);
}

void GraphicControl::PropertyChanging(Property property) {
    if (property == Property::Bounds) {
        Invalidate();
    }
}

void GraphicControl::PropertyChanged(Property property) {
    if (property == Property::Bounds || property == Property::Color) {
        Invalidate();
    }
}

std::vector<GraphicControl*> GraphicControlsOf(Control& form) {
    std::vector<GraphicControl*> out;
    Collect(form, out);
    return out;
}

void PaintControls(Control& form, platform::Canvas& surface) {
    const platform::Rect clip = surface.ClipBox();
    if (clip.IsEmpty()) {
        return;
    }
    const std::vector<GraphicControl*> controls = GraphicControlsOf(form);
    std::vector<platform::Rect> opaque;
    for (GraphicControl* c : controls) {
        if (c->ControlOpaque()) {
            opaque.push_back(c->SurfaceBounds());
        }
    }
    FillAround(surface, clip, opaque, 0, form.Color());
    for (GraphicControl* c : controls) {
        const platform::Rect bounds = c->SurfaceBounds();
        if (platform::intersect_rect(bounds, clip).IsEmpty()) {
            continue;
        }
        const int saved = surface.SaveDC();
        surface.IntersectClipRect(bounds);
        const platform::Point org = surface.GetWindowOrg();
        surface.SetWindowOrg({org.x - bounds.left, org.y - bounds.top});
        try {
            c->PaintMessage(surface);
        } catch (...) {
            surface.RestoreDC(saved);
            throw;
        }
        surface.RestoreDC(saved);
    }
}

} // namespace quillop::ui
