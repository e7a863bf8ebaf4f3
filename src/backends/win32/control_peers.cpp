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
#include <string>
#include <vector>

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
                            FALSE, f.underline ? TRUE : FALSE, FALSE, DEFAULT_CHARSET,
                            OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                            DEFAULT_PITCH | FF_DONTCARE, f.name.c_str()));
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

void ControlPeer::ResizeTo(int width, int height) {
    ui::Bounds b = model_.GetBounds();
    if (b.width == width && b.height == height)
        return;
    b.width = width;
    b.height = height;
    model_.BoundsChanged(b);
    SetWindowPos(window_.Get(), nullptr, 0, 0, width, height,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
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
    case ui::Property::ZOrder:
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

COLORREF ResolveColor(ColorRef color) {
    return (color & kSystemColor) ? GetSysColor(static_cast<int>(color & 0xFF))
                                  : static_cast<COLORREF>(color);
}
} // namespace

LabelPeer::LabelPeer(PeerFactory& factory, ui::Label& label)
    : ControlPeer(factory, label, WC_STATICA, LabelStyle(label) | SS_NOTIFY, 0), label_(label) {
    FitText();
}

void LabelPeer::Command(int code) {
    if (code == STN_CLICKED)
        factory_.Dispatch([this] { label_.Click(); });
}

HBRUSH LabelPeer::ControlColor(HDC dc) {
    SetTextColor(dc, ResolveColor(label_.GetFont().color));
    if (label_.Transparent()) {
        SetBkMode(dc, TRANSPARENT);
        return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
    }
    SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
    return GetSysColorBrush(COLOR_BTNFACE);
}

void LabelPeer::Changed(ui::Property property) {
    if (property == ui::Property::Caption || property == ui::Property::Font)
        FitText();
}

// An auto-sized label is as wide and high as its text on one line.
void LabelPeer::FitText() {
    if (!label_.AutoSize())
        return;
    WindowDc dc(Window());
    auto font = reinterpret_cast<HGDIOBJ>(SendMessageA(Window(), WM_GETFONT, 0, 0));
    Selected keep(dc.Get(), font ? font : GetStockObject(SYSTEM_FONT));
    const std::string& text = label_.Caption();
    RECT r{0, 0, 0, 0};
    DrawTextA(dc.Get(), text.empty() ? " " : text.c_str(), text.empty() ? 1 : -1, &r,
              DT_SINGLELINE | DT_CALCRECT | DT_NOPREFIX);
    ResizeTo(text.empty() ? 0 : r.right - r.left, r.bottom - r.top);
}

ImagePeer::ImagePeer(PeerFactory& factory, ui::Image& image)
    : ControlPeer(factory, image, WC_STATICA, SS_OWNERDRAW | SS_NOTIFY, 0), image_(image) {
    tab_stop_ = false;
    ApplyTabStop();
    SetWindowLongPtrA(Window(), GWL_STYLE,
                      GetWindowLongPtrA(Window(), GWL_STYLE) & ~LONG_PTR{WS_CLIPSIBLINGS});
    LoadPicture();
}

void ImagePeer::LoadPicture() {
    bitmap_.Reset(nullptr);
    metafile_.Reset(nullptr);
    natural_ = {0, 0};
    const std::string& name = image_.PictureResource();
    if (image_.GetPictureKind() == ui::PictureKind::Bitmap) {
        bitmap_.Reset(static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), name.c_str(),
                                                      IMAGE_BITMAP, 0, 0, LR_CREATEDIBSECTION)));
        BITMAP info{};
        if (bitmap_ && GetObjectA(bitmap_.Get(), sizeof info, &info))
            natural_ = {info.bmWidth, info.bmHeight};
    } else if (image_.GetPictureKind() == ui::PictureKind::Metafile) {
        // A placeable metafile: its 22-byte header gives the bounding box and the units per
        // inch; the Windows metafile follows.
        const std::vector<std::uint8_t> data = factory_.ResourceData(name);
        if (data.size() > 22 && data[0] == 0xD7 && data[1] == 0xCD && data[2] == 0xC6 &&
            data[3] == 0x9A) {
            auto word = [&](size_t at) {
                return static_cast<short>(data[at] | (data[at + 1] << 8));
            };
            const int width = word(10) - word(6);
            const int height = word(12) - word(8);
            const int inch = static_cast<unsigned short>(word(14));
            if (inch > 0) {
                METAFILEPICT picture{MM_ANISOTROPIC, MulDiv(width, 2540, inch),
                                     MulDiv(height, 2540, inch), nullptr};
                metafile_.Reset(SetWinMetaFileBits(static_cast<UINT>(data.size() - 22),
                                                   data.data() + 22, nullptr, &picture));
                natural_ = {MulDiv(width, 96, inch), MulDiv(height, 96, inch)};
            }
        }
    }
    if (image_.AutoSize() && natural_.cx > 0)
        ResizeTo(natural_.cx, natural_.cy);
    InvalidateRect(Window(), nullptr, TRUE);
}

void ImagePeer::Changed(ui::Property property) {
    if (property == ui::Property::Picture)
        LoadPicture();
}

void ImagePeer::Command(int code) {
    if (code == STN_CLICKED)
        factory_.Dispatch([this] { image_.Click(); });
}

void ImagePeer::Draw(const DRAWITEMSTRUCT& item) {
    HDC dc = item.hDC;
    const RECT r = item.rcItem;
    FillRect(dc, &r, GetSysColorBrush(COLOR_BTNFACE));
    RECT target = r;
    if (!image_.Stretch()) {
        target.right = r.left + natural_.cx;
        target.bottom = r.top + natural_.cy;
    }
    if (bitmap_) {
        MemoryDc source(dc);
        Selected keep(source.Get(), bitmap_.Get());
        SetStretchBltMode(dc, HALFTONE);
        SetBrushOrgEx(dc, 0, 0, nullptr);
        StretchBlt(dc, target.left, target.top, target.right - target.left,
                   target.bottom - target.top, source.Get(), 0, 0, natural_.cx, natural_.cy,
                   SRCCOPY);
    } else if (metafile_) {
        PlayEnhMetaFile(dc, metafile_.Get(), &target);
    }
    // A transparent label over the picture draws its text again on top.
    for (HWND sibling = GetWindow(item.hwndItem, GW_HWNDPREV); sibling;
         sibling = GetWindow(sibling, GW_HWNDPREV)) {
        RECT mine{}, theirs{}, both{};
        GetWindowRect(item.hwndItem, &mine);
        GetWindowRect(sibling, &theirs);
        if (IntersectRect(&both, &mine, &theirs))
            InvalidateRect(sibling, nullptr, TRUE);
    }
}

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
    PaintImageButton(item, images_.Get(), button_.Margin());
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
    case ui::Property::Items: {
        // The whole list in one batch: no repaint or scroll bar update per line, the storage
        // reserved once, and the lines sent past the subclass (each message to a subclassed
        // window looks its subclass up in a window property: under Wine a server call, which
        // made a list of 3,000 lines take a third of a second instead of 10 ms).
        RemoveWindowSubclass(w, &ListBoxPeer::Subclass, 1);
        SendMessageA(w, WM_SETREDRAW, FALSE, 0);
        SendMessageA(w, LB_RESETCONTENT, 0, 0);
        std::size_t bytes = 0;
        for (const std::string& line : list_.Items())
            bytes += line.size() + 1;
        SendMessageA(w, LB_INITSTORAGE, list_.Items().size(), static_cast<LPARAM>(bytes));
        for (const std::string& line : list_.Items())
            SendMessageA(w, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(line.c_str()));
        SendMessageA(w, LB_SETCURSEL, static_cast<WPARAM>(list_.SelectedIndex()), 0);
        SendMessageA(w, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(w, nullptr, TRUE);
        SetWindowSubclass(w, &ListBoxPeer::Subclass, 1, reinterpret_cast<DWORD_PTR>(this));
        break;
    }
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
