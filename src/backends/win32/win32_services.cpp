#include "win32_services.h"

#include "message_box_dialog.h"

#include <exception>

namespace quillop::platform::win32 {

HWND ToHwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}
WindowHandle FromHwnd(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

namespace {

struct Enumeration {
    const std::function<bool(WindowHandle)>& callback;
    std::exception_ptr error;
};

// An error must not unwind through user32 (the i686 build can't): it is kept, the enumeration
// stops, and Desktop::EnumWindows rethrows it once EnumWindows has returned.
BOOL CALLBACK EnumThunk(HWND window, LPARAM param) {
    auto& enumeration = *reinterpret_cast<Enumeration*>(param);
    try {
        return enumeration.callback(FromHwnd(window)) ? TRUE : FALSE;
    } catch (...) {
        enumeration.error = std::current_exception();
        return FALSE;
    }
}

constexpr UINT kRunPosted = WM_APP + 1;
constexpr UINT kRunSent = WM_APP + 2;
constexpr const char* kSinkClass = "QuillopLoopSink";

} // namespace

bool Desktop::EnumWindows(const std::function<bool(WindowHandle)>& callback) {
    Enumeration enumeration{callback, nullptr};
    const bool result = ::EnumWindows(&EnumThunk, reinterpret_cast<LPARAM>(&enumeration)) != FALSE;
    if (enumeration.error) {
        std::rethrow_exception(enumeration.error);
    }
    return result;
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

bool Desktop::IsZoomed(WindowHandle window) {
    return ::IsZoomed(ToHwnd(window)) != FALSE;
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

SystemTime System::GetLocalTime() {
    SYSTEMTIME t{};
    ::GetLocalTime(&t);
    return SystemTime{t.wYear, t.wMonth,  t.wDayOfWeek, t.wDay,
                      t.wHour, t.wMinute, t.wSecond,    t.wMilliseconds};
}

bool System::GlobalMemoryStatusEx(MemoryStatusEx& status) {
    MEMORYSTATUSEX m{};
    m.dwLength = sizeof m;
    if (!::GlobalMemoryStatusEx(&m))
        return false;
    status = MemoryStatusEx{static_cast<std::uint32_t>(m.dwMemoryLoad),
                            m.ullTotalPhys,
                            m.ullAvailPhys,
                            m.ullTotalPageFile,
                            m.ullAvailPageFile,
                            m.ullTotalVirtual,
                            m.ullAvailVirtual};
    return true;
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

bool Loop::RunUntil(const std::function<bool()>& done) {
    MSG msg;
    while (!done()) {
        const BOOL got = GetMessageA(&msg, nullptr, 0, 0);
        if (got == 0) {
            // Leave the quit for the outer loop, so Run ends too.
            quit_ = true;
            PostQuitMessage(static_cast<int>(msg.wParam));
            return false;
        }
        if (got == -1)
            return false;
        Dispatch(msg);
    }
    return true;
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
