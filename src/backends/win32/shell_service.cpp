// The shell over shell32 and kernel32.
#include "win32_services.h"

#include <shellapi.h>

namespace quillop::platform::win32 {

std::intptr_t Shell::ShellExecuteA(WindowHandle owner, const char* operation, const char* file,
                                   const char* parameters, const char* directory, int show) {
    const HINSTANCE result =
        ::ShellExecuteA(ToHwnd(owner), operation, file, parameters, directory, show);
    return reinterpret_cast<std::intptr_t>(result);
}

std::uint32_t Shell::WinExec(const char* command_line, unsigned show) {
    return ::WinExec(command_line, show);
}

std::uint32_t Shell::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    return ::GetWindowsDirectoryA(buffer, size);
}

} // namespace quillop::platform::win32
