#pragma once
// Kernel services with a settable executable path, a virtual clock, a settable local date
// and memory counts.

#include "platform/system.h"

#include <string>

namespace quillop::platform::sim {

class System final : public platform::System {
public:
    void SetModuleFileName(std::string path) { module_ = std::move(path); }
    void SetTickCount(std::uint32_t ticks) { ticks_ = ticks; }
    void Advance(std::uint32_t ms) { ticks_ += ms; }

    void SetLocalTime(SystemTime time) { local_time_ = time; }
    void SetMemoryStatus(MemoryStatusEx status) { memory_ = status; }
    // GlobalMemoryStatusEx fails (returns false) while set.
    void FailMemoryStatus(bool fail) { fail_memory_ = fail; }

    int GetModuleFileNameA(char* buffer, int size) override;
    std::uint32_t GetTickCount() override { return ticks_; }
    SystemTime GetLocalTime() override { return local_time_; }
    bool GlobalMemoryStatusEx(MemoryStatusEx& status) override;

private:
    std::string module_ = "C:\\Program Files\\Quillop\\Quillop.exe";
    std::uint32_t ticks_ = 0;
    // Thursday 10 December 2026, 09:30:00.000.
    SystemTime local_time_{2026, 12, 4, 10, 9, 30, 0, 0};
    // 4 GiB physical (1 GiB free), 8 GiB page file (5 GiB free).
    MemoryStatusEx memory_{75,         4ull << 30,   1ull << 30,  8ull << 30,
                           5ull << 30, 128ull << 40, 127ull << 40};
    bool fail_memory_ = false;
};

} // namespace quillop::platform::sim
