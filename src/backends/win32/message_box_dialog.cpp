#include "message_box_dialog.h"

#include "win_handles.h"

#include <algorithm>
#include <array>
#include <string>

namespace quillop::platform::win32 {
namespace {

constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 23;
constexpr int kButtonGap = 6;

struct BoxState {
    BoxKind kind;
    std::string text;
    std::string caption;
    OwnedFont font;
};

bool IsQuestion(const BoxState& s) {
    return s.kind == BoxKind::WarningQuestion;
}

LPCSTR IconFor(BoxKind kind) {
    switch (kind) {
    case BoxKind::Information:
        return reinterpret_cast<LPCSTR>(IDI_INFORMATION);
    case BoxKind::WarningQuestion:
        return reinterpret_cast<LPCSTR>(IDI_EXCLAMATION);
    case BoxKind::Error:
    case BoxKind::ApplicationError:
        break;
    }
    return reinterpret_cast<LPCSTR>(IDI_HAND);
}

HWND AddChild(HWND dialog, const char* cls, const char* text, DWORD style, int id, HFONT font) {
    HWND child = CreateWindowExA(0, cls, text, WS_CHILD | WS_VISIBLE | style, 0, 0, 0, 0, dialog,
                                 reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)),
                                 GetModuleHandleA(nullptr), nullptr);
    SendMessageA(child, WM_SETFONT, reinterpret_cast<WPARAM>(font), FALSE);
    return child;
}

void Layout(HWND dialog, BoxState& s) {
    NONCLIENTMETRICSA metrics{};
    metrics.cbSize = sizeof metrics;
    SystemParametersInfoA(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0);
    s.font.Reset(CreateFontIndirectA(&metrics.lfMessageFont));
    HFONT font = s.font.Get();
    SetWindowTextA(dialog, s.caption.c_str());

    HWND icon = AddChild(dialog, "STATIC", nullptr, SS_ICON, kBoxIconId, font);
    SendMessageA(icon, STM_SETICON, reinterpret_cast<WPARAM>(LoadIconA(nullptr, IconFor(s.kind))),
                 0);
    HWND text = AddChild(dialog, "STATIC", s.text.c_str(), SS_LEFT | SS_NOPREFIX, kBoxTextId, font);

    const int screen_w = GetSystemMetrics(SM_CXSCREEN);
    const int screen_h = GetSystemMetrics(SM_CYSCREEN);
    RECT measure{0, 0, std::max(1, screen_w / 2), 0};
    {
        WindowDc dc(dialog);
        Selected keep(dc.Get(), font);
        DrawTextA(dc.Get(), s.text.c_str(), static_cast<int>(s.text.size()), &measure,
                  DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX | DT_EXPANDTABS);
    }
    const int text_w = measure.right - measure.left;
    const int text_h = std::max<int>(measure.bottom - measure.top, 1);

    struct Choice {
        const char* caption;
        int id;
    };
    std::array<Choice, 2> choices{{{"OK", IDOK}, {nullptr, 0}}};
    int count = 1;
    if (IsQuestion(s)) {
        choices = {{{"&Yes", IDYES}, {"&No", IDNO}}};
        count = 2;
    }
    const int buttons_w = count * kButtonWidth + (count - 1) * kButtonGap;

    const int text_left = kMargin + kIconSize + kMargin;
    const int body_h = std::max(kIconSize, text_h);
    const int client_w = std::max(text_left + text_w + kMargin, buttons_w + 2 * kMargin);
    const int buttons_top = kMargin + body_h + kMargin;
    const int client_h = buttons_top + kButtonHeight + kMargin;

    MoveWindow(icon, kMargin, kMargin, kIconSize, kIconSize, FALSE);
    MoveWindow(text, text_left, kMargin + (body_h - text_h) / 2, text_w, text_h, FALSE);
    int x = (client_w - buttons_w) / 2;
    HWND first = nullptr;
    for (int i = 0; i < count; ++i) {
        DWORD style = WS_TABSTOP | (i == 0 ? BS_DEFPUSHBUTTON | WS_GROUP : BS_PUSHBUTTON);
        HWND b = AddChild(dialog, "BUTTON", choices[i].caption, style, choices[i].id, font);
        MoveWindow(b, x, buttons_top, kButtonWidth, kButtonHeight, FALSE);
        x += kButtonWidth + kButtonGap;
        if (i == 0)
            first = b;
    }

    RECT frame{0, 0, client_w, client_h};
    AdjustWindowRectEx(&frame, static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_STYLE)), FALSE,
                       static_cast<DWORD>(GetWindowLongPtrA(dialog, GWL_EXSTYLE)));
    const int w = frame.right - frame.left;
    const int h = frame.bottom - frame.top;
    SetWindowPos(dialog, HWND_TOP, (screen_w - w) / 2, (screen_h - h) / 2, w, h, SWP_NOZORDER);

    SendMessageA(dialog, DM_SETDEFID, choices[0].id, 0);
    SetFocus(first);
}

INT_PTR CALLBACK DialogProcedure(HWND dialog, UINT msg, WPARAM wparam, LPARAM lparam) {
    auto* s = reinterpret_cast<BoxState*>(GetWindowLongPtrA(dialog, DWLP_USER));
    switch (msg) {
    case WM_INITDIALOG:
        SetWindowLongPtrA(dialog, DWLP_USER, lparam);
        Layout(dialog, *reinterpret_cast<BoxState*>(lparam));
        return FALSE; // focus was set on the default button
    case WM_COMMAND:
        if (!s)
            break;
        switch (LOWORD(wparam)) {
        case IDOK:
            EndDialog(dialog, static_cast<INT_PTR>(BoxAnswer::Ok));
            return TRUE;
        case IDYES:
            EndDialog(dialog, static_cast<INT_PTR>(BoxAnswer::Yes));
            return TRUE;
        case IDNO:
            EndDialog(dialog, static_cast<INT_PTR>(BoxAnswer::No));
            return TRUE;
        case IDCANCEL: // Escape
            EndDialog(dialog, static_cast<INT_PTR>(IsQuestion(*s) ? BoxAnswer::No : BoxAnswer::Ok));
            return TRUE;
        default:
            break;
        }
        break;
    case WM_CLOSE: // the title bar's close box, Alt+F4
        if (!s)
            break;
        EndDialog(dialog, static_cast<INT_PTR>(IsQuestion(*s) ? BoxAnswer::None : BoxAnswer::Ok));
        return TRUE;
    default:
        break;
    }
    return FALSE;
}

// An empty dialog template; the controls are created and laid out in WM_INITDIALOG.
struct alignas(4) EmptyTemplate {
    DLGTEMPLATE header;
    WORD menu = 0;
    WORD window_class = 0;
    WORD title = 0;
};

} // namespace

BoxAnswer ShowMessageDialog(HWND owner, BoxKind kind, std::string_view text,
                            std::string_view caption) {
    EmptyTemplate tmpl{};
    tmpl.header.style = WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFOREGROUND;
    tmpl.header.dwExtendedStyle = WS_EX_DLGMODALFRAME;
    tmpl.header.cdit = 0;
    BoxState state{kind, std::string(text), std::string(caption), {}};
    INT_PTR result = DialogBoxIndirectParamA(GetModuleHandleA(nullptr), &tmpl.header, owner,
                                             &DialogProcedure, reinterpret_cast<LPARAM>(&state));
    if (result < 0)
        return BoxAnswer::None;
    return static_cast<BoxAnswer>(result);
}

} // namespace quillop::platform::win32
