#include "backends/sim/profile.h"

namespace quillop::platform::sim {

// Not built yet: every call fails.
std::uint32_t Profile::GetPrivateProfileStringA(const char*, const char*, const char*, char* buffer,
                                                std::uint32_t size, const char*) {
    if (buffer != nullptr && size > 0) {
        buffer[0] = '\0';
    }
    files_.SetLastError(kErrorInvalidFunction);
    return 0;
}

bool Profile::WritePrivateProfileStringA(const char*, const char*, const char*, const char*) {
    files_.SetLastError(kErrorInvalidFunction);
    return false;
}

} // namespace quillop::platform::sim
