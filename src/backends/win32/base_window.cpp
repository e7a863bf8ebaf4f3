#include "base_window.h"

namespace quillop::platform::win32 {

const char* BaseWindow::RegisterClassOnce(const char* class_name, HICON icon, HBRUSH background) {
    WNDCLASSEXA existing{};
    existing.cbSize = sizeof existing;
    if (GetClassInfoExA(GetModuleHandleA(nullptr), class_name, &existing))
        return class_name;
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &BaseWindow::Procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hIcon = icon;
    wc.hIconSm = icon;
    wc.hCursor = LoadCursorA(nullptr, reinterpret_cast<LPCSTR>(IDC_ARROW));
    wc.hbrBackground = background;
    wc.lpszClassName = class_name;
    RegisterClassExA(&wc);
    return class_name;
}

HWND BaseWindow::CreateNative(const char* class_name, DWORD ex_style, DWORD style,
                              const char* title, int x, int y, int width, int height, HWND parent,
                              HMENU menu) {
    return CreateWindowExA(ex_style, class_name, title, style, x, y, width, height, parent, menu,
                           GetModuleHandleA(nullptr), this);
}

LRESULT BaseWindow::HandleMessage(UINT msg, WPARAM wparam, LPARAM lparam) {
    return DefWindowProcA(window_, msg, wparam, lparam);
}

LRESULT CALLBACK BaseWindow::Procedure(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    BaseWindow* self = nullptr;
    if (msg == WM_NCCREATE) {
        auto* create = reinterpret_cast<CREATESTRUCTA*>(lparam);
        self = static_cast<BaseWindow*>(create->lpCreateParams);
        self->window_ = window;
        SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
        self = reinterpret_cast<BaseWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    }
    if (!self)
        return DefWindowProcA(window, msg, wparam, lparam);
    LRESULT result = self->HandleMessage(msg, wparam, lparam);
    if (msg == WM_NCDESTROY) {
        SetWindowLongPtrA(window, GWLP_USERDATA, 0);
        self->window_ = nullptr;
        self->Destroyed();
    }
    return result;
}

} // namespace quillop::platform::win32
