#pragma once
// The shell: records every program and document it is asked to start, and finds programs in
// the sim's file system the way the system's search does.

#include "backends/sim/files.h"
#include "backends/sim/journal.h"
#include "platform/shell.h"

#include <string>
#include <vector>

namespace quillop::platform::sim {

struct ShellExecuteCall {
    WindowHandle owner = 0;
    std::string operation; // "" for nullptr
    std::string file;
    std::string parameters;
    std::string directory;
    int show = 0;
    friend bool operator==(const ShellExecuteCall&, const ShellExecuteCall&) = default;
};

struct WinExecCall {
    std::string command_line;
    unsigned show = 0;
    friend bool operator==(const WinExecCall&, const WinExecCall&) = default;
};

class Shell final : public platform::Shell {
public:
    Shell(Files& files, CallLog& log, Faults& faults) : files_(files), log_(log), faults_(faults) {}

    void SetWindowsDirectory(std::string path) { windows_ = std::move(path); }
    const std::vector<ShellExecuteCall>& Executed() const { return executed_; }
    const std::vector<WinExecCall>& Started() const { return started_; }
    void Clear();

    std::intptr_t ShellExecuteA(WindowHandle owner, const char* operation, const char* file,
                                const char* parameters, const char* directory, int show) override;
    std::uint32_t WinExec(const char* command_line, unsigned show) override;
    std::uint32_t GetWindowsDirectoryA(char* buffer, std::uint32_t size) override;

private:
    Files& files_;
    CallLog& log_;
    Faults& faults_;
    std::string windows_ = "C:\\windows";
    std::vector<ShellExecuteCall> executed_;
    std::vector<WinExecCall> started_;
};

} // namespace quillop::platform::sim
