#pragma once
// Automatic start at logon: a value named after the executable's file name, holding its full
// path, under the machine-wide Run key. The generic registry routines show their own messages
// (W1, W2, D1, D2) in an Error box and return false; a value that can't be set or read throws
// quillop::Error, which ends the handler and reaches the application's error box.

#include "platform/registry.h"
#include "platform/services.h"

#include <string>
#include <string_view>

namespace quillop::settings {

// With its leading "\": the path starts at the root key. Messages show it this way.
inline constexpr std::string_view Run_Key = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

// The texts of the messages; key is the text with its leading "\".
std::string Key_Missing_Write_Message(std::string_view key, std::string_view name,
                                      std::string_view value); // W1
std::string Not_Saved_Message(std::string_view key, std::string_view name,
                              std::string_view value);                               // W2
std::string Key_Missing_Delete_Message(std::string_view key, std::string_view name); // D1
std::string Not_Removed_Message(std::string_view key, std::string_view name);        // D2

// Writes a REG_SZ value and reads it back (byte for byte). False after W1 or W2.
bool Write_Registry_String(platform::Services& services, platform::KeyHandle root,
                           std::string_view key, std::string_view name, std::string_view value);
// Deletes a value; true when it is gone afterwards (also when it never was). False after D1
// or D2.
bool Delete_Registry_Value(platform::Services& services, platform::KeyHandle root,
                           std::string_view key, std::string_view name);
// The value's text up to its first NUL (REG_SZ, or REG_EXPAND_SZ unexpanded); empty when the
// key doesn't open with full access, the value is missing or its size is 0.
std::string Read_Registry_String(platform::Services& services, platform::KeyHandle root,
                                 std::string_view key, std::string_view name);

// The Run value for this executable, with the Information box that tells the user.
bool Add_Auto_Run(platform::Services& services);
bool Remove_Auto_Run(platform::Services& services);
// True when a Run value for this executable exists. When its path differs from the running
// executable's (letter case aside) the Warning question offers to write the current one.
bool Check_Auto_Run_Path(platform::Services& services);

} // namespace quillop::settings
