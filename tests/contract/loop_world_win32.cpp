// The loop contract cases over the real Win32 loop: real time, real timers.
#include "loop_world.h"

#include "win32_services.h"

#include <windows.h>

namespace quillop::contract {

namespace {

class Win32LoopWorld final : public LoopWorld {
public:
    platform::Loop& loop() override { return loop_; }
    bool RunUntil(const std::function<bool()>& done, std::uint32_t limit) override {
        const DWORD start = GetTickCount();
        while (!done() && GetTickCount() - start < limit) {
            loop_.ProcessMessages();
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 1, QS_ALLINPUT);
        }
        loop_.ProcessMessages();
        return done();
    }

private:
    platform::win32::Loop loop_;
};

} // namespace

std::unique_ptr<LoopWorld> MakeLoopWorld() {
    return std::make_unique<Win32LoopWorld>();
}

} // namespace quillop::contract
