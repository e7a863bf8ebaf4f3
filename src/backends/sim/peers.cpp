#include "backends/sim/peers.h"

#include "ui/button.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/menu.h"

#include <algorithm>

namespace quillop::platform::sim {

FormPeer::FormPeer(Desktop& desktop, ui::Form& form)
    : desktop_(desktop), form_(form), handle_(desktop.AddWindow(form.Caption(), form.Visible())),
      surface_(0, 0) {
    ResizeSurface();
}

FormPeer::~FormPeer() {
    desktop_.RemoveWindow(handle_);
}

void FormPeer::ResizeSurface() {
    const int w = form_.ClientWidth() > 0 ? form_.ClientWidth() : form_.Width();
    const int h = form_.ClientHeight() > 0 ? form_.ClientHeight() : form_.Height();
    surface_.Resize(w, h, sim_system_color(kColorBtnFace));
    Invalidate({0, 0, w, h});
}

void FormPeer::Sync(ui::Property property) {
    if (property == ui::Property::Caption) {
        desktop_.SetTitle(handle_, form_.Caption());
    } else if (property == ui::Property::Visible) {
        desktop_.SetVisible(handle_, form_.Visible());
        if (form_.Visible()) {
            desktop_.SetActiveWindow(handle_);
            form_.Activated();
        }
    } else if (property == ui::Property::ClientSize || property == ui::Property::Bounds) {
        ResizeSurface();
    } else if (property == ui::Property::Color) {
        Invalidate({0, 0, surface_.Width(), surface_.Height()});
    }
}

void FormPeer::Invalidate(const platform::Rect& area) {
    ++invalidations_;
    const platform::Rect a = intersect_rect(area, {0, 0, surface_.Width(), surface_.Height()});
    if (a.IsEmpty()) {
        return;
    }
    if (invalid_.IsEmpty()) {
        invalid_ = a;
    } else {
        invalid_ = {std::min(invalid_.left, a.left), std::min(invalid_.top, a.top),
                    std::max(invalid_.right, a.right), std::max(invalid_.bottom, a.bottom)};
    }
}

void FormPeer::PaintInvalid() {
    const platform::Rect area = invalid_;
    invalid_ = {};
    if (area.IsEmpty()) {
        return;
    }
    SoftwareCanvas canvas(surface_);
    canvas.IntersectClipRect(area);
    ui::PaintControls(form_, canvas);
}

bool FormPeer::Focused() const {
    return desktop_.ActiveWindow() == handle_;
}

namespace {

class GraphicPeer final : public ui::GraphicPeer {
public:
    explicit GraphicPeer(ui::GraphicControl& control) : control_(control) {}

    void InvalidateArea(const platform::Rect& area) override {
        if (FormPeer* form = Form()) {
            form->Invalidate(area);
        }
    }
    std::unique_ptr<platform::Canvas> ParentSurface() override {
        FormPeer* form = Form();
        return form ? std::make_unique<SoftwareCanvas>(form->ClientSurface()) : nullptr;
    }
    bool ParentFocused() const override {
        const FormPeer* form = Form();
        return form && form->Focused();
    }
    void PostQueryNewPalette() override {
        if (FormPeer* form = Form()) {
            form->QueryNewPalette();
        }
    }

private:
    FormPeer* Form() const {
        ui::Control* top = &control_;
        while (top->Parent()) {
            top = top->Parent();
        }
        return dynamic_cast<FormPeer*>(top->GetPeer());
    }

    ui::GraphicControl& control_;
};

class ChildPeer final : public ui::Peer {
public:
    ChildPeer(Desktop& desktop, ui::Control& control)
        : desktop_(desktop), control_(control),
          handle_(desktop.AddChildWindow(control.Parent() ? control.Parent()->Handle() : 0,
                                         control.Caption())) {}

    ~ChildPeer() override { desktop_.RemoveWindow(handle_); }

    void Sync(ui::Property property) override {
        if (property == ui::Property::Caption) {
            desktop_.SetTitle(handle_, control_.Caption());
        }
    }
    WindowHandle Handle() const override { return handle_; }

private:
    Desktop& desktop_;
    ui::Control& control_;
    WindowHandle handle_;
};

class MenuPeer final : public ui::Peer {
public:
    void Sync(ui::Property) override {}
    WindowHandle Handle() const override { return 0; }
};

} // namespace

std::unique_ptr<ui::Peer> PeerFactory::CreateForm(ui::Form& form) {
    return std::make_unique<FormPeer>(desktop_, form);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateGroupBox(ui::GroupBox& box) {
    return std::make_unique<ChildPeer>(desktop_, box);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateLabel(ui::Label& label) {
    return std::make_unique<ChildPeer>(desktop_, label);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateButton(ui::Button& button) {
    return std::make_unique<ChildPeer>(desktop_, button);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateListBox(ui::ListBox& list) {
    return std::make_unique<ChildPeer>(desktop_, list);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateGraphicControl(ui::GraphicControl& control) {
    return std::make_unique<GraphicPeer>(control);
}

std::unique_ptr<ui::Peer> PeerFactory::CreateMenu(ui::Menu&) {
    return std::make_unique<MenuPeer>();
}

std::unique_ptr<ui::Peer> PeerFactory::CreateMenuItem(ui::MenuItem&) {
    return std::make_unique<MenuPeer>();
}

} // namespace quillop::platform::sim
