#include "form_peer.h"

#include "control_peers.h"
#include "gdi_canvas.h"
#include "peer_factory.h"
#include "resource.h"
#include "win32_services.h"

#include "ui/graphic_control.h"
#include "ui/group_box.h"

#include <algorithm>
#include <vector>

namespace quillop::platform::win32 {
namespace {

// No WS_CLIPCHILDREN: the form must paint the background inside the group box frame.
constexpr DWORD kStyle = WS_OVERLAPPEDWINDOW;
constexpr DWORD kExStyle = WS_EX_CONTROLPARENT;

bool OurProcess(HWND window) {
    DWORD pid = 0;
    return window && GetWindowThreadProcessId(window, &pid) && pid == GetCurrentProcessId();
}

} // namespace

FormPeer::FormPeer(PeerFactory& factory, ui::Form& form) : factory_(factory), form_(form) {
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(QUILLOP_ICON));
    RegisterClassOnce(kFormClass, icon, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1));
    const ui::Bounds& b = form.GetBounds();
    // The sizes of creation are the model's own; they are not reported back as a resize.
    sizing_from_model_ = true;
    CreateNative(kFormClass, kExStyle, kStyle, form.Caption().c_str(), b.left, b.top, b.width,
                 b.height, nullptr, nullptr);
    sizing_from_model_ = false;
    if (form.ClientWidth() > 0 && form.ClientHeight() > 0)
        ApplyClientSize();
}

void FormPeer::AttachMenu(HMENU menu) {
    sizing_from_model_ = true;
    SetMenu(Window(), menu);
    sizing_from_model_ = false;
    // The bar takes its room from the window, not from the designed client area.
    if (menu && form_.ClientWidth() > 0 && form_.ClientHeight() > 0)
        ApplyClientSize();
}

FormPeer::~FormPeer() {
    // The model is being destroyed: what the window reports while it goes must not reach it.
    destroying_ = true;
    if (HWND w = Window())
        DestroyWindow(w);
}

WindowHandle FormPeer::Handle() const {
    return FromHwnd(Window());
}

void FormPeer::ApplyClientSize() {
    RECT frame{0, 0, form_.ClientWidth(), form_.ClientHeight()};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(Window(), GWL_STYLE)),
                       GetMenu(Window()) != nullptr,
                       static_cast<DWORD>(GetWindowLongPtrA(Window(), GWL_EXSTYLE)));
    sizing_from_model_ = true;
    SetWindowPos(Window(), nullptr, 0, 0, frame.right - frame.left, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    sizing_from_model_ = false;
}

void FormPeer::ArrangeTabOrder() {
    std::vector<ControlPeer*> stops, others, frames;
    for (ui::Component* c : form_.Components()) {
        auto* peer = dynamic_cast<ControlPeer*>(c->GetPeer());
        if (!peer)
            continue;
        if (dynamic_cast<ui::GroupBox*>(c))
            frames.push_back(peer);
        else if (peer->Model().TabOrder() >= 0)
            stops.push_back(peer);
        else
            others.push_back(peer);
    }
    std::stable_sort(stops.begin(), stops.end(), [](ControlPeer* a, ControlPeer* b) {
        return a->Model().TabOrder() < b->Model().TabOrder();
    });
    HWND after = HWND_TOP;
    for (auto* group : {&stops, &others, &frames}) {
        for (ControlPeer* peer : *group) {
            SetWindowPos(peer->Window(), after, 0, 0, 0, 0,
                         SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
            after = peer->Window();
        }
    }
}

void FormPeer::Sync(ui::Property property) {
    HWND w = Window();
    switch (property) {
    case ui::Property::Bounds: {
        const ui::Bounds& b = form_.GetBounds();
        SetWindowPos(w, nullptr, b.left, b.top, b.width, b.height, SWP_NOZORDER | SWP_NOACTIVATE);
        break;
    }
    case ui::Property::ClientSize:
        ApplyClientSize();
        break;
    case ui::Property::Caption:
        SetWindowTextA(w, form_.Caption().c_str());
        break;
    case ui::Property::Visible:
        if (form_.Visible()) {
            ArrangeTabOrder();
            ShowWindow(w, SW_SHOW);
            UpdateWindow(w);
            // Some window managers (and none under a bare X server) never activate it.
            if (!activated_ && GetActiveWindow() == w)
                Activate(WA_ACTIVE, 0);
        } else {
            ShowWindow(w, SW_HIDE);
        }
        break;
    case ui::Property::Enabled:
        EnableWindow(w, form_.Enabled() ? TRUE : FALSE);
        break;
    case ui::Property::ScrollBars:
        // The form shows no scroll bars of its own; only hiding them means anything here.
        if (!form_.HorzScrollBarVisible())
            ShowScrollBar(w, SB_HORZ, FALSE);
        if (!form_.VertScrollBarVisible())
            ShowScrollBar(w, SB_VERT, FALSE);
        break;
    default:
        break;
    }
}

void FormPeer::ReportBounds() {
    RECT r{};
    GetWindowRect(Window(), &r);
    form_.BoundsChanged(ui::Bounds{r.left, r.top, r.right - r.left, r.bottom - r.top});
}

void FormPeer::ReportClientSize() {
    RECT client{};
    GetClientRect(Window(), &client);
    const int width = client.right - client.left;
    const int height = client.bottom - client.top;
    factory_.Dispatch([&] { form_.ClientResized(width, height); });
}

void FormPeer::Activate(WPARAM wparam, LPARAM lparam) {
    if (LOWORD(wparam) == WA_INACTIVE) {
        focus_ = GetFocus();
        return;
    }
    // The form's activation event: the first one, and each return from a window of our own.
    auto previous = reinterpret_cast<HWND>(lparam);
    if (activated_ && !OurProcess(previous))
        return;
    activated_ = true;
    factory_.Dispatch([this] { form_.Activated(); });
}

LRESULT FormPeer::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
    if (destroying_)
        return BaseWindow::HandleMessage(msg, wparam, lparam);
    switch (msg) {
    case WM_COMMAND:
        if (lparam != 0) {
            if (ControlPeer* peer = ControlPeer::FromWindow(reinterpret_cast<HWND>(lparam)))
                peer->Command(HIWORD(wparam));
            return 0;
        }
        if (HIWORD(wparam) == 0 && factory_.RunCommand(LOWORD(wparam)))
            return 0;
        break;
    case WM_MOVE:
        if (!IsIconic(Window()) && !IsZoomed(Window()))
            ReportBounds();
        return 0;
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lparam);
        if (ControlPeer* peer = ControlPeer::FromWindow(item.hwndItem)) {
            peer->Draw(item);
            return TRUE;
        }
        break;
    }
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN:
        // Labels, frames and buttons on the form's button-face background.
        SetBkColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNFACE));
        SetTextColor(reinterpret_cast<HDC>(wparam), GetSysColor(COLOR_BTNTEXT));
        return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
    case WM_SIZE:
        if (wparam == SIZE_RESTORED)
            ReportBounds();
        if (!sizing_from_model_ && wparam != SIZE_MINIMIZED)
            ReportClientSize();
        return 0;
    case WM_ACTIVATE: {
        LRESULT r = BaseWindow::HandleMessage(msg, wparam, lparam);
        Activate(wparam, lparam);
        return r;
    }
    case WM_SETFOCUS: {
        HWND target = focus_ && IsChild(Window(), focus_) ? focus_ : nullptr;
        if (!target)
            target = GetNextDlgTabItem(Window(), nullptr, FALSE);
        if (target)
            SetFocus(target);
        return 0;
    }
    case WM_ERASEBKGND:
        // With graphic controls the form's own paint (WM_PAINT) fills the background, around
        // the opaque ones, so that they do not flicker.
        if (ui::GraphicControlsOf(form_).empty())
            break;
        return 1;
    case WM_PAINT:
        if (!ui::GraphicControlsOf(form_).empty()) {
            PaintGraphics(reinterpret_cast<HDC>(wparam));
            return 0;
        }
        break;
    case WM_MOUSEMOVE:
        MouseOverGraphics(static_cast<short>(LOWORD(lparam)), static_cast<short>(HIWORD(lparam)));
        break;
    case WM_QUERYNEWPALETTE:
        return RealiseGraphicsPalette() ? TRUE : FALSE;
    case WM_CLOSE:
        factory_.Dispatch([this] { form_.Close(); });
        return 0;
    case WM_QUERYENDSESSION: {
        bool can_close = true;
        factory_.Dispatch([&] { can_close = form_.CloseRequested(); });
        return can_close ? TRUE : FALSE;
    }
    default:
        break;
    }
    return BaseWindow::HandleMessage(msg, wparam, lparam);
}

void FormPeer::PaintGraphics(HDC given) {
    if (given) {
        GdiCanvas canvas(given);
        factory_.Dispatch([&] { ui::PaintControls(form_, canvas); });
        return;
    }
    PAINTSTRUCT ps{};
    HDC dc = BeginPaint(Window(), &ps);
    if (dc) {
        GdiCanvas canvas(dc);
        factory_.Dispatch([&] { ui::PaintControls(form_, canvas); });
    }
    EndPaint(Window(), &ps);
}

void FormPeer::MouseOverGraphics(int x, int y) {
    for (ui::GraphicControl* c : ui::GraphicControlsOf(form_)) {
        const platform::Rect b = c->SurfaceBounds();
        if (x >= b.left && x < b.right && y >= b.top && y < b.bottom) {
            const auto cx = static_cast<std::int16_t>(x - b.left);
            const auto cy = static_cast<std::int16_t>(y - b.top);
            factory_.Dispatch([&] { c->MouseMove(cx, cy); });
        }
    }
}

bool FormPeer::RealiseGraphicsPalette() {
    for (ui::GraphicControl* c : ui::GraphicControlsOf(form_)) {
        const std::vector<std::uint32_t>* colors = c->GetPalette();
        if (!colors || colors->empty())
            continue;
        std::unique_ptr<GdiCanvas> canvas = GdiCanvas::ForWindow(Window());
        if (!canvas)
            return false;
        // The window with the focus realises its palette in the foreground.
        canvas->SelectPalette(colors->data(), static_cast<int>(colors->size()), false);
        canvas->RestorePalette(0);
        InvalidateRect(Window(), nullptr, FALSE);
        return true;
    }
    return false;
}

} // namespace quillop::platform::win32
