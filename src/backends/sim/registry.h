#pragma once
// A registry tree: keys (names compared without regard to case) with the access rights this
// user is granted, values with types and bytes, and handles that carry their granted access.

#include "backends/sim/journal.h"
#include "platform/registry.h"

#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace quillop::platform::sim {

struct RegistryValue {
    std::uint32_t type = kRegSz;
    std::string bytes; // exactly the bytes stored, NUL included when the writer passed it
    friend bool operator==(const RegistryValue&, const RegistryValue&) = default;
};

class Registry final : public platform::Registry {
public:
    Registry(CallLog& log, Faults& faults);
    ~Registry() override;

    // Setup and inspection for tests; not logged, no faults. path is below root, without a
    // leading "\" ("Software\\Microsoft\\Windows\\CurrentVersion\\Run"). Missing keys on the
    // way are created with all access granted.
    void AddKey(KeyHandle root, std::string_view path, std::uint32_t granted = kKeyAllAccess);
    // The access rights this user has on an existing key.
    void SetGranted(KeyHandle root, std::string_view path, std::uint32_t granted);
    void RemoveKey(KeyHandle root, std::string_view path);
    bool KeyExists(KeyHandle root, std::string_view path) const;
    void SetValue(KeyHandle root, std::string_view path, std::string_view name,
                  RegistryValue value);
    // A REG_SZ value holding text and its NUL.
    void SetString(KeyHandle root, std::string_view path, std::string_view name,
                   std::string_view text);
    std::optional<RegistryValue> Value(KeyHandle root, std::string_view path,
                                       std::string_view name) const;
    // Handles opened and not yet closed (a leak shows here).
    std::size_t OpenHandles() const { return handles_.size(); }

    std::uint32_t RegOpenKeyExA(KeyHandle key, const char* sub_key, std::uint32_t options,
                                std::uint32_t desired, KeyHandle* result) override;
    std::uint32_t RegCloseKey(KeyHandle key) override;
    std::uint32_t RegSetValueExA(KeyHandle key, const char* name, std::uint32_t reserved,
                                 std::uint32_t type, const std::uint8_t* data,
                                 std::uint32_t size) override;
    std::uint32_t RegQueryValueExA(KeyHandle key, const char* name, std::uint32_t* reserved,
                                   std::uint32_t* type, std::uint8_t* data,
                                   std::uint32_t* size) override;
    std::uint32_t RegDeleteValueA(KeyHandle key, const char* name) override;

    struct Key;

private:
    struct Handle {
        std::shared_ptr<Key> key;
        std::uint32_t granted = 0;
        std::string path; // for the log
    };

    std::shared_ptr<Key> Root(KeyHandle root) const;
    std::shared_ptr<Key> Find(KeyHandle root, std::string_view path) const;
    // The key and granted access a handle stands for; nullptr for a bad handle.
    const Handle* Resolve(KeyHandle key, Handle& predefined) const;
    std::string KeyText(KeyHandle key) const;

    CallLog& log_;
    Faults& faults_;
    std::map<KeyHandle, std::shared_ptr<Key>> roots_;
    std::map<KeyHandle, Handle> handles_;
    KeyHandle next_handle_ = 0x1000;
};

} // namespace quillop::platform::sim
