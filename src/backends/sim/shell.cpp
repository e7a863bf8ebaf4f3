#include "backends/sim/shell.h"

#include <cstring>

namespace quillop::platform::sim {

namespace {

std::string text_of(const char* s) {
    return s == nullptr ? std::string() : std::string(s);
}

// "http:", "mailto:" ...: a scheme of two or more letters (one letter is a drive).
bool is_url(const std::string& s) {
    const std::size_t colon = s.find(':');
    if (colon == std::string::npos || colon < 2) {
        return false;
    }
    for (std::size_t i = 0; i < colon; ++i) {
        const char c = s[i];
        if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'))) {
            return false;
        }
    }
    return true;
}

} // namespace

void Shell::Clear() {
    executed_.clear();
    started_.clear();
}

std::intptr_t Shell::ShellExecuteA(WindowHandle owner, const char* operation, const char* file,
                                   const char* parameters, const char* directory, int show) {
    const std::string target = text_of(file);
    executed_.push_back(
        {owner, text_of(operation), target, text_of(parameters), text_of(directory), show});
    std::intptr_t result = 42;
    if (const auto fault = faults_.Check("ShellExecuteA")) {
        result = static_cast<std::intptr_t>(*fault);
    } else if (target.empty()) {
        result = static_cast<std::intptr_t>(kErrorFileNotFound);
    } else if (!is_url(target) && !files_.Exists(target)) {
        result = static_cast<std::intptr_t>(kErrorFileNotFound);
    }
    log_.Add("ShellExecuteA(" + std::to_string(owner) + ", " + quoted(operation) + ", " +
             quoted(file) + ", " + quoted(parameters) + ", " + quoted(directory) + ", " +
             std::to_string(show) + ") -> " + std::to_string(result));
    return result;
}

std::uint32_t Shell::WinExec(const char* command_line, unsigned show) {
    const std::string line = text_of(command_line);
    started_.push_back({line, show});
    std::uint32_t result = kErrorFileNotFound;
    if (const auto fault = faults_.Check("WinExec")) {
        result = *fault;
    } else {
        // The program is the quoted first part, or else the shortest blank-separated prefix
        // that names a file; names without a directory are searched for in the system
        // directories; ".exe" is added to a name without an extension.
        std::vector<std::string> candidates;
        if (!line.empty() && line.front() == '"') {
            candidates.push_back(line.substr(1, line.find('"', 1) - 1));
        } else {
            for (std::size_t i = 0; i <= line.size(); ++i) {
                if (i == line.size() || line[i] == ' ') {
                    candidates.push_back(line.substr(0, i));
                }
            }
        }
        for (std::string name : candidates) {
            if (name.empty()) {
                continue;
            }
            const std::size_t slash = name.find_last_of("\\/");
            if (name.find('.', slash == std::string::npos ? 0 : slash) == std::string::npos) {
                name += ".exe";
            }
            const bool bare = slash == std::string::npos && name.find(':') == std::string::npos;
            const std::vector<std::string> places =
                bare ? std::vector<std::string>{windows_ + "\\system32\\" + name,
                                                windows_ + "\\" + name}
                     : std::vector<std::string>{name};
            for (const std::string& place : places) {
                if (files_.Exists(place) && !files_.Contents(place).has_value()) {
                    continue; // a directory
                }
                if (files_.Exists(place)) {
                    result = 33;
                    break;
                }
            }
            if (result == 33) {
                break;
            }
        }
    }
    log_.Add("WinExec(" + quoted(command_line) + ", " + std::to_string(show) + ") -> " +
             std::to_string(result));
    return result;
}

std::uint32_t Shell::GetWindowsDirectoryA(char* buffer, std::uint32_t size) {
    std::uint32_t result = 0;
    if (const auto fault = faults_.Check("GetWindowsDirectoryA")) {
        files_.SetLastError(*fault);
    } else if (buffer == nullptr || size <= windows_.size()) {
        result = static_cast<std::uint32_t>(windows_.size() + 1);
    } else {
        std::memcpy(buffer, windows_.c_str(), windows_.size() + 1);
        result = static_cast<std::uint32_t>(windows_.size());
    }
    log_.Add("GetWindowsDirectoryA(" + std::to_string(size) + ") -> " + std::to_string(result));
    return result;
}

} // namespace quillop::platform::sim
