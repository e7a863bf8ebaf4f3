#include "settings/documents.h"

#include "settings/module_path.h"

#include <cstring>

namespace quillop::settings {

namespace {

// GetWindowsDirectoryA's buffer.
constexpr std::uint32_t kWindowsDirectorySize = 145;

} // namespace

std::string Readme_File_Path(std::string_view module_path) {
    const std::string_view name = File_Name_Of(module_path);
    return std::string(Directory_Of(module_path)) + std::string(name.substr(0, name.find('.'))) +
           ".txt";
}

std::string Catalog_File_Path(std::string_view module_path) {
    return std::string(Directory_Of(module_path)) + "catalog.txt";
}

std::string Notepad_Command_Line(std::string_view path) {
    return "Notepad.exe " + std::string(path);
}

void View_Text_File(platform::Services& services, std::string_view path) {
    char directory[kWindowsDirectorySize] = {};
    services.shell.GetWindowsDirectoryA(directory, kWindowsDirectorySize);
    const std::string notepad =
        std::string(directory, ::strnlen(directory, kWindowsDirectorySize)) + "\\Notepad.EXE";
    if (!platform::file_exists(services.files, notepad)) {
        services.boxes.Show(platform::BoxKind::Information, "Windows Notepad could not be found.",
                            "");
        return;
    }
    services.shell.WinExec(Notepad_Command_Line(path).c_str(), platform::kSwShowNormal);
}

void View_Readme_File(platform::Services& services) {
    View_Text_File(services, Readme_File_Path(Module_Path(services.system)));
}

void View_Catalog_File(platform::Services& services, std::string_view title) {
    const std::string path = Catalog_File_Path(Module_Path(services.system));
    if (platform::file_exists(services.files, path)) {
        View_Text_File(services, path);
        return;
    }
    services.boxes.Show(platform::BoxKind::Information,
                        "Zorbel's Shareware Catalog is not in the same directory as " +
                            std::string(title) + ".  " +
                            "The required file 'catalog.txt' was included in the " +
                            "distribution ZIP file.  Please unzip this file and try again.",
                        "");
}

} // namespace quillop::settings
