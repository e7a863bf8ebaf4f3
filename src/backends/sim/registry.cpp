#include "backends/sim/registry.h"

#include <algorithm>
#include <cstring>

namespace quillop::platform::sim {

namespace {

// The rights a key's grant decides (the WOW64 view flags and MAXIMUM_ALLOWED aside).
constexpr std::uint32_t kAccessRights = 0xFFFFF & ~0x300u;

std::string upper(std::string_view s) {
    std::string u(s);
    std::transform(u.begin(), u.end(), u.begin(),
                   [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 32) : c; });
    return u;
}

std::vector<std::string> split(std::string_view path) {
    std::vector<std::string> parts;
    std::size_t i = 0;
    while (i <= path.size()) {
        const std::size_t j = std::min(path.find('\\', i), path.size());
        if (j > i) {
            parts.emplace_back(path.substr(i, j - i));
        }
        i = j + 1;
    }
    return parts;
}

std::string root_text(KeyHandle key) {
    if (key == kHkeyClassesRoot) {
        return "HKCR";
    }
    if (key == kHkeyCurrentUser) {
        return "HKCU";
    }
    if (key == kHkeyLocalMachine) {
        return "HKLM";
    }
    if (key == kHkeyUsers) {
        return "HKU";
    }
    return std::to_string(key);
}

} // namespace

struct Registry::Key {
    std::string name;
    bool deleted = false; // removed while a handle was open
    std::uint32_t granted = kKeyAllAccess;
    std::map<std::string, std::shared_ptr<Key>> children;                // by upper-case name
    std::map<std::string, std::pair<std::string, RegistryValue>> values; // upper-case name
};

Registry::Registry(CallLog& log, Faults& faults) : log_(log), faults_(faults) {
    for (KeyHandle root : {kHkeyClassesRoot, kHkeyCurrentUser, kHkeyLocalMachine, kHkeyUsers}) {
        auto key = std::make_shared<Key>();
        key->name = root_text(root);
        roots_[root] = key;
    }
}

Registry::~Registry() = default;

std::shared_ptr<Registry::Key> Registry::Root(KeyHandle root) const {
    auto it = roots_.find(root);
    return it == roots_.end() ? nullptr : it->second;
}

std::shared_ptr<Registry::Key> Registry::Find(KeyHandle root, std::string_view path) const {
    std::shared_ptr<Key> key = Root(root);
    for (const std::string& part : split(path)) {
        if (key == nullptr) {
            break;
        }
        auto it = key->children.find(upper(part));
        key = it == key->children.end() ? nullptr : it->second;
    }
    return key;
}

void Registry::AddKey(KeyHandle root, std::string_view path, std::uint32_t granted) {
    std::shared_ptr<Key> key = Root(root);
    if (key == nullptr) {
        return;
    }
    for (const std::string& part : split(path)) {
        auto& child = key->children[upper(part)];
        if (child == nullptr) {
            child = std::make_shared<Key>();
            child->name = part;
        }
        key = child;
    }
    key->granted = granted;
}

void Registry::SetGranted(KeyHandle root, std::string_view path, std::uint32_t granted) {
    if (auto key = Find(root, path)) {
        key->granted = granted;
    }
}

void Registry::RemoveKey(KeyHandle root, std::string_view path) {
    auto parts = split(path);
    if (parts.empty()) {
        return;
    }
    const std::string last = upper(parts.back());
    parts.pop_back();
    std::string parent_path;
    for (const std::string& part : parts) {
        parent_path += part + "\\";
    }
    if (auto parent = Find(root, parent_path)) {
        auto it = parent->children.find(last);
        if (it == parent->children.end()) {
            return;
        }
        // Handles still open on the key (or below it) now fail with kErrorKeyDeleted.
        std::vector<std::shared_ptr<Key>> stack{it->second};
        while (!stack.empty()) {
            auto k = stack.back();
            stack.pop_back();
            k->deleted = true;
            for (auto& [name, child] : k->children) {
                stack.push_back(child);
            }
        }
        parent->children.erase(it);
    }
}

bool Registry::KeyExists(KeyHandle root, std::string_view path) const {
    return Find(root, path) != nullptr;
}

void Registry::SetValue(KeyHandle root, std::string_view path, std::string_view name,
                        RegistryValue value) {
    AddKey(root, path, Find(root, path) ? Find(root, path)->granted : kKeyAllAccess);
    Find(root, path)->values[upper(name)] = {std::string(name), std::move(value)};
}

void Registry::SetString(KeyHandle root, std::string_view path, std::string_view name,
                         std::string_view text) {
    std::string bytes(text);
    bytes.push_back('\0');
    SetValue(root, path, name, RegistryValue{kRegSz, std::move(bytes)});
}

std::optional<RegistryValue> Registry::Value(KeyHandle root, std::string_view path,
                                             std::string_view name) const {
    auto key = Find(root, path);
    if (key == nullptr) {
        return std::nullopt;
    }
    auto it = key->values.find(upper(name));
    if (it == key->values.end()) {
        return std::nullopt;
    }
    return it->second.second;
}

const Registry::Handle* Registry::Resolve(KeyHandle key, Handle& predefined) const {
    if (auto root = Root(key)) {
        // Predefined keys are open with every right.
        predefined = Handle{root, kKeyAllAccess, root_text(key)};
        return &predefined;
    }
    auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : &it->second;
}

std::string Registry::KeyText(KeyHandle key) const {
    if (Root(key)) {
        return root_text(key);
    }
    return std::to_string(key);
}

std::uint32_t Registry::RegOpenKeyExA(KeyHandle key, const char* sub_key, std::uint32_t options,
                                      std::uint32_t desired, KeyHandle* result) {
    std::uint32_t status = kErrorSuccess;
    Handle predefined;
    const Handle* parent = Resolve(key, predefined);
    const std::string sub = sub_key == nullptr ? std::string() : std::string(sub_key);
    KeyHandle opened = 0;
    if (const auto fault = faults_.Check("RegOpenKeyExA")) {
        status = *fault;
    } else if (parent == nullptr) {
        status = kErrorInvalidHandle;
    } else if (parent->key->deleted) {
        status = kErrorKeyDeleted;
    } else if (result == nullptr) {
        status = kErrorInvalidParameter;
    } else if (!sub.empty() && sub.front() == '\\') {
        // A sub-key names a path below the key; a leading "\" is no part of it.
        status = kErrorBadPathname;
    } else {
        std::shared_ptr<Key> k = parent->key;
        for (const std::string& part : split(sub)) {
            auto it = k->children.find(upper(part));
            if (it == k->children.end()) {
                k = nullptr;
                break;
            }
            k = it->second;
        }
        if (k == nullptr) {
            status = kErrorFileNotFound;
        } else if ((desired & kAccessRights & ~k->granted) != 0) {
            status = kErrorAccessDenied;
        } else {
            opened = next_handle_;
            next_handle_ += 4;
            handles_[opened] = Handle{k, desired, parent->path + (sub.empty() ? "" : "\\" + sub)};
            *result = opened;
        }
    }
    log_.Add("RegOpenKeyExA(" + KeyText(key) + ", " + quoted(sub_key) + ", " +
             std::to_string(options) + ", " + hex_text(desired) + ") -> " + std::to_string(status) +
             (status == kErrorSuccess ? " " + std::to_string(opened) : ""));
    return status;
}

std::uint32_t Registry::RegCloseKey(KeyHandle key) {
    std::uint32_t status = kErrorSuccess;
    if (const auto fault = faults_.Check("RegCloseKey")) {
        status = *fault;
    } else if (!Root(key) && handles_.erase(key) == 0) {
        status = kErrorInvalidHandle;
    }
    log_.Add("RegCloseKey(" + KeyText(key) + ") -> " + std::to_string(status));
    return status;
}

std::uint32_t Registry::RegSetValueExA(KeyHandle key, const char* name, std::uint32_t reserved,
                                       std::uint32_t type, const std::uint8_t* data,
                                       std::uint32_t size) {
    std::uint32_t status = kErrorSuccess;
    Handle predefined;
    const Handle* h = Resolve(key, predefined);
    if (const auto fault = faults_.Check("RegSetValueExA")) {
        status = *fault;
    } else if (h == nullptr) {
        status = kErrorInvalidHandle;
    } else if (h->key->deleted) {
        status = kErrorKeyDeleted;
    } else if ((h->granted & kKeySetValue) == 0) {
        status = kErrorAccessDenied;
    } else if (data == nullptr && size != 0) {
        status = kErrorNoAccess;
    } else {
        const std::string n = name == nullptr ? std::string() : std::string(name);
        std::uint32_t count = data == nullptr ? 0 : size;
        // A string whose size forgot its NUL gets it counted when the next byte is one, as
        // Windows does (it reads that byte too).
        const bool text = type == kRegSz || type == kRegExpandSz || type == kRegMultiSz;
        if (text && count > 0 && data[count - 1] != 0 && data[count] == 0) {
            ++count;
        }
        std::string bytes(reinterpret_cast<const char*>(data), count);
        h->key->values[upper(n)] = {n, RegistryValue{type, std::move(bytes)}};
    }
    log_.Add("RegSetValueExA(" + KeyText(key) + ", " + quoted(name) + ", " +
             std::to_string(reserved) + ", " + std::to_string(type) + ", " +
             (data == nullptr
                  ? std::string("NULL")
                  : quoted(std::string(reinterpret_cast<const char*>(data),
                                       strnlen(reinterpret_cast<const char*>(data), size))
                               .c_str())) +
             ", " + std::to_string(size) + ") -> " + std::to_string(status));
    return status;
}

std::uint32_t Registry::RegQueryValueExA(KeyHandle key, const char* name, std::uint32_t* reserved,
                                         std::uint32_t* type, std::uint8_t* data,
                                         std::uint32_t* size) {
    std::uint32_t status = kErrorSuccess;
    Handle predefined;
    const Handle* h = Resolve(key, predefined);
    const std::uint32_t given = size == nullptr ? 0 : *size;
    if (const auto fault = faults_.Check("RegQueryValueExA")) {
        status = *fault;
    } else if (h == nullptr) {
        status = kErrorInvalidHandle;
    } else if (h->key->deleted) {
        status = kErrorKeyDeleted;
    } else if ((h->granted & kKeyQueryValue) == 0) {
        status = kErrorAccessDenied;
    } else if (reserved != nullptr || (data != nullptr && size == nullptr)) {
        status = kErrorInvalidParameter;
    } else {
        auto it = h->key->values.find(upper(name == nullptr ? "" : name));
        if (it == h->key->values.end()) {
            status = kErrorFileNotFound;
        } else {
            const RegistryValue& v = it->second.second;
            const auto needed = static_cast<std::uint32_t>(v.bytes.size());
            if (type != nullptr) {
                *type = v.type;
            }
            if (data != nullptr && given < needed) {
                status = kErrorMoreData;
            } else if (data != nullptr) {
                std::memcpy(data, v.bytes.data(), needed);
                // A string stored without its NUL gets one when the buffer has room.
                const bool text =
                    v.type == kRegSz || v.type == kRegExpandSz || v.type == kRegMultiSz;
                if (text && needed < given && (needed == 0 || v.bytes.back() != '\0')) {
                    data[needed] = 0;
                }
            }
            if (size != nullptr) {
                *size = needed;
            }
        }
    }
    log_.Add("RegQueryValueExA(" + KeyText(key) + ", " + quoted(name) + ", " +
             (data == nullptr ? "NULL" : "buffer") + ", " +
             (size == nullptr ? std::string("NULL") : std::to_string(given)) + ") -> " +
             std::to_string(status) +
             (size != nullptr && (status == kErrorSuccess || status == kErrorMoreData)
                  ? " size " + std::to_string(*size)
                  : std::string()));
    return status;
}

std::uint32_t Registry::RegDeleteValueA(KeyHandle key, const char* name) {
    std::uint32_t status = kErrorSuccess;
    Handle predefined;
    const Handle* h = Resolve(key, predefined);
    if (const auto fault = faults_.Check("RegDeleteValueA")) {
        status = *fault;
    } else if (h == nullptr) {
        status = kErrorInvalidHandle;
    } else if (h->key->deleted) {
        status = kErrorKeyDeleted;
    } else if ((h->granted & kKeySetValue) == 0) {
        status = kErrorAccessDenied;
    } else if (h->key->values.erase(upper(name == nullptr ? "" : name)) == 0) {
        status = kErrorFileNotFound;
    }
    log_.Add("RegDeleteValueA(" + KeyText(key) + ", " + quoted(name) + ") -> " +
             std::to_string(status));
    return status;
}

} // namespace quillop::platform::sim
