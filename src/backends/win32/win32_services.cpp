#include "win32_services.h"

#include "message_box_dialog.h"

namespace quillop::platform::win32 {

HWND ToHwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}
WindowHandle FromHwnd(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

namespace {

BOOL CALLBACK EnumThunk(HWND window, LPARAM param) {
    auto& callback = *reinterpret_cast<const std::function<bool(WindowHandle)>*>(param);
    return callback(FromHwnd(window)) ? TRUE : FALSE;
}

constexpr UINT kRunPosted = WM_APP + 1;
constexpr UINT kRunSent = WM_APP + 2;
constexpr const char* kSinkClass = "QuillopLoopSink";

} // namespace

bool Desktop::EnumWindows(const std::function<bool(WindowHandle)>& callback) {
    return ::EnumWindows(&EnumThunk, reinterpret_cast<LPARAM>(&callback)) != FALSE;
}

int Desktop::GetWindowTextA(WindowHandle window, char* buffer, int max_count) {
    return ::GetWindowTextA(ToHwnd(window), buffer, max_count);
}

bool Desktop::SetWindowPos(WindowHandle window, WindowHandle insert_after, int x, int y, int cx,
                           int cy, unsigned flags) {
    return ::SetWindowPos(ToHwnd(window), ToHwnd(insert_after), x, y, cx, cy, flags) != FALSE;
}

bool Desktop::ShowWindow(WindowHandle window, int command) {
    return ::ShowWindow(ToHwnd(window), command) != FALSE;
}

StartupInfo Desktop::GetStartupInfoA() {
    STARTUPINFOA info{};
    info.cb = sizeof info;
    ::GetStartupInfoA(&info);
    return StartupInfo{static_cast<std::uint32_t>(info.dwFlags), info.wShowWindow};
}

std::intptr_t Desktop::SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wparam,
                                    std::intptr_t lparam) {
    return ::SendMessageA(ToHwnd(window), message, wparam, lparam);
}

int System::GetModuleFileNameA(char* buffer, int size) {
    if (size <= 0)
        return 0;
    return static_cast<int>(::GetModuleFileNameA(nullptr, buffer, static_cast<DWORD>(size)));
}

std::uint32_t System::GetTickCount() {
    return ::GetTickCount();
}

BoxAnswer MessageBoxes::Show(BoxKind kind, std::string_view text, std::string_view caption) {
    return ShowMessageDialog(GetActiveWindow(), kind, text, box_caption(kind, caption));
}

Loop::Loop() {
    WNDCLASSEXA wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Loop::Procedure;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kSinkClass;
    RegisterClassExA(&wc); // fails harmlessly when a second loop registers it again
    sink_.Reset(CreateWindowExA(0, kSinkClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                                GetModuleHandleA(nullptr), nullptr));
    SetWindowLongPtrA(sink_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
}

Loop::~Loop() = default;

LRESULT CALLBACK Loop::Procedure(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
    if (msg == kRunPosted) {
        if (auto* self = reinterpret_cast<Loop*>(GetWindowLongPtrA(window, GWLP_USERDATA)))
            self->RunPosted();
        return 0;
    }
    if (msg == kRunSent) {
        (*reinterpret_cast<const std::function<void()>*>(lparam))();
        return 1;
    }
    return ::DefWindowProcA(window, msg, wparam, lparam);
}

void Loop::RunPosted() {
    std::function<void()> work;
    {
        std::lock_guard lock(mutex_);
        if (posted_.empty())
            return;
        work = std::move(posted_.front());
        posted_.pop_front();
    }
    work();
}

void Loop::Post(std::function<void()> work) {
    {
        std::lock_guard lock(mutex_);
        posted_.push_back(std::move(work));
    }
    PostMessageA(sink_.Get(), kRunPosted, 0, 0);
}

bool Loop::Send(const std::function<void()>& work) {
    // On the loop's own thread SendMessage calls the procedure at once; from another thread it
    // waits until the loop's thread has handled it, and fails once the window is gone.
    return SendMessageA(sink_.Get(), kRunSent, 0, reinterpret_cast<LPARAM>(&work)) == 1;
}

void Loop::Dispatch(MSG& msg) {
    // Tab, arrow keys and the default button work in any top-level window of ours.
    HWND top = msg.hwnd ? GetAncestor(msg.hwnd, GA_ROOT) : nullptr;
    if (top && (GetWindowLongPtrA(top, GWL_EXSTYLE) & WS_EX_CONTROLPARENT) &&
        IsDialogMessageA(top, &msg))
        return;
    TranslateMessage(&msg);
    DispatchMessageA(&msg);
}

void Loop::ProcessMessages() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        if (msg.message == WM_QUIT) {
            quit_ = true;
            // Leave it for the outer loop so Run ends too.
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        Dispatch(msg);
    }
}

void Loop::Quit() {
    quit_ = true;
    PostQuitMessage(0);
}

void Loop::Run() {
    quit_ = false;
    MSG msg;
    while (!quit_) {
        BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0 || got == -1)
            break;
        Dispatch(msg);
    }
}

} // namespace quillop::platform::win32
