#pragma once
// Kernel services with a settable executable path and a virtual clock.

#include "platform/system.h"

#include <string>

namespace quillop::platform::sim {

class System final : public platform::System {
public:
    void SetModuleFileName(std::string path) { module_ = std::move(path); }
    void SetTickCount(std::uint32_t ticks) { ticks_ = ticks; }
    void Advance(std::uint32_t ms) { ticks_ += ms; }

    int GetModuleFileNameA(char* buffer, int size) override;
    std::uint32_t GetTickCount() override { return ticks_; }

private:
    std::string module_ = "C:\\Program Files\\Quillop\\Quillop.exe";
    std::uint32_t ticks_ = 0;
};

} // namespace quillop::platform::sim
