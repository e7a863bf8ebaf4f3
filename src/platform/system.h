#pragma once
// Process-wide kernel services.

#include <cstdint>

namespace quillop::platform {

// The members of SYSTEMTIME: a local date and time.
struct SystemTime {
    std::uint16_t wYear = 0;
    std::uint16_t wMonth = 0;     // 1 to 12
    std::uint16_t wDayOfWeek = 0; // 0 Sunday to 6 Saturday
    std::uint16_t wDay = 0;       // 1 to 31
    std::uint16_t wHour = 0;
    std::uint16_t wMinute = 0;
    std::uint16_t wSecond = 0;
    std::uint16_t wMilliseconds = 0;
    friend bool operator==(const SystemTime&, const SystemTime&) = default;
};

// The members of MEMORYSTATUSEX: 64-bit byte counts, right past 4 GB.
struct MemoryStatusEx {
    std::uint32_t dwMemoryLoad = 0; // per cent of physical memory in use
    std::uint64_t ullTotalPhys = 0;
    std::uint64_t ullAvailPhys = 0;
    std::uint64_t ullTotalPageFile = 0;
    std::uint64_t ullAvailPageFile = 0;
    std::uint64_t ullTotalVirtual = 0;
    std::uint64_t ullAvailVirtual = 0;
    friend bool operator==(const MemoryStatusEx&, const MemoryStatusEx&) = default;
};

class System {
public:
    virtual ~System() = default;

    // Full path of the running executable. Writes at most size - 1 characters and a NUL;
    // returns the number of characters written, or size when the path was cut.
    virtual int GetModuleFileNameA(char* buffer, int size) = 0;

    // Milliseconds since the system started, wrapping at 2^32.
    virtual std::uint32_t GetTickCount() = 0;

    // The local date and time now.
    virtual SystemTime GetLocalTime() = 0;

    // Fills the memory counts; false when the call failed (status then unchanged).
    virtual bool GlobalMemoryStatusEx(MemoryStatusEx& status) = 0;
};

} // namespace quillop::platform
