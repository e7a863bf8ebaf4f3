#pragma once
// Process-wide kernel services.

#include <cstdint>

namespace quillop::platform {

class System {
public:
    virtual ~System() = default;

    // Full path of the running executable. Writes at most size - 1 characters and a NUL;
    // returns the number of characters written, or size when the path was cut.
    virtual int GetModuleFileNameA(char* buffer, int size) = 0;

    // Milliseconds since the system started, wrapping at 2^32.
    virtual std::uint32_t GetTickCount() = 0;
};

} // namespace quillop::platform
