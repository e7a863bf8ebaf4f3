#pragma once
// Profile (INI) files through the Win32 profile API, with its results and buffer limits.

#include <cstdint>

namespace quillop::platform {

class Profile {
public:
    virtual ~Profile() = default;

    // Copies the value of key in section of file into buffer, or default_value (nullptr reads
    // as "") when the file, the section or the key is missing. Names compare without regard to
    // case; blanks around the value and one pair of enclosing quotes are dropped. Copies at most
    // size - 1 characters and a NUL and returns the number of characters copied (size - 1 when
    // the value was cut). A nullptr key lists the section's keys, a nullptr section the file's
    // sections, each followed by a NUL, the list by a second NUL. Failures set the files
    // service's GetLastError (kErrorFileNotFound for a missing file).
    virtual std::uint32_t GetPrivateProfileStringA(const char* section, const char* key,
                                                   const char* default_value, char* buffer,
                                                   std::uint32_t size, const char* file) = 0;

    // Sets key in section of file to value: an existing key (any case) is replaced in place, a
    // new key goes at the end of its section, a missing section at the end of the file, a
    // missing file is created (its directory must exist). A nullptr value deletes the key, a
    // nullptr key the whole section. Returns false when the file can't be read or written
    // (GetLastError of the files service tells why).
    virtual bool WritePrivateProfileStringA(const char* section, const char* key, const char* value,
                                            const char* file) = 0;
};

} // namespace quillop::platform
