// The real platform services: thin calls into user32 and kernel32.
#pragma once

#include "platform/desktop.h"
#include "platform/loop.h"
#include "platform/message_boxes.h"
#include "platform/services.h"
#include "platform/system.h"

#include "win_handles.h"

#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>

namespace quillop::platform::win32 {

HWND ToHwnd(WindowHandle handle);
WindowHandle FromHwnd(HWND window);

class Desktop final : public platform::Desktop {
public:
    bool EnumWindows(const std::function<bool(WindowHandle)>& callback) override;
    int GetWindowTextA(WindowHandle window, char* buffer, int max_count) override;
    bool SetWindowPos(WindowHandle window, WindowHandle insert_after, int x, int y, int cx, int cy,
                      unsigned flags) override;
    bool ShowWindow(WindowHandle window, int command) override;
    StartupInfo GetStartupInfoA() override;
    std::intptr_t SendMessageA(WindowHandle window, unsigned message, std::uintptr_t wparam,
                               std::intptr_t lparam) override;
};

class System final : public platform::System {
public:
    int GetModuleFileNameA(char* buffer, int size) override;
    std::uint32_t GetTickCount() override;
    std::unique_ptr<platform::ThreadSync> CreateThreadSync() override;
    std::thread StartThread(std::function<void()> body) override;
    bool SetThreadPriority(int priority) override;
};

class MessageBoxes final : public platform::MessageBoxes {
public:
    BoxAnswer Show(BoxKind kind, std::string_view text, std::string_view caption) override;
};

// The user-interface thread's message loop (the thread that makes it). Posted and sent work
// runs from a message-only window, so it also runs inside modal loops (dialogs, menus, the
// sort's message processing). Send is a SendMessage to that window.
class Loop final : public platform::Loop {
public:
    Loop();
    ~Loop() override;
    void ProcessMessages() override;
    void Post(std::function<void()> work) override;
    bool Send(const std::function<void()>& work) override;
    void Quit() override;
    void Run() override;
    // Message-only windows of class "QuillopMessageWindow", timers on them with ::SetTimer.
    std::unique_ptr<platform::MessageWindow> AllocateHWnd(WindowProcedure procedure) override;
    bool SetTimer(WindowHandle window, std::uintptr_t id, std::uint32_t elapse) override;
    bool KillTimer(WindowHandle window, std::uintptr_t id) override;
    std::intptr_t DefWindowProcA(WindowHandle window, unsigned message, std::uintptr_t wparam,
                                 std::intptr_t lparam) override;

private:
    static LRESULT CALLBACK Procedure(HWND window, UINT msg, WPARAM wparam, LPARAM lparam);
    void Dispatch(MSG& msg);
    void RunPosted();

    OwnedWindow sink_;
    std::mutex mutex_;
    std::deque<std::function<void()>> posted_;
    bool quit_ = false;
};

// Every service, owned together; `services` hands references to the application.
struct Win32Services {
    Desktop desktop;
    System system;
    MessageBoxes boxes;
    Loop loop;
    Services services{desktop, system, boxes, loop};
};

} // namespace quillop::platform::win32
