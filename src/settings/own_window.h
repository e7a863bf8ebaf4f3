#pragma once
// The File menu's options for the utility's own window: Always On Top and Restore Factory
// Defaults, with the two file routines the latter relies on.

#include "platform/services.h"
#include "ui/form.h"
#include "ui/menu.h"

#include <functional>
#include <string>
#include <string_view>

namespace quillop::settings {

// Flips the check mark, then makes the window topmost (checked) or not topmost, without
// moving, sizing or activating it. The check mark is the only record of the state.
void Toggle_Always_On_Top(platform::Services& services, ui::Form& window, ui::MenuItem& option);

// "CLOSED", "OPEN", "NOT FOUND", "ERROR", or empty for an empty path or no such file (a
// directory doesn't count). Paths of 128 characters or more are tested with CreateFileA
// (OpenFile takes at most 127), with the same mapping of error codes.
std::string Get_File_Status(platform::Services& services, std::string_view path);

// Clears the file's attributes and deletes it when no process holds it. True when it was
// deleted and is gone.
bool Delete_File_If_Closed(platform::Services& services, std::string_view path);

// The confirmation question, four texts unscrambled and joined.
std::string Restore_Question();

// Asks; unless the answer is No, deletes the settings file (when no process holds it),
// restores the window and runs form_show, which applies the defaults.
void Restore_Factory_Defaults(platform::Services& services, ui::Form& window,
                              const std::function<void()>& form_show);

} // namespace quillop::settings
