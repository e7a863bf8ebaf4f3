// Hidden message windows with a std::function as window procedure, and their timers.
#include "win32_services.h"

namespace quillop::platform::win32 {

namespace {

constexpr const char* kMessageWindowClass = "QuillopMessageWindow";

class MessageWindow final : public platform::MessageWindow {
public:
    explicit MessageWindow(WindowProcedure procedure)
        : procedure_(std::make_shared<WindowProcedure>(std::move(procedure))) {
        static const ATOM registered = [] {
            WNDCLASSEXA wc{};
            wc.cbSize = sizeof wc;
            wc.lpfnWndProc = &MessageWindow::Procedure;
            wc.hInstance = GetModuleHandleA(nullptr);
            wc.lpszClassName = kMessageWindowClass;
            return RegisterClassExA(&wc);
        }();
        (void)registered;
        window_.Reset(CreateWindowExA(0, kMessageWindowClass, nullptr, 0, 0, 0, 0, 0, HWND_MESSAGE,
                                      nullptr, GetModuleHandleA(nullptr), nullptr));
        if (window_)
            SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    }
    ~MessageWindow() override {
        // Messages of the window's destruction no longer reach the procedure.
        if (window_)
            SetWindowLongPtrA(window_.Get(), GWLP_USERDATA, 0);
    }
    bool Valid() const { return static_cast<bool>(window_); }
    WindowHandle Handle() const override { return FromHwnd(window_.Get()); }

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wparam, LPARAM lparam) {
        auto* self = reinterpret_cast<MessageWindow*>(GetWindowLongPtrA(window, GWLP_USERDATA));
        if (self == nullptr)
            return DefWindowProcA(window, msg, wparam, lparam);
        // The procedure may destroy this object; its target lives until it returns.
        const std::shared_ptr<WindowProcedure> procedure = self->procedure_;
        return (*procedure)(FromHwnd(window), msg, wparam, lparam);
    }

    std::shared_ptr<WindowProcedure> procedure_;
    OwnedWindow window_;
};

} // namespace

std::unique_ptr<platform::MessageWindow> Loop::AllocateHWnd(WindowProcedure procedure) {
    auto window = std::make_unique<MessageWindow>(std::move(procedure));
    if (!window->Valid())
        return nullptr;
    return window;
}

bool Loop::SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t elapse) {
    return ::SetTimer(ToHwnd(window), id, elapse, nullptr) != 0;
}

bool Loop::KillTimer(WindowHandle window, std::uintptr_t id) {
    return ::KillTimer(ToHwnd(window), id) != FALSE;
}

std::intptr_t Loop::DefWindowProcA(WindowHandle window, unsigned message, std::uintptr_t wparam,
                                   std::intptr_t lparam) {
    return ::DefWindowProcA(ToHwnd(window), message, wparam, lparam);
}

} // namespace quillop::platform::win32
