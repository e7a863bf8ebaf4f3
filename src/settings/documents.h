#pragma once
// The Help menu's two documents beside the executable, opened in Notepad.

#include "platform/services.h"

#include <string>
#include <string_view>

namespace quillop::settings {

// The executable's directory, its file name up to the first ".", then ".txt".
std::string Readme_File_Path(std::string_view module_path);
// The executable's directory, then "catalog.txt".
std::string Catalog_File_Path(std::string_view module_path);

// "Notepad.exe " and the path, unquoted and whole.
std::string Notepad_Command_Line(std::string_view path);

// Starts Notepad on path when the Windows directory holds Notepad.EXE; otherwise says so in an
// Information box. Nothing waits for the editor, and its start is not checked.
void View_Text_File(platform::Services& services, std::string_view path);
// Opens the readme, whether or not it exists (Notepad then reports it missing).
void View_Readme_File(platform::Services& services);
// Opens catalog.txt, or tells the user it's missing; title is the product title.
void View_Catalog_File(platform::Services& services, std::string_view title);

} // namespace quillop::settings
