#pragma once
// The running executable's path and the names made from it: the settings file, the readme
// and the catalog beside it, the name of its Run value.

#include "platform/system.h"

#include <string>
#include <string_view>

namespace quillop::settings {

// The full module path (GetModuleFileNameA for the executable itself), never cut.
std::string Module_Path(platform::System& system);

// The path up to and including its last "\" or ":"; empty when it has neither.
std::string_view Directory_Of(std::string_view path);

// The part of the path after its last "\" or ":".
std::string_view File_Name_Of(std::string_view path);

} // namespace quillop::settings
