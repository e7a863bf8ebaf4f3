#pragma once
// The call log and fault switches shared by the sim's kernel, registry and shell services, so
// a test sees the calls of all of them in one order and can make any call fail.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace quillop::platform::sim {

class CallLog {
public:
    // One line per call, e.g. "RegOpenKeyExA(HKLM, \"Software\\X\", 0, 0xF003F) -> 0".
    const std::vector<std::string>& Calls() const { return calls_; }
    void Clear() { calls_.clear(); }
    void Add(std::string line) { calls_.push_back(std::move(line)); }

private:
    std::vector<std::string> calls_;
};

class Faults {
public:
    static constexpr int kAlways = -1;

    // Makes calls of `call` (the Win32 name, e.g. "RegSetValueExA") fail with error after
    // `skip` calls that go through normally, `times` times (kAlways: until cleared). A failing
    // call returns what Windows returns on failure and reports error where Windows does
    // (result code, GetLastError, nErrCode).
    void Fail(std::string call, std::uint32_t error, int skip = 0, int times = kAlways);
    void Clear() { rules_.clear(); }

    // Counts a call; the error it must fail with, if any.
    std::optional<std::uint32_t> Check(std::string_view call);

private:
    struct Rule {
        std::string call;
        std::uint32_t error;
        int skip;
        int times;
    };
    std::vector<Rule> rules_;
};

// Texts for log lines.
std::string quoted(const char* text);      // "\"text\"" or "NULL"
std::string hex_text(std::uint32_t value); // "0x1F"

} // namespace quillop::platform::sim
