#pragma once
// Process-wide kernel services: the executable's path, the clock, and what a worker thread
// needs (its start, its priority, and waits on the clock).

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

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

// A wait without time limit.
inline constexpr std::uint32_t kInfinite = 0xFFFFFFFFu;

// Windows thread priorities (THREAD_PRIORITY_*).
inline constexpr int kThreadPriorityIdle = -15;
inline constexpr int kThreadPriorityLowest = -2;
inline constexpr int kThreadPriorityBelowNormal = -1;
inline constexpr int kThreadPriorityNormal = 0;
inline constexpr int kThreadPriorityAboveNormal = 1;
inline constexpr int kThreadPriorityHighest = 2;
inline constexpr int kThreadPriorityTimeCritical = 15;

// A lock with a condition that waits on the system's clock: what threads share state and wait
// on. Usable with std::unique_lock / std::lock_guard. While holding it, call no System
// operation but GetTickCount (on the sim they share one lock).
class ThreadSync {
public:
    virtual ~ThreadSync() = default;
    virtual void lock() = 0;
    virtual void unlock() = 0;
    // With the lock held: releases it, waits until NotifyAll or until ms milliseconds of the
    // system's clock have passed (kInfinite: no limit; 0: returns at once), takes it again.
    // May return early; callers wait in a loop on their own condition.
    virtual void Wait(std::uint32_t ms) = 0;
    // With the lock held: wakes every thread waiting on this object.
    virtual void NotifyAll() = 0;
};

class System {
public:
    virtual ~System() = default;

    // Full path of the running executable. Writes at most size - 1 characters and a NUL;
    // returns the number of characters written, or size when the path was cut.
    virtual int GetModuleFileNameA(char* buffer, int size) = 0;

    // Milliseconds since the system started, wrapping at 2^32. May be called from any thread.
    virtual std::uint32_t GetTickCount() = 0;

    // The local date and time now.
    virtual SystemTime GetLocalTime() = 0;

    // Fills the memory counts; false when the call failed (status then unchanged).
    virtual bool GlobalMemoryStatusEx(MemoryStatusEx& status) = 0;
    virtual std::unique_ptr<ThreadSync> CreateThreadSync() = 0;

    // Starts a thread running body. The System must outlive it.
    virtual std::thread StartThread(std::function<void()> body) = 0;

    // Gives the calling thread a Windows thread priority (kThreadPriority*).
    virtual bool SetThreadPriority(int priority) = 0;
};

} // namespace quillop::platform
