#pragma once
// Starting programs and documents through the shell, with the Win32 results.

#include "platform/handles.h"

#include <cstdint>

namespace quillop::platform {

class Shell {
public:
    virtual ~Shell() = default;

    // Performs operation ("open"; nullptr: the default verb) on file (a document, a program,
    // a URL or a "mailto:" link). Returns a value greater than 32 on success, an error value
    // of 32 or less (kErrorFileNotFound, kErrorPathNotFound, kSeErrNoAssoc ...) on failure.
    virtual std::intptr_t ShellExecuteA(WindowHandle owner, const char* operation, const char* file,
                                        const char* parameters, const char* directory,
                                        int show) = 0;

    // Starts the program named first in command_line, found by the system's search for
    // executables. Returns a value greater than 31 on success, else kErrorFileNotFound,
    // kErrorPathNotFound, kErrorBadExeFormat or 0 (out of resources).
    virtual std::uint32_t WinExec(const char* command_line, unsigned show) = 0;

    // Copies the Windows directory (no trailing "\" unless it is a root) and a NUL into buffer
    // and returns its length; when size is too small, writes nothing and returns the size
    // needed, NUL included; 0 on failure.
    virtual std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) = 0;
};

// ShellExecuteA's own error values below 32.
inline constexpr std::intptr_t kSeErrAccessDenied = 5;
inline constexpr std::intptr_t kSeErrNoAssoc = 31;

} // namespace quillop::platform
