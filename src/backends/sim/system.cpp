#include "backends/sim/system.h"

#include <algorithm>
#include <cstring>

namespace quillop::platform::sim {

int System::GetModuleFileNameA(char* buffer, int size) {
    if (buffer == nullptr || size <= 0) {
        return 0;
    }
    const auto cap = static_cast<std::size_t>(size - 1);
    const std::size_t n = std::min(module_.size(), cap);
    std::memcpy(buffer, module_.data(), n);
    buffer[n] = '\0';
    return module_.size() > cap ? size : static_cast<int>(n);
}

bool System::GlobalMemoryStatusEx(MemoryStatusEx& status) {
    if (fail_memory_) {
        return false;
    }
    status = memory_;
    return true;
}

} // namespace quillop::platform::sim
