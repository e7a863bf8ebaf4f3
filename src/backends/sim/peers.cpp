#include "backends/sim/peers.h"

#include "ui/button.h"
#include "ui/form.h"
#include "ui/group_box.h"
#include "ui/label.h"
#include "ui/list_box.h"
#include "ui/menu.h"

#include <algorithm>

namespace quillop::platform::sim {

FormPeer::FormPeer(PeerFactory& factory, Desktop& desktop, ui::Form& form)
    : factory_(factory), desktop_(desktop), form_(form),
      handle_(desktop.AddWindow(form.Caption(), form.Visible())), surface_(0, 0) {
    factory_.Register(handle_, this);
    ResizeSurface();
}

FormPeer::~FormPeer() {
    factory_.Register(handle_, nullptr);
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
            if (desktop_.ActiveWindow() != handle_) {
                previous_active_ = desktop_.ActiveWindow();
            }
            desktop_.SetActiveWindow(handle_);
            form_.Activated();
        } else if (desktop_.ActiveWindow() == handle_) {
            FormPeer* previous = factory_.FormOf(previous_active_);
            previous_active_ = 0;
            if (previous != nullptr && previous->form_.Visible() && previous->form_.Enabled()) {
                desktop_.SetActiveWindow(previous->handle_);
                previous->form_.Activated();
            } else {
                desktop_.SetActiveWindow(0);
            }
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
    return std::make_unique<FormPeer>(*this, desktop_, form);
}

std::vector<std::uint8_t> PeerFactory::ResourceData(const std::string& name) {
    const auto it = resources_.find(name);
    return it == resources_.end() ? std::vector<std::uint8_t>{} : it->second;
}

FormPeer* PeerFactory::FormOf(WindowHandle window) const {
    const auto it = forms_.find(window);
    return it == forms_.end() ? nullptr : it->second;
}

void PeerFactory::Register(WindowHandle window, FormPeer* peer) {
    if (peer == nullptr) {
        forms_.erase(window);
    } else {
        forms_[window] = peer;
    }
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
