#include "backends/sim/registry.h"

namespace quillop::platform::sim {

// Not built yet: the setup functions keep nothing and every call fails.
struct Registry::Key {};
Registry::Registry(CallLog& log, Faults& faults) : log_(log), faults_(faults) {}
Registry::~Registry() = default;
void Registry::AddKey(KeyHandle, std::string_view, std::uint32_t) {}
void Registry::SetGranted(KeyHandle, std::string_view, std::uint32_t) {}
void Registry::RemoveKey(KeyHandle, std::string_view) {}
bool Registry::KeyExists(KeyHandle, std::string_view) const {
    return false;
}
void Registry::SetValue(KeyHandle, std::string_view, std::string_view, RegistryValue) {}
void Registry::SetString(KeyHandle, std::string_view, std::string_view, std::string_view) {}
std::optional<RegistryValue> Registry::Value(KeyHandle, std::string_view, std::string_view) const {
    return std::nullopt;
}
std::uint32_t Registry::RegOpenKeyExA(KeyHandle, const char*, std::uint32_t, std::uint32_t,
                                      KeyHandle*) {
    return kErrorFileNotFound;
}
std::uint32_t Registry::RegCloseKey(KeyHandle) {
    return kErrorInvalidHandle;
}
std::uint32_t Registry::RegSetValueExA(KeyHandle, const char*, std::uint32_t, std::uint32_t,
                                       const std::uint8_t*, std::uint32_t) {
    return kErrorInvalidHandle;
}
std::uint32_t Registry::RegQueryValueExA(KeyHandle, const char*, std::uint32_t*, std::uint32_t*,
                                         std::uint8_t*, std::uint32_t*) {
    return kErrorInvalidHandle;
}
std::uint32_t Registry::RegDeleteValueA(KeyHandle, const char*) {
    return kErrorInvalidHandle;
}

} // namespace quillop::platform::sim
