#include "backends/sim/shell.h"

namespace quillop::platform::sim {

// Not built yet: calls are recorded and fail.
void Shell::Clear() {
    executed_.clear();
    started_.clear();
}

std::intptr_t Shell::ShellExecuteA(WindowHandle owner, const char* operation, const char* file,
                                   const char* parameters, const char* directory, int show) {
    auto text = [](const char* s) { return s == nullptr ? std::string() : std::string(s); };
    executed_.push_back(
        {owner, text(operation), text(file), text(parameters), text(directory), show});
    return static_cast<std::intptr_t>(kErrorFileNotFound);
}

std::uint32_t Shell::WinExec(const char* command_line, unsigned show) {
    started_.push_back({command_line == nullptr ? std::string() : command_line, show});
    return kErrorFileNotFound;
}

std::uint32_t Shell::GetWindowsDirectoryA(char*, std::uint32_t) {
    return 0;
}

} // namespace quillop::platform::sim
