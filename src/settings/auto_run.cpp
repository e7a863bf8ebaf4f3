#include "settings/auto_run.h"

#include "settings/module_path.h"
#include "ui/error.h"

#include <vector>

namespace quillop::settings {

namespace {

using platform::BoxKind;
using platform::KeyHandle;

std::string sub_key_of(std::string_view key) {
    return std::string(!key.empty() && key[0] == '\\' ? key.substr(1) : key);
}

// The probe: the key exists when it opens with full access. The handle is closed at once.
bool key_opens(platform::Registry& registry, KeyHandle root, const std::string& sub_key) {
    KeyHandle probe = 0;
    if (registry.RegOpenKeyExA(root, sub_key.c_str(), 0, platform::kKeyAllAccess, &probe) !=
        platform::kErrorSuccess) {
        return false;
    }
    registry.RegCloseKey(probe);
    return true;
}

// The probe, then the open that the rest of the routine uses; 0 when the key doesn't open.
KeyHandle open_key(platform::Registry& registry, KeyHandle root, std::string_view key) {
    const std::string sub_key = sub_key_of(key);
    if (!key_opens(registry, root, sub_key)) {
        return 0;
    }
    KeyHandle handle = 0;
    if (registry.RegOpenKeyExA(root, sub_key.c_str(), 0, platform::kKeyAllAccess, &handle) !=
        platform::kErrorSuccess) {
        return 0;
    }
    return handle;
}

// The two-call read: the size (and type) first, then the data.
std::string read_value(platform::Registry& registry, KeyHandle key, const std::string& name) {
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    if (registry.RegQueryValueExA(key, name.c_str(), nullptr, &type, nullptr, &size) !=
            platform::kErrorSuccess ||
        size == 0) {
        return {};
    }
    std::vector<std::uint8_t> data(size);
    if (registry.RegQueryValueExA(key, name.c_str(), nullptr, &type, data.data(), &size) !=
        platform::kErrorSuccess) {
        throw Error("Failed to get data for '" + name + "'");
    }
    if (type != platform::kRegSz && type != platform::kRegExpandSz) {
        throw Error("Invalid data type for '" + name + "'");
    }
    std::string text(data.begin(), data.begin() + std::min<std::size_t>(size, data.size()));
    const std::size_t nul = text.find('\0');
    if (nul != std::string::npos) {
        text.resize(nul);
    }
    return text;
}

std::string message_head(std::string_view first_line, std::string_view second_line,
                         std::string_view key, std::string_view name) {
    std::string text;
    text.append(first_line).append(" \r\n").append(second_line).append("  \r\n\r\n");
    text.append(" Error Key   = ").append(key).append("\r\n");
    text.append(" Error Item  = ").append(name).append("\r\n");
    return text;
}

constexpr std::string_view kContactAuthor = "Please contact the program's author.";
constexpr std::string_view kKeyMissing1 = "Error: The specified Registry Key for this operation";
constexpr std::string_view kKeyMissing2 = "does NOT exist on your PC.";

std::string fold_a_to_z(std::string_view text) {
    std::string folded(text);
    for (char& c : folded) {
        if (c >= 'a' && c <= 'z') {
            c = static_cast<char>(c - 'a' + 'A');
        }
    }
    return folded;
}

} // namespace

std::string Key_Missing_Write_Message(std::string_view key, std::string_view name,
                                      std::string_view value) {
    std::string text = message_head(kKeyMissing1, kKeyMissing2, key, name);
    text.append(" Error Value = ").append(value).append("\r\n\r\n").append(kContactAuthor);
    return text;
}

std::string Not_Saved_Message(std::string_view key, std::string_view name, std::string_view value) {
    std::string text = message_head("Error: The required settings could not be created",
                                    "or saved in the Windows Registry.", key, name);
    text.append(" Error Value = ").append(value).append("\r\n\r\n").append(kContactAuthor);
    return text;
}

std::string Key_Missing_Delete_Message(std::string_view key, std::string_view name) {
    return message_head(kKeyMissing1, kKeyMissing2, key, name)
        .append("\r\n")
        .append(kContactAuthor);
}

std::string Not_Removed_Message(std::string_view key, std::string_view name) {
    return message_head("Error: The required Registry Key settings",
                        "could not be removed from the Windows Registry.", key, name)
        .append("\r\n")
        .append(kContactAuthor);
}

bool Write_Registry_String(platform::Services& services, KeyHandle root, std::string_view key,
                           std::string_view name, std::string_view value) {
    platform::Registry& registry = services.registry;
    platform::ScopedKey handle(registry, open_key(registry, root, key));
    if (handle.Get() == 0) {
        services.boxes.Show(BoxKind::Error, Key_Missing_Write_Message(key, name, value), "");
        return false;
    }
    const std::string value_name(name);
    const std::string data(value);
    if (registry.RegSetValueExA(handle.Get(), value_name.c_str(), 0, platform::kRegSz,
                                reinterpret_cast<const std::uint8_t*>(data.c_str()),
                                static_cast<std::uint32_t>(data.size() + 1)) !=
        platform::kErrorSuccess) {
        throw Error("Failed to set data for '" + value_name + "'");
    }
    if (read_value(registry, handle.Get(), value_name) != data) {
        services.boxes.Show(BoxKind::Error, Not_Saved_Message(key, name, value), "");
        return false;
    }
    return true;
}

bool Delete_Registry_Value(platform::Services& services, KeyHandle root, std::string_view key,
                           std::string_view name) {
    platform::Registry& registry = services.registry;
    platform::ScopedKey handle(registry, open_key(registry, root, key));
    if (handle.Get() == 0) {
        services.boxes.Show(BoxKind::Error, Key_Missing_Delete_Message(key, name), "");
        return false;
    }
    const std::string value_name(name);
    registry.RegDeleteValueA(handle.Get(), value_name.c_str());
    if (registry.RegQueryValueExA(handle.Get(), value_name.c_str(), nullptr, nullptr, nullptr,
                                  nullptr) == platform::kErrorSuccess) {
        services.boxes.Show(BoxKind::Error, Not_Removed_Message(key, name), "");
        return false;
    }
    return true;
}

std::string Read_Registry_String(platform::Services& services, KeyHandle root, std::string_view key,
                                 std::string_view name) {
    platform::ScopedKey handle(services.registry, open_key(services.registry, root, key));
    if (handle.Get() == 0) {
        return {};
    }
    return read_value(services.registry, handle.Get(), std::string(name));
}

bool Add_Auto_Run(platform::Services& services) {
    const std::string path = Module_Path(services.system);
    const std::string name(File_Name_Of(path));
    if (!Write_Registry_String(services, platform::kHkeyLocalMachine, Run_Key, name, path)) {
        return false;
    }
    services.boxes.Show(
        BoxKind::Information,
        "This program (" + name + ") will now run automatically at Windows Start-Up.", "");
    return true;
}

bool Remove_Auto_Run(platform::Services& services) {
    const std::string path = Module_Path(services.system);
    const std::string name(File_Name_Of(path));
    if (!Delete_Registry_Value(services, platform::kHkeyLocalMachine, Run_Key, name)) {
        return false;
    }
    services.boxes.Show(BoxKind::Information,
                        "This program (" + name +
                            ") will now no-longer run automatically at Windows Start-Up.",
                        "");
    return true;
}

bool Check_Auto_Run_Path(platform::Services& services) {
    const std::string path = Module_Path(services.system);
    const std::string name(File_Name_Of(path));
    const std::string old =
        Read_Registry_String(services, platform::kHkeyLocalMachine, Run_Key, name);
    if (old.empty()) {
        return false;
    }
    if (fold_a_to_z(old) == fold_a_to_z(path)) {
        return true;
    }
    const std::string question =
        "The directory / path settings required to make this program (" + name + ")" + "\r\n" +
        "run automatically at Windows Start-up do not match where the program " + "\r\n" +
        "is currently being run from." + "\r\n" + "\r\n" + " Old      = " + old + "\r\n" +
        " Current = " + path + "\r\n" + "\r\n" + "Do you want to update the Windows Registry to " +
        "reflect the programs current locaton ?";
    if (services.boxes.Show(BoxKind::WarningQuestion, question, "") == platform::BoxAnswer::Yes) {
        Add_Auto_Run(services);
    }
    return true;
}

} // namespace quillop::settings
