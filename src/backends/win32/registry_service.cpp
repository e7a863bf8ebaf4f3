// The registry over advapi32.
#include "win32_services.h"

namespace quillop::platform::win32 {

namespace {

HKEY ToHkey(KeyHandle key) {
    return reinterpret_cast<HKEY>(key);
}

} // namespace

std::uint32_t Registry::RegOpenKeyExA(KeyHandle key, const char* sub_key, std::uint32_t options,
                                      std::uint32_t desired, KeyHandle* result) {
    HKEY opened = nullptr;
    const LONG status = ::RegOpenKeyExA(ToHkey(key), sub_key, options, desired, &opened);
    if (status == ERROR_SUCCESS && result != nullptr)
        *result = reinterpret_cast<KeyHandle>(opened);
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Registry::RegCloseKey(KeyHandle key) {
    return static_cast<std::uint32_t>(::RegCloseKey(ToHkey(key)));
}

std::uint32_t Registry::RegSetValueExA(KeyHandle key, const char* name, std::uint32_t reserved,
                                       std::uint32_t type, const std::uint8_t* data,
                                       std::uint32_t size) {
    return static_cast<std::uint32_t>(
        ::RegSetValueExA(ToHkey(key), name, reserved, type, data, size));
}

std::uint32_t Registry::RegQueryValueExA(KeyHandle key, const char* name, std::uint32_t* reserved,
                                         std::uint32_t* type, std::uint8_t* data,
                                         std::uint32_t* size) {
    // DWORD is unsigned long here: copy through DWORDs.
    DWORD got_type = 0;
    DWORD got_size = size != nullptr ? *size : 0;
    const LONG status = ::RegQueryValueExA(ToHkey(key), name, reinterpret_cast<LPDWORD>(reserved),
                                           type != nullptr ? &got_type : nullptr, data,
                                           size != nullptr ? &got_size : nullptr);
    if (type != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA))
        *type = got_type;
    if (size != nullptr && (status == ERROR_SUCCESS || status == ERROR_MORE_DATA))
        *size = got_size;
    return static_cast<std::uint32_t>(status);
}

std::uint32_t Registry::RegDeleteValueA(KeyHandle key, const char* name) {
    return static_cast<std::uint32_t>(::RegDeleteValueA(ToHkey(key), name));
}

} // namespace quillop::platform::win32
