#include "control_peers.h"

#include "button_images.h"
#include "form_peer.h"
#include "gdi_canvas.h"
#include "peer_factory.h"
#include "win32_services.h"

#include "ui/font.h"
#include "ui/form.h"

#include <commctrl.h>

#include <cstdint>

namespace quillop::platform::win32 {
namespace {

constexpr const char* kPeerProperty = "QuillopPeer";

// The form a control belongs to: the top of its parent chain.
ui::Control* TopOf(ui::Control& control) {
    ui::Control* c = &control;
    while (c->Parent())
        c = c->Parent();
    return c;
}

POINT OffsetInForm(ui::Control& control) {
    POINT p{0, 0};
    for (ui::Control* c = control.Parent(); c && c->Parent(); c = c->Parent()) {
        p.x += c->Left();
        p.y += c->Top();
    }
    return p;
}

FormPeer* FormPeerOf(ui::Control& control) {
    return dynamic_cast<FormPeer*>(TopOf(control)->GetPeer());
}

std::uint16_t ShiftNow() {
    std::uint16_t shift = 0;
    if (GetKeyState(VK_SHIFT) < 0)
        shift |= ui::ssShift;
    if (GetKeyState(VK_MENU) < 0)
        shift |= ui::ssAlt;
    if (GetKeyState(VK_CONTROL) < 0)
        shift |= ui::ssCtrl;
    return shift;
}

} // namespace

HWND GraphicControlPeer::FormWindow() const {
    return ToHwnd(TopOf(control_)->Handle());
}

void GraphicControlPeer::InvalidateArea(const platform::Rect& area) {
    if (HWND form = FormWindow()) {
        const RECT r{area.left, area.top, area.right, area.bottom};
        InvalidateRect(form, &r, TRUE);
    }
}

std::unique_ptr<platform::Canvas> GraphicControlPeer::ParentSurface() {
    HWND form = FormWindow();
    if (!form)
        return nullptr;
    return GdiCanvas::ForWindow(form);
}

bool GraphicControlPeer::ParentFocused() const {
    HWND form = FormWindow();
    HWND focus = GetFocus();
    return form && focus && (focus == form || IsChild(form, focus));
}

void GraphicControlPeer::PostQueryNewPalette() {
    if (HWND form = FormWindow())
        PostMessageA(form, WM_QUERYNEWPALETTE, 0, 0);
}

ControlPeer::ControlPeer(PeerFactory& factory, ui::Control& model, const char* window_class,
                         DWORD style, DWORD ex_style)
    : factory_(factory), model_(model) {
    HWND parent = ToHwnd(TopOf(model)->Handle());
    if (model.Visible())
        style |= WS_VISIBLE;
    if (!model.Enabled())
        style |= WS_DISABLED;
    const POINT at = OffsetInForm(model);
    window_.Reset(CreateWindowExA(
        ex_style, window_class, model.Caption().c_str(), WS_CHILD | WS_CLIPSIBLINGS | style,
        at.x + model.Left(), at.y + model.Top(), model.Width(), model.Height(), parent,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(factory.NextControlId())),
        GetModuleHandleA(nullptr), nullptr));
    SetPropA(window_.Get(), kPeerProperty, this);
    ApplyFont();
    ApplyTabStop();
}

ControlPeer::~ControlPeer() {
    if (window_)
        RemovePropA(window_.Get(), kPeerProperty);
}

ControlPeer* ControlPeer::FromWindow(HWND window) {
    return window ? static_cast<ControlPeer*>(GetPropA(window, kPeerProperty)) : nullptr;
}

WindowHandle ControlPeer::Handle() const {
    return FromHwnd(window_.Get());
}

void ControlPeer::Place() {
    const POINT at = OffsetInForm(model_);
    SetWindowPos(window_.Get(), nullptr, at.x + model_.Left(), at.y + model_.Top(), model_.Width(),
                 model_.Height(), SWP_NOZORDER | SWP_NOACTIVATE);
    // Children sit at positions relative to this control.
    for (ui::Control* child : model_.Children()) {
        if (ui::Peer* peer = child->GetPeer())
            peer->Sync(ui::Property::Bounds);
    }
}

void ControlPeer::ApplyFont() {
    const ui::Font& f = model_.GetFont();
    if (f.name.empty())
        return;
    font_.Reset(CreateFontA(ui::native_font_height(f.size), 0, 0, 0, f.bold ? FW_BOLD : FW_NORMAL,
                            FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                            CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                            f.name.c_str()));
    SendMessageA(window_.Get(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.Get()), TRUE);
}

void ControlPeer::ApplyTabStop() {
    LONG_PTR style = GetWindowLongPtrA(window_.Get(), GWL_STYLE);
    style = tab_stop_ && model_.TabOrder() >= 0 ? (style | WS_TABSTOP)
                                                : (style & ~LONG_PTR{WS_TABSTOP});
    SetWindowLongPtrA(window_.Get(), GWL_STYLE, style);
    if (FormPeer* form = FormPeerOf(model_))
        form->ArrangeTabOrder();
}

void ControlPeer::Sync(ui::Property property) {
    switch (property) {
    case ui::Property::Bounds:
        Place();
        break;
    case ui::Property::Caption:
        SetWindowTextA(window_.Get(), model_.Caption().c_str());
        break;
    case ui::Property::Font:
        ApplyFont();
        break;
    case ui::Property::Visible:
        ShowWindow(window_.Get(), model_.Visible() ? SW_SHOWNA : SW_HIDE);
        break;
    case ui::Property::Enabled:
        EnableWindow(window_.Get(), model_.Enabled() ? TRUE : FALSE);
        break;
    case ui::Property::TabOrder:
        ApplyTabStop();
        break;
    default:
        break;
    }
    Changed(property);
}

// A frame is never a tab stop, whatever its place in the tab order.
GroupBoxPeer::GroupBoxPeer(PeerFactory& factory, ui::GroupBox& box)
    : ControlPeer(factory, box, WC_BUTTONA, BS_GROUPBOX, 0) {
    tab_stop_ = false;
    ApplyTabStop();
}

namespace {
DWORD LabelStyle(const ui::Label& label) {
    switch (label.GetAlignment()) {
    case ui::Alignment::Center:
        return SS_CENTER;
    case ui::Alignment::Right:
        return SS_RIGHT;
    case ui::Alignment::Left:
        break;
    }
    return label.WordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP;
}
} // namespace

LabelPeer::LabelPeer(PeerFactory& factory, ui::Label& label)
    : ControlPeer(factory, label, WC_STATICA, LabelStyle(label), 0) {}

// A button with a picture is drawn by us, so picture and caption sit together in the middle;
// it is still a BUTTON with its caption as window text, for the keyboard and screen readers.
ButtonPeer::ButtonPeer(PeerFactory& factory, ui::Button& button)
    : ControlPeer(factory, button, WC_BUTTONA,
                  button.ImageResource().empty() ? BS_PUSHBUTTON : BS_OWNERDRAW, 0),
      button_(button) {
    if (!button.ImageResource().empty())
        images_ = LoadButtonImages(button.ImageResource().c_str());
}

void ButtonPeer::Draw(const DRAWITEMSTRUCT& item) {
    PaintImageButton(item, images_.Get());
}

void ButtonPeer::Command(int code) {
    if (code == BN_CLICKED)
        factory_.Dispatch([this] { button_.Click(); });
}

ListBoxPeer::ListBoxPeer(PeerFactory& factory, ui::ListBox& list)
    : ControlPeer(factory, list, WC_LISTBOXA,
                  LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_HSCROLL, WS_EX_CLIENTEDGE),
      list_(list) {
    SetWindowSubclass(Window(), &ListBoxPeer::Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
    Changed(ui::Property::Items);
}

ListBoxPeer::~ListBoxPeer() {
    if (Window())
        RemoveWindowSubclass(Window(), &ListBoxPeer::Subclass, 1);
}

void ListBoxPeer::Changed(ui::Property property) {
    HWND w = Window();
    switch (property) {
    case ui::Property::Items:
        SendMessageA(w, WM_SETREDRAW, FALSE, 0);
        SendMessageA(w, LB_RESETCONTENT, 0, 0);
        for (const std::string& line : list_.Items())
            SendMessageA(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        SendMessageA(w, LB_SETCURSEL, static_cast<WPARAM>(list_.SelectedIndex()), 0);
        SendMessageA(w, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(w, nullptr, TRUE);
        break;
    case ui::Property::ItemAdded:
        if (!list_.Items().empty())
            SendMessageA(w, LB_ADDSTRING, 0,
                         reinterpret_cast<LPARAM>(list_.Items().back().c_str()));
        break;
    case ui::Property::Selection:
        SendMessageA(w, LB_SETCURSEL, static_cast<WPARAM>(list_.SelectedIndex()), 0);
        break;
    default:
        break;
    }
}

void ListBoxPeer::ReadSelection() {
    const auto index = static_cast<int>(SendMessageA(Window(), LB_GETCURSEL, 0, 0));
    list_.UserSelect(index);
}

void ListBoxPeer::Command(int code) {
    if (code == LBN_SELCHANGE) {
        factory_.Dispatch([this] { ReadSelection(); });
    } else if (code == LBN_DBLCLK) {
        factory_.Dispatch([this] {
            ReadSelection();
            list_.DblClick();
        });
    }
}

LRESULT CALLBACK ListBoxPeer::Subclass(HWND window, UINT msg, WPARAM wparam, LPARAM lparam,
                                       UINT_PTR, DWORD_PTR data) {
    auto* self = reinterpret_cast<ListBoxPeer*>(data);
    switch (msg) {
    case WM_GETDLGCODE: {
        // Enter belongs to the list (its key handler), not to the form's dialog navigation.
        LRESULT code = DefSubclassProc(window, msg, wparam, lparam);
        auto* m = reinterpret_cast<const MSG*>(lparam);
        if (m && m->message == WM_KEYDOWN && m->wParam == VK_RETURN)
            code |= DLGC_WANTMESSAGE;
        return code;
    }
    case WM_KEYDOWN: {
        auto key = static_cast<std::uint16_t>(wparam);
        const std::uint16_t shift = ShiftNow();
        self->factory_.Dispatch([&] {
            self->ReadSelection();
            self->list_.KeyDown(key, shift);
        });
        if (key == 0)
            return 0; // the handler consumed it
        return DefSubclassProc(window, msg, key, lparam);
    }
    default:
        break;
    }
    return DefSubclassProc(window, msg, wparam, lparam);
}

} // namespace quillop::platform::win32
