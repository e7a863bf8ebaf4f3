// The bare program the window list benchmark compares Quillop.exe with: one window with a list
// box, filled once at start with a line per top-level window ("[id] - title"), one
// LB_ADDSTRING per line. By default the list is filled before the window is shown; with
// --redraw-off it is filled after showing, with redrawing switched off; with --visible after
// showing, redrawn line by line.
#include <windows.h>

#include <cstdint>
#include <cstring>
#include <string>

namespace {

LRESULT CALLBACK FrameProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_DESTROY) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(w, msg, wp, lp);
}

BOOL CALLBACK AddLine(HWND window, LPARAM param) {
    char title[256] = {};
    if (GetWindowTextA(window, title, 255) == 0)
        std::strcpy(title, "This Window has no title");
    std::string id =
        std::to_string(static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(window)));
    while (id.size() < 5)
        id.insert(id.begin(), ' ');
    const std::string line = "[" + id + "] - " + title;
    SendMessageA(reinterpret_cast<HWND>(param), LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>(line.c_str()));
    return TRUE;
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR command_line, int show) {
    const bool redraw_off = std::strstr(command_line, "--redraw-off") != nullptr;
    const bool fill_first = !redraw_off && std::strstr(command_line, "--visible") == nullptr;
    WNDCLASSA wc{};
    wc.lpfnWndProc = &FrameProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BareListFrame";
    RegisterClassA(&wc);
    HWND frame = CreateWindowExA(0, "BareListFrame", "Bare list", WS_OVERLAPPEDWINDOW, 223, 139,
                                 471, 330, nullptr, nullptr, instance, nullptr);
    HWND list = CreateWindowExA(WS_EX_CLIENTEDGE, "LISTBOX", nullptr,
                                WS_CHILD | WS_VISIBLE | WS_VSCROLL | WS_HSCROLL | LBS_NOTIFY |
                                    LBS_NOINTEGRALHEIGHT,
                                7, 57, 437, 144, frame, nullptr, instance, nullptr);
    SendMessageA(list, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(ANSI_FIXED_FONT)), 0);
    if (fill_first)
        EnumWindows(&AddLine, reinterpret_cast<LPARAM>(list));
    ShowWindow(frame, show);
    UpdateWindow(frame);
    if (redraw_off)
        SendMessageA(list, WM_SETREDRAW, FALSE, 0);
    if (!fill_first)
        EnumWindows(&AddLine, reinterpret_cast<LPARAM>(list));
    if (redraw_off) {
        SendMessageA(list, WM_SETREDRAW, TRUE, 0);
        InvalidateRect(list, nullptr, TRUE);
    }
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return 0;
}
