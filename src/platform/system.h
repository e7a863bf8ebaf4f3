#pragma once
// Process-wide kernel services: the executable's path, the clock, and what a worker thread
// needs (its start, its priority, and waits on the clock).

#include <cstdint>
#include <functional>
#include <memory>
#include <thread>

namespace quillop::platform {

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

    virtual std::unique_ptr<ThreadSync> CreateThreadSync() = 0;

    // Starts a thread running body. The System must outlive it.
    virtual std::thread StartThread(std::function<void()> body) = 0;

    // Gives the calling thread a Windows thread priority (kThreadPriority*).
    virtual bool SetThreadPriority(int priority) = 0;
};

} // namespace quillop::platform
