#pragma once
// The registry operations the program uses, with their Win32 results (kError* codes) and the
// two-call size protocol of RegQueryValueExA.

#include "platform/errors.h"

#include <cstdint>
#include <utility>

namespace quillop::platform {

// A registry key handle's value (HKEY reinterpreted as an unsigned integer).
using KeyHandle = std::uintptr_t;

namespace detail {
// Predefined keys are 32-bit values sign-extended to pointer width, as Win32 defines them.
constexpr KeyHandle predefined_key(std::uint32_t value) {
    return static_cast<KeyHandle>(static_cast<std::intptr_t>(static_cast<std::int32_t>(value)));
}
} // namespace detail

// Root keys.
inline constexpr KeyHandle kHkeyClassesRoot = detail::predefined_key(0x80000000u);
inline constexpr KeyHandle kHkeyCurrentUser = detail::predefined_key(0x80000001u);
inline constexpr KeyHandle kHkeyLocalMachine = detail::predefined_key(0x80000002u);
inline constexpr KeyHandle kHkeyUsers = detail::predefined_key(0x80000003u);

// Access rights.
inline constexpr std::uint32_t kKeyQueryValue = 0x0001;
inline constexpr std::uint32_t kKeySetValue = 0x0002;
inline constexpr std::uint32_t kKeyCreateSubKey = 0x0004;
inline constexpr std::uint32_t kKeyEnumerateSubKeys = 0x0008;
inline constexpr std::uint32_t kKeyNotify = 0x0010;
inline constexpr std::uint32_t kKeyCreateLink = 0x0020;
inline constexpr std::uint32_t kKeyRead = 0x20019;
inline constexpr std::uint32_t kKeyWrite = 0x20006;
inline constexpr std::uint32_t kKeyAllAccess = 0xF003F;

// Value types.
inline constexpr std::uint32_t kRegNone = 0;
inline constexpr std::uint32_t kRegSz = 1;
inline constexpr std::uint32_t kRegExpandSz = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegDword = 4;
inline constexpr std::uint32_t kRegMultiSz = 7;
inline constexpr std::uint32_t kRegQword = 11;

class Registry {
public:
    virtual ~Registry() = default;

    // Opens sub_key of key (nullptr or "" opens key itself again) with the desired access; the
    // key must exist. kErrorFileNotFound for a missing key, kErrorAccessDenied when the rights
    // aren't granted. *result is set only on success.
    virtual std::uint32_t RegOpenKeyExA(KeyHandle key, const char* sub_key, std::uint32_t options,
                                        std::uint32_t desired, KeyHandle* result) = 0;

    virtual std::uint32_t RegCloseKey(KeyHandle key) = 0;

    // Stores size bytes of data as value name (nullptr or "": the key's default value) with
    // type. Needs kKeySetValue on the handle.
    virtual std::uint32_t RegSetValueExA(KeyHandle key, const char* name, std::uint32_t reserved,
                                         std::uint32_t type, const std::uint8_t* data,
                                         std::uint32_t size) = 0;

    // Reports a value's type and size, and with data its bytes: with data == nullptr *size
    // becomes the value's size; with a buffer of *size bytes that is too small the result is
    // kErrorMoreData and *size the size needed. Sizes of string values count their NUL. Needs
    // kKeyQueryValue on the handle. type and size may be nullptr (size only without data).
    virtual std::uint32_t RegQueryValueExA(KeyHandle key, const char* name, std::uint32_t* reserved,
                                           std::uint32_t* type, std::uint8_t* data,
                                           std::uint32_t* size) = 0;

    // kErrorFileNotFound when the value doesn't exist. Needs kKeySetValue on the handle.
    virtual std::uint32_t RegDeleteValueA(KeyHandle key, const char* name) = 0;
};

// Closes an opened key at the end of a scope.
class ScopedKey {
public:
    ScopedKey(Registry& registry, KeyHandle key) : registry_(registry), key_(key) {}
    ScopedKey(const ScopedKey&) = delete;
    ScopedKey& operator=(const ScopedKey&) = delete;
    ~ScopedKey() {
        if (key_ != 0) {
            registry_.RegCloseKey(key_);
        }
    }
    KeyHandle Get() const { return key_; }
    KeyHandle Release() { return std::exchange(key_, 0); }

private:
    Registry& registry_;
    KeyHandle key_;
};

} // namespace quillop::platform
