#pragma once
// Profile files in the sim's file system, read and written by Windows' rules: names compared
// without regard to case, a key replaced in place, new keys at the end of their section, new
// sections at the end of the file, lines ended by CR LF.

#include "backends/sim/files.h"
#include "backends/sim/journal.h"
#include "platform/profile.h"

namespace quillop::platform::sim {

class Profile final : public platform::Profile {
public:
    Profile(Files& files, CallLog& log, Faults& faults)
        : files_(files), log_(log), faults_(faults) {}

    std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                           const char* default_value, char* buffer,
                                           std::uint32_t size, const char* file) override;
    bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                    const char* file) override;

private:
    Files& files_;
    CallLog& log_;
    Faults& faults_;
};

} // namespace quillop::platform::sim
